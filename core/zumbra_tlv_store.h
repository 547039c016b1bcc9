/* TLV stores for the host: tlv_init makes one behind an opaque handle, the
 * verbs below work on it, tlv_clean destroys it. Every function answers a
 * TLV_ code of zumbra_tlv_types.h; a NULL store answers TLV_CORRUPTED.
 * In/out lengths give the caller's buffer size and receive the bytes written;
 * a buffer that is too short answers TLV_BUFFER_TOO_SHORT and is left as it
 * was. */
#ifndef ZUMBRA_TLV_STORE_H
#define ZUMBRA_TLV_STORE_H

#include <stddef.h>
#include "zumbra_export.h"
#include "zumbra_tlv_types.h"

typedef struct TlvStore_s TlvStore_s;

ZQ_BEGIN_DECLS

/* A handle that already holds a store is overwritten (and logged), not freed. */
ZQ_API void tlv_init(TlvStore_s** store);
ZQ_API void tlv_clean(TlvStore_s** store);

/* Stores the value unless the tag is present (TLV_TAG_PRESENT). */
ZQ_API int addTag(TlvStore_s* store, TlvTag tag, const unsigned char* data, size_t length);
/* As addTag, with the characters of the text before its NUL. */
ZQ_API int addTagStr(TlvStore_s* store, TlvTag tag, const char* text);
/* Stores the value in place of the tag's first occurrence; an empty value
 * removes it. */
ZQ_API int forceAddTag(TlvStore_s* store, TlvTag tag, const unsigned char* data, size_t length);
/* As forceAddTag, but only for a tag already present (else TLV_TAG_MISSING). */
ZQ_API int replaceTag(TlvStore_s* store, TlvTag tag, const unsigned char* data, size_t length);
ZQ_API int readTag(TlvStore_s* store, TlvTag tag, unsigned char* buffer, size_t* length);
/* The value followed by a NUL: at most size - 1 characters. */
ZQ_API int readTagStr(TlvStore_s* store, TlvTag tag, char* buffer, size_t size);
/* An absent tag is success. */
ZQ_API int removeTag(TlvStore_s* store, TlvTag tag);
ZQ_API int findTag(TlvStore_s* store, TlvTag tag);
/* The whole encoded content of the store. */
ZQ_API int readBuffer(TlvStore_s* store, unsigned char* buffer, size_t* length);
ZQ_API int clearStore(TlvStore_s* store);
/* Replaces the content by a copy of the data, which is not checked. */
ZQ_API int setBuffer(TlvStore_s* store, const unsigned char* data, size_t length);
/* Adds every item of the data: without overwriting present tags, or (force)
 * replacing them. TLV_CORRUPTED when the data or the store is corrupt; the
 * items before a corrupt one have been added. */
ZQ_API int addBuffer(TlvStore_s* store, const unsigned char* data, size_t length);
ZQ_API int forceAddBuffer(TlvStore_s* store, const unsigned char* data, size_t length);

ZQ_END_DECLS

#endif

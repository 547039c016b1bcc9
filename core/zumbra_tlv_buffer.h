/* BER-TLV items with tags of one or two bytes in caller-visible memory:
 * parsing one item, finding the n-th item with a tag, and editing a buffer of
 * fixed capacity. The parsed data is never changed; errors are negative
 * results with a line on the developer log. */
#ifndef ZUMBRA_TLV_BUFFER_H
#define ZUMBRA_TLV_BUFFER_H

#include <stdint.h>
#include "zumbra_export.h"

/* One parsed item. tag: one byte, or two with the first in the high half
 * (0x9F02); 0 for a tag of three or more bytes. value points into the parsed
 * data (no copy); it is NULL in the result of a failed search. */
typedef struct TlvItem {
  uint16_t tag;
  uint16_t length;
  const uint8_t* value;
} TlvItem;

/* A buffer of back-to-back items: capacity bytes at data, length of them in
 * use. data comes from tb_alloc or tb_copy (release it with tb_free) or is the
 * caller's own memory given to tb_init (never pass that to tb_free). */
typedef struct TlvBuffer {
  uint16_t capacity;
  uint16_t length;
  uint8_t* data;
} TlvBuffer;

ZQ_BEGIN_DECLS

/* The tag's first byte: the high byte of a two-byte tag, else the tag. */
ZQ_API uint8_t tlv_tag0(uint16_t tag);
/* Skips zero padding and reads a tag: bytes taken, 0 for no item, -1 error. */
ZQ_API int tlv_tag(const uint8_t* data, int length, TlvItem* item);
/* Reads tag and length and points the item at its value: 1, 0 for no item,
 * -1 or -2 (more than two length bytes) for an error. */
ZQ_API int tlv_tlv0(const uint8_t* data, int length, TlvItem* item);
/* As tlv_tlv0, and the value must lie inside the data. */
ZQ_API int tlv_parseTLV(const uint8_t* data, int length, TlvItem* item);
/* 1 when the n-th top-level item with the tag (from 1; n <= 1 takes the
 * first) was found and copied to out; else 0 and out = {tag, 0, NULL}. */
ZQ_API int tlv_find_n(const uint8_t* data, int length, uint16_t tag, TlvItem* out, int n);
ZQ_API int tlv_find(const uint8_t* data, int length, uint16_t tag, TlvItem* out);

/* The finders over the buffer's used bytes; 0 for a NULL buffer. */
ZQ_API int tb_find(TlvBuffer* tb, uint16_t tag, TlvItem* out);
ZQ_API int tb_find_n(TlvBuffer* tb, uint16_t tag, TlvItem* out, int n);
/* 1 when the n-th item with the tag was removed, else 0. */
ZQ_API int tb_del_n(TlvBuffer* tb, uint16_t tag, int n);
ZQ_API int tb_del(TlvBuffer* tb, uint16_t tag);
/* Adds the item; mode for a tag already present: 0 refuse (-1), 1 overwrite
 * (in place when the length is the same, else the old item is removed and
 * the new one appended), 2 keep the old item (0), 3 append regardless.
 * 1 added or overwritten, item->value then points into the buffer (a NULL
 * value reserves zeroed room); -1 refused, nothing changed (also when the
 * item would be appended behind a corrupt item, where no search reaches). */
ZQ_API int tb_add(TlvBuffer* tb, TlvItem* item, int mode);
/* tb_add of every item of the data: 0 at its end, negative on the first
 * error; the items added before stay. */
ZQ_API int tb_addbuf(TlvBuffer* tb, const uint8_t* data, int length, int mode);
ZQ_API void tb_init(TlvBuffer* tb, uint8_t* data, uint16_t capacity);
ZQ_API void tb_alloc(TlvBuffer* tb, uint16_t capacity);
/* Copies the used bytes (allocating at least 1024 bytes for a destination
 * without data): their count, or -1 when they do not fit. */
ZQ_API int tb_copy(TlvBuffer* dst, const TlvBuffer* src);
/* Wipes and frees the bytes; the record becomes all zero. */
ZQ_API void tb_free(TlvBuffer* tb);
/* 1 when the first item with the old tag now carries the new one; 0 when the
 * old tag is absent; -1 when the new tag is refused (nothing changed). */
ZQ_API int tb_rename(TlvBuffer* tb, uint16_t oldTag, uint16_t newTag);

ZQ_END_DECLS

#endif

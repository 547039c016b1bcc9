/* Tag numbers and status codes shared by the TLV store and its users. */
#ifndef ZUMBRA_TLV_TYPES_H
#define ZUMBRA_TLV_TYPES_H

#include <stdint.h>

/* A tag number: the tag's BER bytes read as a big-endian number (0x9C,
 * 0x5F2A, 0x9FD401). Stores write it as those bytes without leading zeros. */
typedef uint32_t TlvTag;

/* Results of the store's operations and of the TLV store functions. */
enum {
  TLV_OK = 0,              /* done; for a search: the tag is present */
  TLV_EMPTY_VALUE = 1,     /* the value was empty; nothing was stored */
  TLV_TAG_MISSING = 2,     /* the tag is not in the store */
  TLV_TAG_PRESENT = 3,     /* the tag is already there and was kept */
  TLV_CORRUPTED = 4,       /* corrupt data, an unusable tag, or no store */
  TLV_BUFFER_TOO_SHORT = 5 /* the caller's buffer cannot take the data */
};

#endif

// The TLV buffer functions: a small C module over caller-visible memory.
// The buffer record is the caller's, so every length in it is checked against
// the capacity and every parsed length against the bytes really given.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/ExportGuard.h"
#include "core/zumbra_log.h"
#include "core/zumbra_tlv_buffer.h"

namespace {

constexpr uint8_t kLongTagMask = 0x1F;
constexpr uint8_t kMoreTagBytes = 0x80;
constexpr uint8_t kLongLength = 0x80;
constexpr uint16_t kMinCopyCapacity = 1024;

// Reads padding and tag. Returns the bytes taken (padding and tag), 0 for no
// item, -1 for an error; *tagStart receives the offset of the first tag byte.
int readPaddingAndTag(const uint8_t* data, int length, TlvItem* item, int* tagStart) {
  if (length < 0) return -1;
  if (length == 0) return 0;
  if (data == nullptr) return -1;
  int i = 0;
  while (i < length && data[i] == 0) ++i;
  if (i == length) return 0;
  *tagStart = i;
  uint32_t tag = data[i];
  int tagBytes = 1;
  if ((data[i] & kLongTagMask) == kLongTagMask) {
    do {
      ++i;
      if (i >= length) {
        logDevError("tag=%x short buf, i=%d >= rlen=%d\n", tag, i, length);
        return -1;
      }
      tag = (tag << 8) | data[i];
      ++tagBytes;
    } while (data[i] & kMoreTagBytes);
  }
  ++i;
  if (tagBytes > 2) {
    // Only one- and two-byte tags fit the record; a longer one is read over
    // so that the items after it can still be reached.
    logDevError("tag=%02x.. bytes %d\n", static_cast<unsigned>(data[*tagStart] << 8 | data[*tagStart + 1]),
                tagBytes);
    item->tag = 0;
  } else {
    item->tag = static_cast<uint16_t>(tag);
  }
  return i;
}

// Tag and length; the value pointer is set but not checked against the data.
int readTagAndLength(const uint8_t* data, int length, TlvItem* item, int* tagStart) {
  int taken = readPaddingAndTag(data, length, item, tagStart);
  if (taken <= 0) return taken;
  const unsigned tag = item->tag;
  int remaining = length - taken;
  if (remaining <= 0) {
    logDevError("tag=%x short buf, rlen=%d\n", tag, remaining);
    return -1;
  }
  const uint8_t first = data[taken];
  int i = taken + 1;
  remaining = length - i;
  unsigned valueLength = first;
  if (first >= kLongLength) {
    const int n = first & 0x7F;
    if (remaining < n) {
      logDevError("tag=%x short buf, i=%d > rlen=%d\n", tag, n, remaining);
      return -1;
    }
    if (n > 2) {
      logDevError("tag=%x length bytes %d\n", tag, n);
      return -2;
    }
    valueLength = 0;
    for (int k = 0; k < n; ++k) valueLength = (valueLength << 8) | data[i++];
  }
  item->length = static_cast<uint16_t>(valueLength);
  item->value = data + i;
  return 1;
}

int parseItem(const uint8_t* data, int length, TlvItem* item, int* tagStart) {
  const int result = readTagAndLength(data, length, item, tagStart);
  if (result != 1) return result;
  const int remaining = length - static_cast<int>(item->value - data);
  if (remaining < item->length) {
    logDevError("tag=%x len=%d > rlen=%d\n", static_cast<unsigned>(item->tag), item->length, remaining);
    return -1;
  }
  return 1;
}

// Offset just past the item's value, relative to data.
int itemEnd(const uint8_t* data, const TlvItem& item) {
  return static_cast<int>(item.value - data) + item.length;
}

// The n-th top-level item with the tag; *start receives the offset of its
// first tag byte. Leaves *found untouched when nothing is found.
bool findNth(const uint8_t* data, int length, uint16_t tag, int n, TlvItem* found, int* start) {
  if (tag == 0 || data == nullptr) return false;
  int position = 0;
  int count = 0;
  const int wanted = std::max(n, 1);
  for (;;) {
    TlvItem item{};
    int tagStart = 0;
    if (parseItem(data + position, length - position, &item, &tagStart) != 1) return false;
    if (item.tag == tag && ++count == wanted) {
      *found = item;
      *start = position + tagStart;
      return true;
    }
    position += itemEnd(data + position, item);
  }
}

// True when the bytes hold nothing but whole items and padding.
bool parsesToTheEnd(const uint8_t* data, int length) {
  int position = 0;
  while (position < length) {
    TlvItem item{};
    int tagStart = 0;
    const int parsed = parseItem(data + position, length - position, &item, &tagStart);
    if (parsed == 0) return true;
    if (parsed < 0) return false;
    position += itemEnd(data + position, item);
  }
  return true;
}

// Bytes in use, never more than the capacity says are there.
int usedBytes(const TlvBuffer* tb) {
  if (tb->data == nullptr) return 0;
  return std::min(tb->length, tb->capacity);
}

int capacityOf(const TlvBuffer* tb) { return tb->data == nullptr ? 0 : tb->capacity; }

// Whether the length bytes from p share any byte with the buffer's memory. A
// source that starts before the buffer and runs into it moves as much as
// one that starts inside it.
bool overlaps(const TlvBuffer* tb, const uint8_t* p, size_t length) {
  if (tb->data == nullptr || p == nullptr || length == 0) return false;
  return std::less<const uint8_t*>()(p, tb->data + tb->capacity) && std::less<const uint8_t*>()(tb->data, p + length);
}

// A tag that reads back as itself: a one-byte tag must not announce further
// tag bytes, a two-byte tag must announce exactly one more.
bool isWritableTag(uint16_t tag) {
  if (tag == 0) return false;
  if (tag < 256) return (tag & kLongTagMask) != kLongTagMask;
  const uint8_t high = static_cast<uint8_t>(tag >> 8);
  const uint8_t low = static_cast<uint8_t>(tag & 0xFF);
  return (high & kLongTagMask) == kLongTagMask && (low & kMoreTagBytes) == 0;
}

int encodedSize(uint16_t tag, uint16_t length) {
  const int tagBytes = tag < 256 ? 1 : 2;
  const int lengthBytes = length <= 127 ? 1 : (length <= 255 ? 2 : 3);
  return tagBytes + lengthBytes + length;
}

void removeRange(TlvBuffer* tb, int start, int end) {
  const int used = usedBytes(tb);
  std::memmove(tb->data + start, tb->data + end, static_cast<size_t>(used - end));
  tb->length = static_cast<uint16_t>(used - (end - start));
}

void writeValue(uint8_t* destination, const uint8_t* source, uint16_t length) {
  if (source != nullptr) {
    std::memmove(destination, source, length);
  } else {
    std::memset(destination, 0, length);
  }
}

void wipe(uint8_t* data, size_t length) {
  // Through a volatile pointer, so the wipe before free is not optimised away.
  volatile uint8_t* p = data;
  for (size_t i = 0; i < length; ++i) p[i] = 0;
}

}  // namespace

uint8_t tlv_tag0(uint16_t tag) { return static_cast<uint8_t>(tag > 255 ? tag >> 8 : tag); }

int tlv_tag(const uint8_t* data, int length, TlvItem* item) {
  TlvItem scratch{};
  int tagStart = 0;
  return readPaddingAndTag(data, length, item != nullptr ? item : &scratch, &tagStart);
}

int tlv_tlv0(const uint8_t* data, int length, TlvItem* item) {
  TlvItem scratch{};
  int tagStart = 0;
  return readTagAndLength(data, length, item != nullptr ? item : &scratch, &tagStart);
}

int tlv_parseTLV(const uint8_t* data, int length, TlvItem* item) {
  TlvItem scratch{};
  int tagStart = 0;
  return parseItem(data, length, item != nullptr ? item : &scratch, &tagStart);
}

int tlv_find_n(const uint8_t* data, int length, uint16_t tag, TlvItem* out, int n) {
  if (tag == 0 || data == nullptr) return 0;
  TlvItem found{};
  int start = 0;
  if (findNth(data, length, tag, n, &found, &start)) {
    if (out != nullptr) *out = found;
    return 1;
  }
  if (out != nullptr) *out = TlvItem{tag, 0, nullptr};
  return 0;
}

int tlv_find(const uint8_t* data, int length, uint16_t tag, TlvItem* out) {
  return tlv_find_n(data, length, tag, out, 1);
}

int tb_find(TlvBuffer* tb, uint16_t tag, TlvItem* out) {
  if (tb == nullptr) return 0;
  return tlv_find(tb->data, usedBytes(tb), tag, out);
}

int tb_find_n(TlvBuffer* tb, uint16_t tag, TlvItem* out, int n) {
  if (tb == nullptr) return 0;
  return tlv_find_n(tb->data, usedBytes(tb), tag, out, n);
}

int tb_del_n(TlvBuffer* tb, uint16_t tag, int n) {
  if (tb == nullptr) return 0;
  TlvItem found{};
  int start = 0;
  if (!findNth(tb->data, usedBytes(tb), tag, n, &found, &start)) return 0;
  removeRange(tb, start, itemEnd(tb->data, found));
  return 1;
}

int tb_del(TlvBuffer* tb, uint16_t tag) { return tb_del_n(tb, tag, 1); }

static int addItem(TlvBuffer* tb, TlvItem* item, int mode) {
  if (tb == nullptr || item == nullptr || item->length == 0 || !isWritableTag(item->tag)) return -1;
  if (mode < 0 || mode > 3) return -1;
  const uint16_t tag = item->tag;
  const uint16_t length = item->length;
  const int capacity = capacityOf(tb);
  int used = usedBytes(tb);
  const int encoded = encodedSize(tag, length);

  // The value may lie in this very buffer (an item found in it); removing an
  // item moves those bytes, so work from a copy.
  std::vector<uint8_t> ownCopy;
  const uint8_t* source = item->value;
  if (overlaps(tb, source, length)) {
    ownCopy.assign(source, source + length);
    source = ownCopy.data();
  }

  TlvItem existing{};
  int existingStart = 0;
  const bool present = mode != 3 && findNth(tb->data, used, tag, 1, &existing, &existingStart);
  if (present) {
    if (mode == 0) {
      logDevError("tag=%02x duplicated", static_cast<unsigned>(tag));
      return -1;
    }
    if (mode == 2) return 0;
    uint8_t* value = tb->data + (existing.value - tb->data);
    if (existing.length == length) {
      writeValue(value, source, length);
      item->value = value;
      return 1;
    }
  }

  // Every path from here appends. Behind a corrupt item the new one could
  // never be found again (the search stops at the corruption, so it also
  // took the tag for absent): refuse instead of reporting a lost item as
  // added.
  if (!parsesToTheEnd(tb->data, used)) {
    logDevError("tag=%02x not added, buffer corrupt before l=%d", static_cast<unsigned>(tag), used);
    return -1;
  }

  if (present) {
    // A new length: the new item must fit once the old one is gone, else the
    // old one stays.
    const int oldSize = itemEnd(tb->data, existing) - existingStart;
    if (used - oldSize + encoded > capacity) {
      logDevError("tag=%02x short buf, l=%d+%d >= len=%d", static_cast<unsigned>(tag), used - oldSize, length,
                  capacity);
      return -1;
    }
    removeRange(tb, existingStart, existingStart + oldSize);
    used = usedBytes(tb);
  }

  if (used + encoded > capacity) {
    logDevError("tag=%02x short buf, l=%d+%d >= len=%d", static_cast<unsigned>(tag), used, length, capacity);
    return -1;
  }
  uint8_t* out = tb->data + used;
  if (tag > 255) *out++ = static_cast<uint8_t>(tag >> 8);
  *out++ = static_cast<uint8_t>(tag & 0xFF);
  if (length > 255) {
    *out++ = 0x82;
    *out++ = static_cast<uint8_t>(length >> 8);
    *out++ = static_cast<uint8_t>(length & 0xFF);
  } else if (length > 127) {
    *out++ = 0x81;
    *out++ = static_cast<uint8_t>(length);
  } else {
    *out++ = static_cast<uint8_t>(length);
  }
  writeValue(out, source, length);
  item->value = out;
  tb->length = static_cast<uint16_t>(used + encoded);
  return 1;
}

static int addItems(TlvBuffer* tb, const uint8_t* data, int length, int mode) {
  if (tb == nullptr) return -1;
  // Data taken from this same buffer would move under the parser.
  std::vector<uint8_t> ownCopy;
  if (length > 0 && overlaps(tb, data, static_cast<size_t>(length))) {
    ownCopy.assign(data, data + length);
    data = ownCopy.data();
  }
  int position = 0;
  for (;;) {
    TlvItem item{};
    const int parsed = tlv_parseTLV(data + position, length - position, &item);
    if (parsed <= 0) return parsed;
    position += itemEnd(data + position, item);
    if (tb_add(tb, &item, mode) < 0) return -1;
  }
}

void tb_init(TlvBuffer* tb, uint8_t* data, uint16_t capacity) {
  if (tb == nullptr) return;
  tb->length = 0;
  tb->data = data;
  // Without memory there is no room, whatever capacity was claimed.
  tb->capacity = data != nullptr ? capacity : 0;
  if (data == nullptr) logDevError("tb_alloc=NULL (no mem!!!)");
}

void tb_alloc(TlvBuffer* tb, uint16_t capacity) {
  if (tb == nullptr) return;
  tb->length = 0;
  tb->data = static_cast<uint8_t*>(std::malloc(capacity));
  tb->capacity = tb->data != nullptr ? capacity : 0;
}

int tb_copy(TlvBuffer* dst, const TlvBuffer* src) {
  if (dst == nullptr || src == nullptr) return -1;
  if (dst->data == nullptr) tb_alloc(dst, std::max(src->capacity, kMinCopyCapacity));
  const int used = usedBytes(src);
  if (used > capacityOf(dst)) return -1;
  if (used > 0) std::memmove(dst->data, src->data, static_cast<size_t>(used));
  dst->length = static_cast<uint16_t>(used);
  return used;
}

void tb_free(TlvBuffer* tb) {
  if (tb == nullptr) return;
  if (tb->data != nullptr) {
    wipe(tb->data, tb->capacity);
    std::free(tb->data);
  }
  tb->capacity = 0;
  tb->length = 0;
  tb->data = nullptr;
}

static int renameItem(TlvBuffer* tb, uint16_t oldTag, uint16_t newTag) {
  TlvItem found{};
  if (!tb_find(tb, oldTag, &found)) {
    logDevError("Tag %04X doesn't exists", static_cast<unsigned>(oldTag));
    return 0;
  }
  if (oldTag == newTag) return 1;
  // The value is copied out and the old bytes kept, so that a refused new tag
  // leaves the buffer exactly as it was.
  const std::vector<uint8_t> value(found.value, found.value + found.length);
  const std::vector<uint8_t> before(tb->data, tb->data + usedBytes(tb));
  tb_del(tb, oldTag);
  TlvItem renamed{newTag, found.length, value.data()};
  if (tb_add(tb, &renamed, 1) != 1) {
    std::memcpy(tb->data, before.data(), before.size());
    tb->length = static_cast<uint16_t>(before.size());
    return -1;
  }
  return 1;
}

// The functions above that copy into vectors, and so may run out of memory,
// answer -1 for it instead of throwing to the host; the others allocate
// nothing and call nothing that throws.
int tb_add(TlvBuffer* tb, TlvItem* item, int mode) {
  return zq::app::utils::guardExport(__func__, -1, [&] { return addItem(tb, item, mode); });
}

int tb_addbuf(TlvBuffer* tb, const uint8_t* data, int length, int mode) {
  return zq::app::utils::guardExport(__func__, -1, [&] { return addItems(tb, data, length, mode); });
}

int tb_rename(TlvBuffer* tb, uint16_t oldTag, uint16_t newTag) {
  return zq::app::utils::guardExport(__func__, -1, [&] { return renameItem(tb, oldTag, newTag); });
}

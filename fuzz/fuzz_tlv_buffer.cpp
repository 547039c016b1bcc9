// The BER-TLV functions over caller memory: parsing, finding the n-th item,
// and editing a buffer of fixed capacity filled from the bytes.
#include <cstring>

#include "core/zumbra_tlv_buffer.h"
#include "fuzz/FuzzSupport.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// A found item lies inside the data it was found in.
void checkInside(const TlvItem& item, const uint8_t* data, int length) {
  if (item.value == nullptr) return;
  check(item.value >= data && item.value + item.length <= data + length);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Input in(data, size);
  const uint16_t tag = static_cast<uint16_t>(in.byte() << 8 | in.byte());
  const uint16_t other = static_cast<uint16_t>(in.byte() << 8 | in.byte());
  const int n = in.byte() % 5;
  const int mode = in.byte() % 4;
  const uint16_t capacity = static_cast<uint16_t>(in.byte() * 4);
  const zq::fuzz::Bytes bytes = in.rest();
  const int length = static_cast<int>(bytes.size());
  const uint8_t* p = bytes.data();

  TlvItem item{};
  tlv_tag(p, length, &item);
  if (tlv_tlv0(p, length, &item) == 1) check(item.value >= p);
  if (tlv_parseTLV(p, length, &item) == 1) checkInside(item, p, length);
  // Every item in turn, as the walkers of the library do.
  for (int position = 0; position < length;) {
    TlvItem walked{};
    if (tlv_parseTLV(p + position, length - position, &walked) != 1) break;
    checkInside(walked, p + position, length - position);
    const int next = static_cast<int>(walked.value - p) + walked.length;
    check(next > position);
    position = next;
  }
  TlvItem found{};
  if (tlv_find_n(p, length, tag, &found, n)) checkInside(found, p, length);
  if (tlv_find(p, length, other, &found)) checkInside(found, p, length);

  // A buffer of the caller's memory, with guard bytes behind its capacity.
  std::vector<uint8_t> memory(capacity + 16u, 0xA5);
  TlvBuffer tb;
  tb_init(&tb, memory.data(), capacity);
  tb_addbuf(&tb, p, length, mode);
  check(tb.length <= tb.capacity);
  if (tb_find_n(&tb, tag, &found, n)) checkInside(found, tb.data, tb.length);
  tb_rename(&tb, tag, other);
  TlvItem added{other, static_cast<uint16_t>(length % 40), p};
  tb_add(&tb, &added, mode);
  check(tb.length <= tb.capacity);
  tb_del_n(&tb, other, n);
  tb_del(&tb, tag);
  check(tb.length <= tb.capacity);
  for (size_t i = capacity; i < memory.size(); ++i) check(memory[i] == 0xA5);

  TlvBuffer copy{};
  if (tb_copy(&copy, &tb) >= 0) check(copy.length == tb.length);
  tb_free(&copy);
  TlvBuffer owned;
  tb_alloc(&owned, capacity);
  tb_addbuf(&owned, p, length, 3);
  tb_free(&owned);
  return 0;
}

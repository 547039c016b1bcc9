// The host's TLV store functions over bytes the host hands in: set, add and
// force-add whole buffers, then read, replace and remove single tags.
#include <cstring>

#include "core/zumbra_tlv_store.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Input in(data, size);
  const TlvTag tag = static_cast<TlvTag>(in.byte() << 16 | in.byte() << 8 | in.byte());
  const size_t room = in.byte();
  const zq::fuzz::Bytes first = in.until(0xFF);
  const zq::fuzz::Bytes second = in.rest();

  TlvStore_s* store = nullptr;
  tlv_init(&store);
  addBuffer(store, first.data(), first.size());
  forceAddBuffer(store, second.data(), second.size());
  std::vector<unsigned char> buffer(room + 1, 0);
  size_t length = room;
  readTag(store, tag, buffer.data(), &length);
  if (length > room) __builtin_trap();
  std::vector<char> text(room + 1, 0);
  readTagStr(store, tag, text.data(), text.size());
  if (text.back() != 0) __builtin_trap();
  findTag(store, tag);
  replaceTag(store, tag, first.data(), first.size());
  addTag(store, tag, second.data(), second.size());
  removeTag(store, tag);

  setBuffer(store, first.data(), first.size());
  addTag(store, tag, second.data(), second.size());
  forceAddTag(store, tag, second.data(), second.size());
  length = room;
  readTag(store, tag, buffer.data(), &length);
  length = room;
  readBuffer(store, buffer.data(), &length);
  if (length > room) __builtin_trap();
  addBuffer(store, second.data(), second.size());
  clearStore(store);
  tlv_clean(&store);
  return 0;
}

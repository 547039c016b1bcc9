// The TLV store over bytes it did not write: the terminal's raw TLV data, a
// store buffer taken as it is, and the walkers, finds and merges over it.
#include "core/TlvCtx.h"
#include "fuzz/FuzzSupport.h"

using namespace zq::app::tlv;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Input in(data, size);
  const TlvTag tag = static_cast<TlvTag>(in.byte() << 16 | in.byte() << 8 | in.byte());
  const zq::fuzz::Bytes first = in.until(0xFF);
  const zq::fuzz::Bytes second = in.rest();

  TlvCtx raw(first);
  TlvBytes value;
  raw.getTagValue(tag, value);
  raw.isTagPresent(tag);
  raw.dbgDump();
  TlvCtx parsed;
  parsed.parseTLVBuffer(second.data(), second.size());
  parsed.parseTLVBuffer(first.data(), first.size());
  parsed.merge(raw);
  parsed.mergeWithOverwrite(TlvCtx(second));
  parsed.addTag(tag, second);
  parsed.updateTag(tag, first);
  parsed.replaceTag(tag, second);
  parsed.removeTag(tag);
  raw.updateTag(tag, second);
  raw.removeTag(tag);

  TlvTagFinder finder(first);
  TlvIterator found;
  finder.isTagPresent(tag, found);
  finder.isTagPresentInSoundBuffer(tag, found);
  TlvTagGetter getter(second);
  getter.getTagValue(tag, value);

  TlvBytes out;
  parsed.getRawData(out);
  size_t length = out.size();
  parsed.getRawData(out.data(), length);
  return 0;
}

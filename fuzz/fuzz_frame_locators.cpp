// Every frame locator over a ring buffer whose bytes may wrap around its end:
// what a locator returns must be the end, npos or a buffered byte.
#include <cstdlib>

#include "fuzz/FuzzSupport.h"
#include "link/CircularBuffer.h"
#include "link/FrameLocator.h"
#include "link/StxEtxLinkLayer.h"

using namespace zq::app::link;

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

void locate(const FrameLocator& locator, const CircularBuffer& buffer) {
  CircularBufferIterator begin = buffer.begin();
  const CircularBufferIterator end = buffer.end();
  const CircularBufferIterator start = locator.locateFrameStart(begin, end);
  if (start == end) return;
  check(start.checkValidity() && start == begin);
  const CircularBufferIterator last = locator.locateFrameTermination(begin, end);
  if (last == end || last == CircularBufferIterator::npos) return;
  check(last.checkValidity() && last - start >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Input in(data, size);
  // Where the ring's head stands, then the locator lists a layer may use.
  const size_t offset = in.byte();
  const zq::fuzz::Bytes controls = in.piece();
  const zq::fuzz::Bytes ignored = in.piece();
  const zq::fuzz::Bytes bytes = in.rest();

  CircularBuffer buffer(bytes.size() + 8);
  const std::vector<uint8_t> filler(offset % (bytes.size() + 8), 0xEE);
  check(buffer.write(filler));
  check(buffer.ignore(filler.size()) == filler.size());
  check(buffer.write(bytes.data(), bytes.size()));

  StxEtxLinkLayer acked;
  StxEtxLrcNoAckLinkLayer noAck;
  const ControlCharacterFrameLocator custom(controls, ignored);
  const EotFrameLocator customEot(ignored);
  const FrameLocator* locators[] = {
      &acked.getFrameLocator(), &acked.getControlCharacterLocator(), &acked.getEotLocator(),
      &noAck.getControlCharacterLocator(), &custom, &customEot};
  for (const FrameLocator* locator : locators) locate(*locator, buffer);
  return 0;
}

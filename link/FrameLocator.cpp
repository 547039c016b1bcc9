#include "link/FrameLocator.h"

#include <algorithm>

namespace zq::app::link {

namespace {

// Copies at most max bytes of source, up to its first zero byte, into a
// zero-ended list of max + 1 bytes.
void fillZeroEndedList(uint8_t* list, size_t max, const std::vector<uint8_t>& source) {
  std::fill(list, list + max + 1, 0);
  const size_t count = std::min(max, source.size());
  for (size_t i = 0; i < count && source[i] != 0; ++i) list[i] = source[i];
}

// The zero that ends the list is never a member: a zero byte on the line is data.
bool inZeroEndedList(const uint8_t* list, uint8_t byte) {
  for (; *list != 0; ++list) {
    if (*list == byte) return true;
  }
  return false;
}

}  // namespace

FrameLocatorWithIgnoring::FrameLocatorWithIgnoring(const std::vector<uint8_t>& ignored) {
  fillZeroEndedList(ignoredBytes, kMaxIgnored, ignored);
}

bool FrameLocatorWithIgnoring::shouldByteBeIgnored(const CircularBufferIterator& position) const {
  return inZeroEndedList(ignoredBytes, *position);
}

CircularBufferIterator FrameLocatorWithIgnoring::passThroughIgnored(CircularBufferIterator begin,
                                                                    CircularBufferIterator end) const {
  while (begin != end && shouldByteBeIgnored(begin)) ++begin;
  return begin;
}

ControlCharacterFrameLocator::ControlCharacterFrameLocator(const std::vector<uint8_t>& controls,
                                                           const std::vector<uint8_t>& ignored)
    : FrameLocatorWithIgnoring(ignored) {
  fillZeroEndedList(controlCharacters, kMaxControls, controls);
}

bool ControlCharacterFrameLocator::isControlChar(const CircularBufferIterator& position) const {
  return inZeroEndedList(controlCharacters, *position);
}

bool ControlCharacterFrameLocator::allowEmptyFrame() const { return controlCharacters[0] == 0; }

CircularBufferIterator ControlCharacterFrameLocator::locateFrameStart(CircularBufferIterator& begin,
                                                                      CircularBufferIterator end) const {
  begin = passThroughIgnored(begin, end);
  if (begin == end) return end;
  if (allowEmptyFrame() || isControlChar(begin)) return begin;
  return end;
}

CircularBufferIterator ControlCharacterFrameLocator::locateFrameTermination(CircularBufferIterator start,
                                                                            CircularBufferIterator) const {
  if (allowEmptyFrame()) return CircularBufferIterator::npos;
  return start;
}

EotFrameLocator::EotFrameLocator(const std::vector<uint8_t>& ignored) : FrameLocatorWithIgnoring(ignored) {}

CircularBufferIterator EotFrameLocator::locateFrameStart(CircularBufferIterator& begin,
                                                         CircularBufferIterator end) const {
  begin = passThroughIgnored(begin, end);
  if (begin == end || *begin != control::EOT) return end;
  return begin;
}

CircularBufferIterator EotFrameLocator::locateFrameTermination(CircularBufferIterator start,
                                                               CircularBufferIterator) const {
  return start;
}

const StxEtxLrcFrameLocator& StxEtxLrcFrameLocator::getInstance() {
  // Left alive at exit, as every process-wide object of the library is.
  static const StxEtxLrcFrameLocator& instance = *new StxEtxLrcFrameLocator();
  return instance;
}

CircularBufferIterator StxEtxLrcFrameLocator::locateFrameStart(CircularBufferIterator& begin,
                                                               CircularBufferIterator end) const {
  while (begin != end && *begin != control::STX) ++begin;
  return begin;
}

CircularBufferIterator StxEtxLrcFrameLocator::locateFrameTermination(CircularBufferIterator start,
                                                                     CircularBufferIterator end) const {
  CircularBufferIterator position = start;
  while (position != end && *position != control::ETX) ++position;
  if (position == end) return end;
  // The LRC byte follows the ETX; end while it has not arrived.
  return ++position;
}

}  // namespace zq::app::link

// Frame locators: they find a frame in the received bytes without copying
// them. One recognises data frames (STX .. ETX LRC), one the short reply after
// a send, one a pending end of transmission.
#pragma once

#include <cstdint>
#include <vector>

#include "link/CircularBuffer.h"

namespace zq::app::link {

// Control bytes of the terminal link.
namespace control {
constexpr uint8_t STX = 0x02;
constexpr uint8_t ETX = 0x03;
constexpr uint8_t EOT = 0x04;
constexpr uint8_t ACK = 0x06;
constexpr uint8_t NAK = 0x15;
}  // namespace control

class FrameLocator {
 public:
  virtual ~FrameLocator() = default;

  // The frame's first byte, or end when the buffer holds no frame start.
  // When a start is found, begin is left on it; begin may move in any case.
  virtual CircularBufferIterator locateFrameStart(CircularBufferIterator& begin,
                                                  CircularBufferIterator end) const = 0;
  // The frame's last byte; end while the frame is incomplete; npos when this
  // locator never forms a frame.
  virtual CircularBufferIterator locateFrameTermination(CircularBufferIterator start,
                                                        CircularBufferIterator end) const = 0;
  // Whether a read that finds no frame counts as done, with no bytes.
  virtual bool allowEmptyFrame() const = 0;
};

class FrameLocatorWithIgnoring : public FrameLocator {
 public:
  static constexpr size_t kMaxIgnored = 3;

  // Takes the first kMaxIgnored bytes of ignored; a zero byte ends the list.
  explicit FrameLocatorWithIgnoring(const std::vector<uint8_t>& ignored);

  bool shouldByteBeIgnored(const CircularBufferIterator& position) const;
  // The first position from begin that is end or holds a byte not ignored.
  CircularBufferIterator passThroughIgnored(CircularBufferIterator begin, CircularBufferIterator end) const;

 private:
  uint8_t ignoredBytes[kMaxIgnored + 1];
};

// A one-byte control reply (ACK or NAK) after any ignored bytes. Without any
// control bytes it never waits: every look finds an empty reply.
class ControlCharacterFrameLocator : public FrameLocatorWithIgnoring {
 public:
  static constexpr size_t kMaxControls = 9;

  ControlCharacterFrameLocator(const std::vector<uint8_t>& controls, const std::vector<uint8_t>& ignored);

  CircularBufferIterator locateFrameStart(CircularBufferIterator& begin,
                                          CircularBufferIterator end) const override;
  CircularBufferIterator locateFrameTermination(CircularBufferIterator start,
                                                CircularBufferIterator end) const override;
  bool allowEmptyFrame() const override;

  bool isControlChar(const CircularBufferIterator& position) const;

 private:
  uint8_t controlCharacters[kMaxControls + 1];
};

// An EOT at the head of the buffer, taken as a one-byte frame.
class EotFrameLocator : public FrameLocatorWithIgnoring {
 public:
  explicit EotFrameLocator(const std::vector<uint8_t>& ignored);

  CircularBufferIterator locateFrameStart(CircularBufferIterator& begin,
                                          CircularBufferIterator end) const override;
  CircularBufferIterator locateFrameTermination(CircularBufferIterator start,
                                                CircularBufferIterator end) const override;
  bool allowEmptyFrame() const override { return false; }
};

// STX, message, ETX, LRC. Bytes before the STX are noise.
class StxEtxLrcFrameLocator : public FrameLocator {
 public:
  static const StxEtxLrcFrameLocator& getInstance();

  CircularBufferIterator locateFrameStart(CircularBufferIterator& begin,
                                          CircularBufferIterator end) const override;
  CircularBufferIterator locateFrameTermination(CircularBufferIterator start,
                                                CircularBufferIterator end) const override;
  bool allowEmptyFrame() const override { return false; }
};

}  // namespace zq::app::link

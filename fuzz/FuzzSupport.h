// Shared by the fuzz targets: the loggers started once (so the formatting of
// every logged field is exercised too), pauses that return at once, a
// reader that splits the fuzzer's bytes into the pieces a target needs, and
// the terminal's frames given their correct LRC.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/Logger.h"
#include "core/Sleep.h"

namespace zq::fuzz {

using Bytes = std::vector<unsigned char>;

inline void noPause(unsigned) {}

// Called from LLVMFuzzerInitialize. The log4crc comes from LOG4C_RCPATH
// (scripts/fuzz.sh points it at the tests' one); without one the loggers
// stay silent, which is fine too.
inline void startLibrary() {
  app::utils::registerCustomSleep(noPause);
  app::logging::initializeLoggers();
}

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data(data), size(size), position(0) {}

  bool empty() const { return position >= size; }
  uint8_t byte() { return empty() ? 0 : data[position++]; }
  // The next piece: a length byte, then up to that many bytes.
  Bytes piece() {
    const size_t wanted = byte();
    return take(wanted);
  }
  // Everything not read yet.
  Bytes rest() { return take(size - position); }
  // Every piece not read yet.
  std::vector<Bytes> pieces() {
    std::vector<Bytes> out;
    while (!empty()) out.push_back(piece());
    return out;
  }
  // Pieces up to the next byte equal to separator (dropped) or the end.
  Bytes until(uint8_t separator) {
    size_t end = position;
    while (end < size && data[end] != separator) ++end;
    Bytes out(data + position, data + end);
    position = end < size ? end + 1 : end;
    return out;
  }

 private:
  Bytes take(size_t wanted) {
    const size_t count = wanted < size - position ? wanted : size - position;
    Bytes out(data + position, data + position + count);
    position += count;
    return out;
  }

  const uint8_t* data;
  size_t size;
  size_t position;
};

// The terminal's stream, in the pieces it arrives in, with the byte after
// each frame's ETX set to the frame's LRC. The link drops a frame whose LRC
// is wrong, and random bytes would almost never get past that check to the
// parsers behind it. Frames are cut as the link cuts them: from an STX to
// the next ETX, then the check byte; the LRC is the XOR of the bytes after
// the STX up to and with the ETX. Frame i (from 0) keeps the check byte the
// input gave when bit i of keepAsGiven is set, so damaged frames still come.
inline std::vector<Bytes> withCheckedFrames(std::vector<Bytes> pieces, uint32_t keepAsGiven = 0) {
  enum { BEFORE_STX, IN_FRAME, CHECK_BYTE } state = BEFORE_STX;
  uint8_t lrc = 0;
  unsigned frame = 0;
  for (Bytes& piece : pieces) {
    for (unsigned char& byte : piece) {
      switch (state) {
        case BEFORE_STX:
          if (byte == 0x02) {
            lrc = 0;
            state = IN_FRAME;
          }
          break;
        case IN_FRAME:
          lrc ^= byte;
          if (byte == 0x03) state = CHECK_BYTE;
          break;
        case CHECK_BYTE:
          if (frame >= 32 || !((keepAsGiven >> frame) & 1u)) byte = lrc;
          ++frame;
          state = BEFORE_STX;
          break;
      }
    }
  }
  return pieces;
}

}  // namespace zq::fuzz

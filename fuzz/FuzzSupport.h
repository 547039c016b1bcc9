// Shared by the fuzz targets: the loggers started once (so the formatting of
// every logged field is exercised too), pauses that return at once, and a
// reader that splits the fuzzer's bytes into the pieces a target needs.
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

}  // namespace zq::fuzz

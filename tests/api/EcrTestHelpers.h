// Small helpers of the terminal-function tests: a port where nothing
// listens, a device that does not exist, and the host log lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/LogRecorder.h"
#include "support/RefusedPort.h"

namespace zq::test {

// A loopback port that refuses connections.
inline uint16_t refusedPort() { return zq_refusedPort(); }

inline const char* missingSerialDevice() { return "/dev/zq-no-such-serial-port"; }

// The host lines of one category ("dev", "comm", "bus") that carry exactly
// this message, whole lines as the host got them.
inline std::vector<std::string> hostLinesWith(const std::string& source, const std::string& message) {
  std::vector<std::string> found;
  const std::string tail = "- " + message + "\n";
  for (const std::string& line : textsFrom(source)) {
    if (line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0)
      found.push_back(line);
  }
  return found;
}

// The level name the host line carries before its message.
inline bool hasLevel(const std::string& line, const std::string& level) {
  const size_t dash = line.find("- ");
  const size_t at = line.find(" " + level);
  return at != std::string::npos && at < dash;
}

}  // namespace zq::test

// Records what the library logs on the developer category, through a real
// log4c appender attached to "developerFile" (the fixture log4crc gives that
// category no appender of its own).
#pragma once

#include <log4c.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/Logger.h"

namespace zq::test {

struct LogLine {
  int priority;
  std::string text;
  bool operator==(const LogLine& other) const {
    return priority == other.priority && text == other.text;
  }
};

inline std::vector<LogLine>& capturedDevLines() {
  static std::vector<LogLine> lines;
  return lines;
}

class DevLogCapture {
 public:
  DevLogCapture() {
    static const bool attached = attach();
    (void)attached;
    capturedDevLines().clear();
  }
  ~DevLogCapture() { capturedDevLines().clear(); }

  void clear() { capturedDevLines().clear(); }

  // Lines at `priority` or more severe (log4c: smaller is more severe).
  std::vector<LogLine> atLeast(int priority) const {
    std::vector<LogLine> out;
    for (const LogLine& line : capturedDevLines()) {
      if (line.priority <= priority) {
        out.push_back(line);
      }
    }
    return out;
  }

  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const LogLine& line : capturedDevLines()) {
      out.push_back(line.text);
    }
    return out;
  }

 private:
  static int open(log4c_appender_t*) { return 0; }
  static int append(log4c_appender_t*, const log4c_logging_event_t* event) {
    capturedDevLines().push_back({event->evt_priority, event->evt_msg ? event->evt_msg : ""});
    return 0;
  }
  static bool attach() {
    static const log4c_appender_type_t type = {"zqTestDevCaptureType", open, append, nullptr};
    if (!zq::app::logging::initializeLoggers()) {
      return false;
    }
    log4c_appender_type_set(&type);
    log4c_appender_t* appender = log4c_appender_get("zqTestDevCapture");
    log4c_appender_set_type(appender, &type);
    log4c_category_set_appender(log4c_category_get("developerFile"), appender);
    return true;
  }
};

inline std::ostream& operator<<(std::ostream& os, const LogLine& line) {
  return os << "{" << line.priority << ", \"" << line.text << "\"}";
}

}  // namespace zq::test

// Test helpers that watch the library's log output through the real log4c:
// a recording appender for the file categories, and host log callbacks for
// the inner ones, both writing into one ordered journal.
#pragma once

#include <log4c.h>

#include <string>
#include <vector>

#include "core/zumbra_callbacks.h"

namespace zq::test {

struct LoggedLine {
  std::string source;  // a file category's name, or "dev", "comm", "bus" for the host callbacks
  int priority;        // log4c priority for file lines; -1 for host lines
  std::string text;    // the formatted message for file lines, the whole host line otherwise
};

inline std::vector<LoggedLine>& journal() {
  static std::vector<LoggedLine> lines;
  return lines;
}

inline int recordingOpen(log4c_appender_t*) { return 0; }

inline int recordingAppend(log4c_appender_t*, const log4c_logging_event_t* event) {
  journal().push_back({event->evt_category, event->evt_priority, event->evt_msg});
  return 0;
}

inline const log4c_appender_type_t recordingAppenderType = {"testRecordingAppenderType",
                                                            recordingOpen, recordingAppend,
                                                            nullptr};

// Attaches a recording appender to a category of the running log4c. Call it
// after the loggers started; the category keeps the appender for the process.
inline void recordCategory(const char* name) {
  log4c_appender_type_set(&recordingAppenderType);
  log4c_appender_t* appender = log4c_appender_new(name);
  log4c_appender_set_type(appender, &recordingAppenderType);
  log4c_category_set_appender(log4c_category_get(name), appender);
}

inline void recordDevHostLine(const char* line) { journal().push_back({"dev", -1, line}); }
inline void recordCommHostLine(const char* line) { journal().push_back({"comm", -1, line}); }
inline void recordBusHostLine(const char* line) { journal().push_back({"bus", -1, line}); }

// Registers the three host log callbacks (which also installs the callback store).
inline void recordHostLogs() {
  cb_setHandleDevLog(recordDevHostLine);
  cb_setHandleCommLog(recordCommHostLine);
  cb_setHandleBusLog(recordBusHostLine);
}

// The texts recorded from one source, in order.
inline std::vector<std::string> textsFrom(const std::string& source) {
  std::vector<std::string> texts;
  for (const LoggedLine& line : journal())
    if (line.source == source) texts.push_back(line.text);
  return texts;
}

}  // namespace zq::test

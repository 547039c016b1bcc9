// Records the texts that the library logs on its developer and communication
// file categories, through a real log4c appender attached to them (the
// fixture log4crc gives those categories no appender of their own).
#pragma once

#include <log4c.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/Logger.h"

namespace zq::test {

inline std::vector<std::string>& linkLogTexts() {
  static std::vector<std::string> texts;
  return texts;
}

inline int linkLogOpen(log4c_appender_t*) { return 0; }
inline int linkLogAppend(log4c_appender_t*, const log4c_logging_event_t* event) {
  linkLogTexts().push_back(event->evt_msg);
  return 0;
}
inline const log4c_appender_type_t linkLogAppenderType = {"linkTestRecordingAppender", linkLogOpen,
                                                          linkLogAppend, nullptr};

class LinkLogRecorder {
 public:
  LinkLogRecorder() {
    static const bool attached = attach();
    (void)attached;
    linkLogTexts().clear();
  }
  bool contains(const std::string& text) const {
    const auto& texts = linkLogTexts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  const std::vector<std::string>& texts() const { return linkLogTexts(); }

 private:
  static bool attach() {
    app::logging::initializeLoggers();
    log4c_appender_type_set(&linkLogAppenderType);
    for (const char* name : {"developerFile", "communicationFile"}) {
      log4c_appender_t* appender = log4c_appender_new(name);
      log4c_appender_set_type(appender, &linkLogAppenderType);
      log4c_category_set_appender(log4c_category_get(name), appender);
    }
    return true;
  }
};

}  // namespace zq::test

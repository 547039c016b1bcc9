#include "core/Logger.h"

#include <log4c.h>

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/CallbacksManager.h"

namespace {

using zq::app::callbacks::CallbacksManager;

enum loggerType_t {
  DEVELOPER_FILE = 0,
  COMMUNICATION_FILE = 1,
  BUSINESS_FILE = 2,
  DEVELOPER_INNER = 3,
  COMMUNICATION_INNER = 4,
  BUSINESS_INNER = 5,
};

enum loggingPriority_t {
  LEVEL_FATAL = 0,
  LEVEL_ERROR = 1,
  LEVEL_WARN = 2,
  LEVEL_INFO = 3,
  LEVEL_DEBUG = 4,
  LEVEL_TRACE = 5,
};

// log4c priorities of the six levels, indexed by loggingPriority_t.
constexpr int LOG4C_PRIORITY_OF[] = {0, 300, 400, 600, 700, 800};

log4c_category_t* developerFileLogger = nullptr;
log4c_category_t* communicationFileLogger = nullptr;
log4c_category_t* businessFileLogger = nullptr;
log4c_category_t* developerInnerLogger = nullptr;
log4c_category_t* communicationInnerLogger = nullptr;
log4c_category_t* businessInnerLogger = nullptr;

log4c_appender_t* appenderDevInner = nullptr;
log4c_appender_t* appenderCommInner = nullptr;
log4c_appender_t* appenderBusInner = nullptr;

// log4c 1.2.4 crashes when it is initialised again after log4c_fini, so once
// stopped the facade stays down for the rest of the process.
bool stoppedForGood = false;

// Start and stop change the handles above and log4c's own tables, neither of
// which is made for two threads at once.
std::mutex startStopMutex;

const char* const DASHES = "-------------------------------------------------------------------";
const char* const HEX_HEADER =
    "00 01 02 03 04 05 06 07 08 09 10 11 12 13 14 15    0123456789ABCDEF";
const char* const EMPTY_BUFFER = "Empty buffer";

constexpr size_t HEX_BYTES_PER_LINE = 16;
// 16 columns of "XX ", three blanks, 16 characters, the zero byte.
constexpr size_t HEX_LINE_SIZE = HEX_BYTES_PER_LINE * 3 + 3 + HEX_BYTES_PER_LINE + 1;
constexpr size_t COMM_LINE_WIDTH = 64;

constexpr unsigned char STX = 0x02;
constexpr unsigned char ETX = 0x03;
constexpr unsigned char FS = 0x1C;
const char* const STX_MARK = "<STX>";
const char* const ETX_LRC_MARK = "<ETX><LRC>";

log4c_category_t* getLogger(loggerType_t type) {
  switch (type) {
    case COMMUNICATION_FILE:
      return communicationFileLogger;
    case BUSINESS_FILE:
      return businessFileLogger;
    case DEVELOPER_INNER:
      return developerInnerLogger;
    case COMMUNICATION_INNER:
      return communicationInnerLogger;
    case BUSINESS_INNER:
      return businessInnerLogger;
    case DEVELOPER_FILE:
    default:
      return developerFileLogger;
  }
}

int log4cPriority(loggingPriority_t level) {
  size_t index = static_cast<size_t>(level);
  return index < sizeof LOG4C_PRIORITY_OF / sizeof LOG4C_PRIORITY_OF[0]
             ? LOG4C_PRIORITY_OF[index]
             : LOG4C_PRIORITY_OF[LEVEL_TRACE];
}

// log4c hands a line to the category's own appender and, while the category
// is additive, on to its parent's (root: the six names have no dots). A
// category without an appender that passes nothing on delivers a line to no
// one, so nothing is formatted or built for it.
bool reachesNoAppender(const log4c_category_t* category) {
  return log4c_category_get_appender(category) == nullptr && !log4c_category_get_additivity(category);
}

// Text lines reach every appender of the category whatever its configured
// priority: log4c_category_vlog does not test it.
void logMessage(loggerType_t type, loggingPriority_t level, const char* format, va_list args) {
  log4c_category_t* category = getLogger(type);
  if (!category || !format || reachesNoAppender(category)) return;
  log4c_category_vlog(category, log4cPriority(level), format, args);
}

void logText(loggerType_t file, loggerType_t inner, loggingPriority_t level, const char* format,
             va_list args) {
  va_list copy;
  va_copy(copy, args);
  logMessage(file, level, format, copy);
  va_end(copy);
  va_copy(copy, args);
  logMessage(inner, level, format, copy);
  va_end(copy);
}

// Dumps, unlike text lines, obey the category's priority: one
// log4c_category_log call per line.
void log_hex(loggerType_t type, loggingPriority_t level, const void* data, size_t length) {
  log4c_category_t* category = getLogger(type);
  if (!category || reachesNoAppender(category)) return;
  const int priority = log4cPriority(level);
  if (!log4c_category_is_priority_enabled(category, priority)) return;
  // A count without bytes behind it is shown as the empty buffer it really is.
  if (!data) length = 0;
  log4c_category_log(category, priority, "Printing %zu bytes: ", length);
  if (length == 0) {
    log4c_category_log(category, priority, "%s", EMPTY_BUFFER);
    return;
  }
  log4c_category_log(category, priority, "%s", HEX_HEADER);
  log4c_category_log(category, priority, "%s", DASHES);

  static const char HEX_DIGITS[] = "0123456789ABCDEF";
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  char line[HEX_LINE_SIZE];
  for (size_t offset = 0; offset < length; offset += HEX_BYTES_PER_LINE) {
    const size_t count = std::min(HEX_BYTES_PER_LINE, length - offset);
    char* out = line;
    for (size_t column = 0; column < HEX_BYTES_PER_LINE; ++column) {
      if (column < count) {
        const unsigned char byte = bytes[offset + column];
        *out++ = HEX_DIGITS[byte >> 4];
        *out++ = HEX_DIGITS[byte & 0x0F];
      } else {
        *out++ = ' ';
        *out++ = ' ';
      }
      *out++ = ' ';
    }
    for (int blank = 0; blank < 3; ++blank) *out++ = ' ';
    for (size_t column = 0; column < count; ++column) {
      const unsigned char byte = bytes[offset + column];
      *out++ = std::isprint(byte) ? static_cast<char>(byte) : '.';
    }
    *out = '\0';
    log4c_category_log(category, priority, "%s", line);
  }
  log4c_category_log(category, priority, "%s", DASHES);
}

// Frames shown as text: STX and ETX marked, the LRC after an ETX hidden (it is
// a checksum, not text), FS as "|", and a marker never split across lines.
void log_comm_data(loggerType_t type, loggingPriority_t level, const void* data, size_t length) {
  log4c_category_t* category = getLogger(type);
  if (!category || reachesNoAppender(category)) return;
  const int priority = log4cPriority(level);
  if (!log4c_category_is_priority_enabled(category, priority)) return;
  if (!data) length = 0;
  log4c_category_log(category, priority, "Printing %zu communication data bytes: ", length);
  if (length == 0) {
    log4c_category_log(category, priority, "%s", EMPTY_BUFFER);
    return;
  }
  log4c_category_log(category, priority, "%s", DASHES);

  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  char line[COMM_LINE_WIDTH + 1];
  size_t column = 0;
  auto flush = [&]() {
    std::memset(line + column, ' ', COMM_LINE_WIDTH - column);
    line[COMM_LINE_WIDTH] = '\0';
    log4c_category_log(category, priority, "%s", line);
    column = 0;
  };
  for (size_t i = 0; i < length; ++i) {
    const unsigned char byte = bytes[i];
    char single = '.';
    const char* text = &single;
    size_t width = 1;
    if (byte == STX) {
      text = STX_MARK;
      width = std::strlen(STX_MARK);
    } else if (byte == ETX) {
      text = ETX_LRC_MARK;
      width = std::strlen(ETX_LRC_MARK);
    } else if (byte == FS) {
      single = '|';
    } else if (std::isprint(byte)) {
      single = static_cast<char>(byte);
    }
    if (column + width > COMM_LINE_WIDTH) flush();
    std::memcpy(line + column, text, width);
    column += width;
    if (byte == ETX) ++i;
  }
  if (column > 0) flush();
  log4c_category_log(category, priority, "%s", DASHES);
}

void logHex(loggerType_t file, loggerType_t inner, loggingPriority_t level, const void* data,
            size_t length) {
  log_hex(file, level, data, length);
  log_hex(inner, level, data, length);
}

void logDevHex(loggingPriority_t level, const void* data, size_t length) {
  logHex(DEVELOPER_FILE, DEVELOPER_INNER, level, data, length);
}

void logBusHex(loggingPriority_t level, const void* data, size_t length) {
  logHex(BUSINESS_FILE, BUSINESS_INNER, level, data, length);
}

void logCommHex(loggingPriority_t level, const void* data, size_t length) {
  logHex(COMMUNICATION_FILE, COMMUNICATION_INNER, level, data, length);
  log_comm_data(COMMUNICATION_FILE, level, data, length);
  log_comm_data(COMMUNICATION_INNER, level, data, length);
}

// A line of a layout other than the library's own is cut as the "dated"
// layout's lines are cut: "YYYYMMDD HH:MM:SS.mmm LEVEL    category- message\n"
// gives the host the time of day, the level and "- message\n". A line of any
// other shape is handed on unchanged rather than cut at a guessed place.
// The text goes into `rendered`, replacing what it held.
void renderInnerLogMessage(const char* line, std::string& rendered) {
  rendered.clear();
  if (!line) return;
  const size_t length = std::strlen(line);
  const char* dash = std::strchr(line, '-');
  if (length < 9 || !dash) {
    rendered.assign(line, length);
    return;
  }
  const size_t time = std::min<size_t>(19, length - 9);
  const size_t tail = length - static_cast<size_t>(dash - line);
  rendered.reserve(time + tail);
  rendered.append(line + 9, time);
  rendered.append(dash, tail);
}

// The host's line of an event, made from the event itself: exactly the text
// the host got when the inner appenders had the "dated" layout and their line
// was cut from it (time of day in UTC, the level padded to eight and cut to
// six, "- ", the message, the newline), cut where that layout's 1024-byte
// buffer cut it.
void renderHostLine(const log4c_logging_event_t& event, std::string& rendered) {
  constexpr size_t DATED_LINE_LIMIT = 1023;
  constexpr size_t HEAD = 21;  // "HH:MM:SS.mmm LEVEL - "
  constexpr size_t LEVEL_COLUMNS = 6;
  constexpr long SECONDS_A_DAY = 24 * 60 * 60;
  const char* const level = log4c_priority_to_string(event.evt_priority);
  size_t levelLength = 0;
  while (level[levelLength] != '\0') ++levelLength;
  const char* const category = event.evt_category ? event.evt_category : "";
  const char* const message = event.evt_msg ? event.evt_msg : "";
  // "YYYYMMDD HH:MM:SS.mmm ", the padded level, a blank, the category, "- ".
  const size_t beforeMessage = 22 + std::max<size_t>(8, levelLength) + 1 + std::strlen(category) + 2;
  const size_t room = DATED_LINE_LIMIT > beforeMessage ? DATED_LINE_LIMIT - beforeMessage : 0;
  const size_t length = std::strlen(message);
  const size_t kept = std::min(length, room);
  const bool newline = length < room;
  // The text is sized once and written in place, digit by digit: a printf
  // per line would cost more than all the rest of the host's line.
  rendered.resize(HEAD + kept + (newline ? 1 : 0));
  char* const out = &rendered[0];
  const auto secondOfDay = static_cast<unsigned>(event.evt_timestamp.tv_sec % SECONDS_A_DAY);
  const auto millisecond = static_cast<unsigned>(event.evt_timestamp.tv_usec / 1000);
  auto twoDigits = [](char* at, unsigned value) {
    at[0] = static_cast<char>('0' + value / 10);
    at[1] = static_cast<char>('0' + value % 10);
  };
  twoDigits(out, secondOfDay / 3600);
  out[2] = ':';
  twoDigits(out + 3, secondOfDay / 60 % 60);
  out[5] = ':';
  twoDigits(out + 6, secondOfDay % 60);
  out[8] = '.';
  out[9] = static_cast<char>('0' + millisecond / 100);
  twoDigits(out + 10, millisecond % 100);
  out[12] = ' ';
  for (size_t i = 0; i < LEVEL_COLUMNS; ++i) out[13 + i] = i < levelLength ? level[i] : ' ';
  out[19] = '-';
  out[20] = ' ';
  std::memcpy(out + HEAD, message, kept);
  if (newline) out[HEAD + kept] = '\n';
}

// Raised when the thread's host-line texts below are destroyed. A thread
// still logs after that: from the destructors of the host's own thread_local
// objects, and on the main thread from atexit handlers and static
// destructors, which run after the main thread's thread_local objects are
// gone while the loggers are still up. A flag without a destructor stays
// readable to the thread's very end.
thread_local bool hostLineTextsGone = false;

// The host lines of a thread, one text per nesting depth, each kept from
// line to line so that a line costs no allocation once its text has grown to
// the longest one. The layout writes the line of the current depth; while
// the host's callback reads it, the depth is one more, so a line the callback
// logs itself goes into the next text and leaves the one being read alone.
// The texts are held by pointer: growing the list moves none of them.
struct HostLineTexts {
  std::vector<std::unique_ptr<std::string>> lines;
  size_t depth = 0;

  HostLineTexts() = default;
  HostLineTexts(const HostLineTexts&) = delete;
  HostLineTexts& operator=(const HostLineTexts&) = delete;
  ~HostLineTexts() { hostLineTextsGone = true; }

  std::string& current() {
    if (depth == lines.size()) lines.push_back(std::make_unique<std::string>());
    return *lines[depth];
  }
};

// The one per-thread object of the library with a destructor: it frees the
// texts of every thread that ends, and the flag above takes over from it.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wexit-time-destructors"
#pragma clang diagnostic ignored "-Wglobal-constructors"
#endif
thread_local HostLineTexts hostLineTexts;
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

// Marks the current line as being read by the host for its lifetime.
class ReadingHostLine {
 public:
  explicit ReadingHostLine(HostLineTexts& texts) : texts(texts), line(texts.current()) { ++texts.depth; }
  ~ReadingHostLine() { --texts.depth; }
  ReadingHostLine(const ReadingHostLine&) = delete;
  ReadingHostLine& operator=(const ReadingHostLine&) = delete;

  HostLineTexts& texts;
  std::string& line;
};

// The inner appenders' layout: it makes the host's line, and nothing else,
// once per line. log4c's "dated" layout would format a full dated line (date,
// time, category) for every text line only for the host line to be cut out of
// it again, and into one buffer for the whole process at that.
const char* formatHostLine(const log4c_layout_t*, const log4c_logging_event_t* event) noexcept {
  // Called from log4c, a C library: nothing may unwind through it. Without a
  // line log4c hands the bare message on, and the append makes the line itself.
  try {
    // Once the thread's texts are gone the append makes the line in a text
    // of its own.
    if (!event || hostLineTextsGone) return nullptr;
    std::string& line = hostLineTexts.current();
    renderHostLine(*event, line);
    return line.c_str();
  } catch (...) {
    return nullptr;
  }
}

const log4c_layout_type_t hostLineLayoutType = {"zumbraHostLineLayoutType", formatHostLine};

log4c_layout_t* hostLineLayout = nullptr;

bool usesHostLineLayout(const log4c_appender_t* appender) {
  return log4c_layout_get_type(log4c_appender_get_layout(appender)) == &hostLineLayoutType;
}

// Makes the host's line of `event` in `line` and hands it to the host.
template <void (CallbacksManager::*forward)(const std::string&)>
void forwardLine(const log4c_appender_t* appender, const log4c_logging_event_t& event,
                 std::string& line) {
  // log4c formats the event with the appender's layout right before it
  // calls the append: with the library's layout the host line is there.
  if (usesHostLineLayout(appender)) {
    if (event.evt_rendered_msg != line.c_str()) renderHostLine(event, line);
  } else {
    renderInnerLogMessage(event.evt_rendered_msg ? event.evt_rendered_msg : event.evt_msg, line);
  }
  (CallbacksManager::getInstance().*forward)(line);
}

// The append functions run inside log4c, a C library: nothing may unwind
// through it, so any failure here drops the line for the host.
template <void (CallbacksManager::*forward)(const std::string&)>
int forwardInner(const log4c_appender_t* appender, const log4c_logging_event_t* event) noexcept {
  try {
    if (!event) return 0;
    if (hostLineTextsGone) {
      std::string line;
      forwardLine<forward>(appender, *event, line);
      return 0;
    }
    ReadingHostLine reading(hostLineTexts);
    forwardLine<forward>(appender, *event, reading.line);
  } catch (...) {
  }
  return 0;
}

int logInnerOpen(log4c_appender_t*) { return 0; }

int logDevInnerAppend(log4c_appender_t* appender, const log4c_logging_event_t* event) {
  return forwardInner<&CallbacksManager::handleDevLog>(appender, event);
}
int logCommInnerAppend(log4c_appender_t* appender, const log4c_logging_event_t* event) {
  return forwardInner<&CallbacksManager::handleCommLog>(appender, event);
}
int logBusInnerAppend(log4c_appender_t* appender, const log4c_logging_event_t* event) {
  return forwardInner<&CallbacksManager::handleBusLog>(appender, event);
}

const log4c_appender_type_t appenderTypeDevInner = {"devInnerAppenderType", logInnerOpen,
                                                    logDevInnerAppend, nullptr};
const log4c_appender_type_t appenderTypeCommInner = {"commInnerAppenderType", logInnerOpen,
                                                     logCommInnerAppend, nullptr};
const log4c_appender_type_t appenderTypeBusInner = {"busInnerAppenderType", logInnerOpen,
                                                    logBusInnerAppend, nullptr};

log4c_appender_t* attachInnerAppender(log4c_category_t* category, const char* name,
                                      const log4c_appender_type_t* type) {
  log4c_appender_type_set(type);
  log4c_appender_t* appender = log4c_appender_new(name);
  log4c_appender_set_type(appender, type);
  log4c_appender_set_layout(appender, hostLineLayout);
  log4c_category_set_appender(category, appender);
  return appender;
}

}  // namespace

namespace zq::app::logging {

bool initializeLoggers() {
  std::unique_lock<std::mutex> lock(startStopMutex);
  if (stoppedForGood) return false;
  // Already running: a second start would attach a second set of appenders.
  if (developerFileLogger) return true;
  const int status = log4c_init();
  if (status != 0) {
    std::printf("LOGGER INIT FAILED: %d", status);
    return false;
  }
  developerFileLogger = log4c_category_get("developerFile");
  communicationFileLogger = log4c_category_get("communicationFile");
  businessFileLogger = log4c_category_get("businessFile");
  developerInnerLogger = log4c_category_get("developerInner");
  communicationInnerLogger = log4c_category_get("communicationInner");
  businessInnerLogger = log4c_category_get("businessInner");

  // A layout object of the library's own, out of log4c's named layouts: the
  // host may use log4c itself, and its types and layouts stay as they are.
  log4c_layout_type_set(&hostLineLayoutType);
  hostLineLayout = log4c_layout_new("zumbraHostLineLayout");
  log4c_layout_set_type(hostLineLayout, &hostLineLayoutType);
  appenderDevInner = attachInnerAppender(developerInnerLogger, "devInnerAppender",
                                         &appenderTypeDevInner);
  appenderCommInner = attachInnerAppender(communicationInnerLogger, "commInnerAppender",
                                          &appenderTypeCommInner);
  appenderBusInner = attachInnerAppender(businessInnerLogger, "busInnerAppender",
                                         &appenderTypeBusInner);

  // The line reaches the host's log callback, which may call back into the
  // library and so into this function.
  lock.unlock();
  logDevTrace("Loggers initialized");
  return true;
}

bool closeLoggers() {
  std::lock_guard<std::mutex> lock(startStopMutex);
  const bool wasRunning = developerFileLogger != nullptr;
  if (log4c_fini() != 0) return false;
  for (log4c_appender_t** appender : {&appenderDevInner, &appenderCommInner, &appenderBusInner}) {
    if (*appender) {
      log4c_appender_delete(*appender);
      *appender = nullptr;
    }
  }
  if (hostLineLayout) {
    log4c_layout_delete(hostLineLayout);
    hostLineLayout = nullptr;
  }
  developerFileLogger = nullptr;
  communicationFileLogger = nullptr;
  businessFileLogger = nullptr;
  developerInnerLogger = nullptr;
  communicationInnerLogger = nullptr;
  businessInnerLogger = nullptr;
  if (wasRunning) stoppedForGood = true;
  return true;
}

}  // namespace zq::app::logging

// The exported functions: the text ones write the family's file category and
// then its inner one; the dumps do the same line by line.

#define ZQ_TEXT_BODY(family, level)                          \
  va_list args;                                              \
  va_start(args, format);                                    \
  logText(family##_FILE, family##_INNER, level, format, args); \
  va_end(args)

void logDevFatal(const char* format, ...) { ZQ_TEXT_BODY(DEVELOPER, LEVEL_FATAL); }
void logDevError(const char* format, ...) { ZQ_TEXT_BODY(DEVELOPER, LEVEL_ERROR); }
void logDevWarn(const char* format, ...) { ZQ_TEXT_BODY(DEVELOPER, LEVEL_WARN); }
void logDevInfo(const char* format, ...) { ZQ_TEXT_BODY(DEVELOPER, LEVEL_INFO); }
void logDevDebug(const char* format, ...) { ZQ_TEXT_BODY(DEVELOPER, LEVEL_DEBUG); }
void logDevTrace(const char* format, ...) { ZQ_TEXT_BODY(DEVELOPER, LEVEL_TRACE); }

void logCommFatal(const char* format, ...) { ZQ_TEXT_BODY(COMMUNICATION, LEVEL_FATAL); }
void logCommError(const char* format, ...) { ZQ_TEXT_BODY(COMMUNICATION, LEVEL_ERROR); }
void logCommWarn(const char* format, ...) { ZQ_TEXT_BODY(COMMUNICATION, LEVEL_WARN); }
void logCommInfo(const char* format, ...) { ZQ_TEXT_BODY(COMMUNICATION, LEVEL_INFO); }
void logCommDebug(const char* format, ...) { ZQ_TEXT_BODY(COMMUNICATION, LEVEL_DEBUG); }
void logCommTrace(const char* format, ...) { ZQ_TEXT_BODY(COMMUNICATION, LEVEL_TRACE); }

void logBusFatal(const char* format, ...) { ZQ_TEXT_BODY(BUSINESS, LEVEL_FATAL); }
void logBusError(const char* format, ...) { ZQ_TEXT_BODY(BUSINESS, LEVEL_ERROR); }
void logBusWarn(const char* format, ...) { ZQ_TEXT_BODY(BUSINESS, LEVEL_WARN); }
void logBusInfo(const char* format, ...) { ZQ_TEXT_BODY(BUSINESS, LEVEL_INFO); }
void logBusDebug(const char* format, ...) { ZQ_TEXT_BODY(BUSINESS, LEVEL_DEBUG); }
void logBusTrace(const char* format, ...) { ZQ_TEXT_BODY(BUSINESS, LEVEL_TRACE); }

#undef ZQ_TEXT_BODY

void logDevFatalHex(const void* data, size_t length) { logDevHex(LEVEL_FATAL, data, length); }
void logDevErrorHex(const void* data, size_t length) { logDevHex(LEVEL_ERROR, data, length); }
void logDevWarnHex(const void* data, size_t length) { logDevHex(LEVEL_WARN, data, length); }
void logDevInfoHex(const void* data, size_t length) { logDevHex(LEVEL_INFO, data, length); }
void logDevDebugHex(const void* data, size_t length) { logDevHex(LEVEL_DEBUG, data, length); }
void logDevTraceHex(const void* data, size_t length) { logDevHex(LEVEL_TRACE, data, length); }

void logCommFatalHex(const void* data, size_t length) { logCommHex(LEVEL_FATAL, data, length); }
void logCommErrorHex(const void* data, size_t length) { logCommHex(LEVEL_ERROR, data, length); }
void logCommWarnHex(const void* data, size_t length) { logCommHex(LEVEL_WARN, data, length); }
void logCommInfoHex(const void* data, size_t length) { logCommHex(LEVEL_INFO, data, length); }
void logCommDebugHex(const void* data, size_t length) { logCommHex(LEVEL_DEBUG, data, length); }
void logCommTraceHex(const void* data, size_t length) { logCommHex(LEVEL_TRACE, data, length); }

void logBusFatalHex(const void* data, size_t length) { logBusHex(LEVEL_FATAL, data, length); }
void logBusErrorHex(const void* data, size_t length) { logBusHex(LEVEL_ERROR, data, length); }
void logBusWarnHex(const void* data, size_t length) { logBusHex(LEVEL_WARN, data, length); }
void logBusInfoHex(const void* data, size_t length) { logBusHex(LEVEL_INFO, data, length); }
void logBusDebugHex(const void* data, size_t length) { logBusHex(LEVEL_DEBUG, data, length); }
void logBusTraceHex(const void* data, size_t length) { logBusHex(LEVEL_TRACE, data, length); }

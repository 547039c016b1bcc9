// The logging facade over the real log4c, configured by the permissive
// fixture log4crc: what reaches the file categories and the host, and the
// exact shape of the hex and communication dumps.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "LogRecorder.h"
#include "core/Logger.h"

namespace {

using zq::test::journal;
using zq::test::LoggedLine;
using zq::test::textsFrom;

using Bytes = std::vector<unsigned char>;
using Lines = std::vector<std::string>;

const std::string DASHES(67, '-');
const std::string HEX_HEADER =
    "00 01 02 03 04 05 06 07 08 09 10 11 12 13 14 15    0123456789ABCDEF";

std::string pad64(const std::string& text) { return text + std::string(64 - text.size(), ' '); }

// "hh:mm:ss.mmm LEVEL - " is 21 characters; the host line ends with "\n".
const std::regex HOST_LINE(R"(^\d\d:\d\d:\d\d\.\d\d\d (.{6})- ([^]*)\n$)");

std::string hostMessage(const std::string& line) {
  std::smatch match;
  if (!std::regex_match(line, match, HOST_LINE)) return "<malformed host line: " + line + ">";
  return match[2];
}

Lines hostMessages(const std::string& source) {
  Lines out;
  for (const std::string& line : textsFrom(source)) out.push_back(hostMessage(line));
  return out;
}

class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(zq::app::logging::initializeLoggers());
    for (const char* name : {"developerFile", "communicationFile", "businessFile"})
      zq::test::recordCategory(name);
    zq::test::recordHostLogs();
    journal().clear();
  }
};

TEST(LoggerStartTest, AnnouncesTheStartToTheDeveloperLog) {
  zq::test::recordHostLogs();
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  ASSERT_EQ(textsFrom("dev").size(), 1u);
  EXPECT_EQ(hostMessage(textsFrom("dev")[0]), "Loggers initialized");
  EXPECT_NE(textsFrom("dev")[0].find(" TRACE - "), std::string::npos);
  // A second start attaches nothing twice: a line still arrives once.
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  journal().clear();
  logDevError("once");
  EXPECT_EQ(textsFrom("dev").size(), 1u);
}

using TextLog = void (*)(const char*, ...);

struct TextCase {
  const char* name;
  TextLog log;
  const char* fileCategory;
  const char* hostSource;
  int priority;
  const char* level;  // as the host sees it: six columns
};

TEST_F(LoggerTest, TextLinesReachTheFileCategoryThenTheHost) {
  const TextCase cases[] = {
      {"logDevFatal", logDevFatal, "developerFile", "dev", 0, "FATAL "},
      {"logDevError", logDevError, "developerFile", "dev", 300, "ERROR "},
      {"logDevWarn", logDevWarn, "developerFile", "dev", 400, "WARN  "},
      {"logDevInfo", logDevInfo, "developerFile", "dev", 600, "INFO  "},
      {"logDevDebug", logDevDebug, "developerFile", "dev", 700, "DEBUG "},
      {"logDevTrace", logDevTrace, "developerFile", "dev", 800, "TRACE "},
      {"logCommFatal", logCommFatal, "communicationFile", "comm", 0, "FATAL "},
      {"logCommError", logCommError, "communicationFile", "comm", 300, "ERROR "},
      {"logCommWarn", logCommWarn, "communicationFile", "comm", 400, "WARN  "},
      {"logCommInfo", logCommInfo, "communicationFile", "comm", 600, "INFO  "},
      {"logCommDebug", logCommDebug, "communicationFile", "comm", 700, "DEBUG "},
      {"logCommTrace", logCommTrace, "communicationFile", "comm", 800, "TRACE "},
      {"logBusFatal", logBusFatal, "businessFile", "bus", 0, "FATAL "},
      {"logBusError", logBusError, "businessFile", "bus", 300, "ERROR "},
      {"logBusWarn", logBusWarn, "businessFile", "bus", 400, "WARN  "},
      {"logBusInfo", logBusInfo, "businessFile", "bus", 600, "INFO  "},
      {"logBusDebug", logBusDebug, "businessFile", "bus", 700, "DEBUG "},
      {"logBusTrace", logBusTrace, "businessFile", "bus", 800, "TRACE "},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    journal().clear();
    c.log("Socket %s after %d ms", "closed", 250);
    ASSERT_EQ(journal().size(), 2u);
    EXPECT_EQ(journal()[0].source, c.fileCategory);
    EXPECT_EQ(journal()[0].priority, c.priority);
    EXPECT_EQ(journal()[0].text, "Socket closed after 250 ms");
    const LoggedLine& host = journal()[1];
    EXPECT_EQ(host.source, c.hostSource);
    std::smatch match;
    ASSERT_TRUE(std::regex_match(host.text, match, HOST_LINE)) << host.text;
    EXPECT_EQ(match[1], c.level);
    EXPECT_EQ(match[2], "Socket closed after 250 ms");
  }
}

TEST_F(LoggerTest, HostLineCarriesNeitherDateNorCategory) {
  logDevError("Socket closed");
  const Lines host = textsFrom("dev");
  ASSERT_EQ(host.size(), 1u);
  EXPECT_EQ(host[0].size(), std::string("12:34:56.789 ERROR - Socket closed\n").size());
  EXPECT_EQ(host[0].find("developer"), std::string::npos);
  EXPECT_EQ(host[0].substr(12), " ERROR - Socket closed\n");
}

// A layout whose lines are the bare message, to see what the host gets for
// lines that do not have the dated layout's shape.
const char* bareMessage(const log4c_layout_t*, const log4c_logging_event_t* event) {
  return event->evt_msg;
}
const log4c_layout_type_t bareLayoutType = {"testBareMessage", bareMessage};

TEST_F(LoggerTest, LinesOfAnotherShapeReachTheHostUnchanged) {
  log4c_layout_type_set(&bareLayoutType);
  log4c_layout_t* bare = log4c_layout_get("testBareMessage");
  log4c_layout_set_type(bare, &bareLayoutType);
  auto* inner = const_cast<log4c_appender_t*>(
      log4c_category_get_appender(log4c_category_get("developerInner")));
  ASSERT_NE(inner, nullptr);
  log4c_appender_set_layout(inner, bare);

  const char* const lines[] = {"", "short", "no dash anywhere in this rather long line",
                               "1234567-"};
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    journal().clear();
    logDevInfo("%s", line);
    EXPECT_EQ(textsFrom("dev"), Lines{line});
  }
}

// What the host got when the inner appenders had log4c's "dated" layout: the
// layout's line, "YYYYMMDD HH:MM:SS.mmm LEVEL    category- message\n" cut at
// 1023 characters, from which the host line was cut (characters 9 to 27 and
// everything from the first "-").
std::string hostLineCutFromDated(const log4c_logging_event_t& event) {
  const std::string dated = log4c_layout_format(log4c_layout_get("dated"), &event);
  return dated.substr(9, 19) + dated.substr(dated.find('-'));
}

const log4c_layout_t* innerLayout(const char* category) {
  const log4c_appender_t* inner = log4c_category_get_appender(log4c_category_get(category));
  return inner ? log4c_appender_get_layout(inner) : nullptr;
}

// The inner appenders' own layout makes exactly that text, for every level
// log4c names, lengths on both sides of the dated line's cut (which falls at
// another length for each category name) and several times of day.
TEST_F(LoggerTest, HostLineIsTheTextCutFromTheDatedLineBeforeByteForByte) {
  struct Time {
    long seconds;
    long microseconds;
  };
  const Time times[] = {{0, 0},                       // 1970-01-01 00:00:00.000
                        {1711974896, 789000},         // 2024-04-01 12:34:56.789
                        {1709251199, 999999},         // 2024-02-29 23:59:59.999
                        {2147483647 + 86400L, 1000}};  // 2038-01-20 03:14:07.001
  const int priorities[] = {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 1100};
  for (const char* category : {"developerInner", "communicationInner", "businessInner"}) {
    const log4c_layout_t* layout = innerLayout(category);
    ASSERT_NE(layout, nullptr);
    EXPECT_NE(log4c_layout_get_type(layout), log4c_layout_type_get("dated"));
    // "YYYYMMDD HH:MM:SS.mmm ", the level padded to eight, a blank, the
    // category, "- ": the message takes the rest of 1023 characters.
    const size_t room = 1023 - (22 + 8 + 1 + std::strlen(category) + 2);
    for (size_t length : {size_t{0}, size_t{1}, room - 1, room, room + 1, size_t{4000}}) {
      const std::string message(length, 'm');
      for (const Time& time : times) {
        for (int priority : priorities) {
          SCOPED_TRACE(std::string(category) + ", " + std::to_string(length) + " characters at " +
                       std::to_string(time.seconds) + " s, priority " + std::to_string(priority));
          log4c_logging_event_t event{};
          event.evt_category = category;
          event.evt_priority = priority;
          event.evt_msg = message.c_str();
          event.evt_timestamp.tv_sec = time.seconds;
          event.evt_timestamp.tv_usec = time.microseconds;
          const char* line = log4c_layout_format(layout, &event);
          ASSERT_NE(line, nullptr);
          EXPECT_EQ(line, hostLineCutFromDated(event));
        }
      }
    }
  }
}

// The layout's text is what the host receives, for lines that log4c formats
// from a long message too (log4c's bufsize cuts the message it formats).
TEST_F(LoggerTest, LongMessagesReachTheHostCutWhereTheDatedLineCutThem) {
  // 1023 - (22 + 8 + 1 + strlen("developerInner") + 2)
  constexpr size_t ROOM = 976;
  for (size_t length : {ROOM - 1, ROOM, ROOM + 1, size_t{1023}, size_t{4000}}) {
    SCOPED_TRACE(length);
    journal().clear();
    const std::string message(length, 'x');
    logDevWarn("%s", message.c_str());
    const Lines host = textsFrom("dev");
    ASSERT_EQ(host.size(), 1u);
    EXPECT_EQ(host[0].substr(12), " WARN  - " + message.substr(0, ROOM) + (length < ROOM ? "\n" : ""));
  }
}

// log4c cuts a message at its configured bufsize before any layout sees it;
// the fixture's bufsize must leave the dated layout's file lines as long as
// they were with an unlimited message.
std::string fullMessage;
std::vector<std::pair<std::string, std::string>> datedLines;  // as logged, as unlimited

int datedRecordingAppend(log4c_appender_t*, const log4c_logging_event_t* event) {
  log4c_logging_event_t unlimited = *event;
  unlimited.evt_msg = fullMessage.c_str();
  const std::string logged = event->evt_rendered_msg;
  datedLines.emplace_back(logged, log4c_layout_format(log4c_layout_get("dated"), &unlimited));
  return 0;
}
const log4c_appender_type_t datedRecordingType = {"testDatedRecordingAppenderType", zq::test::recordingOpen,
                                                  datedRecordingAppend, nullptr};

// Outside the fixture: the category gets this appender instead of the recorder.
TEST(LoggerFileLinesTest, DatedFileLinesOfLongMessagesKeepTheirLength) {
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  log4c_appender_type_set(&datedRecordingType);
  log4c_appender_t* appender = log4c_appender_new("testDatedFile");
  log4c_appender_set_type(appender, &datedRecordingType);
  log4c_appender_set_layout(appender, log4c_layout_get("dated"));
  log4c_category_set_appender(log4c_category_get("developerFile"), appender);
  for (size_t length : {size_t{900}, size_t{1022}, size_t{1023}, size_t{1024}, size_t{4000}}) {
    SCOPED_TRACE(length);
    fullMessage.assign(length, 'f');
    datedLines.clear();
    logDevError("%s", fullMessage.c_str());
    ASSERT_EQ(datedLines.size(), 1u);
    EXPECT_EQ(datedLines[0].first, datedLines[0].second);
  }
}

// Two contexts may log on two threads at once; each host line must be the
// line of the thread that logged it (the dated layout formats into one buffer
// for the whole process, which used to hand threads each other's lines).
thread_local const char* threadName = "";
std::atomic<int> foreignLines{0};
std::atomic<int> hostLines{0};

void checkOwnLine(const char* line) {
  hostLines.fetch_add(1);
  if (!std::strstr(line, threadName)) foreignLines.fetch_add(1);
}

// Outside the fixture: its recorders of the file categories serve one thread.
TEST(LoggerThreadsTest, ThreadsLoggingAtOnceEachGetTheirOwnHostLines) {
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  cb_setHandleDevLog(checkOwnLine);
  constexpr int LINES = 20000;
  auto logAs = [](const char* name) {
    threadName = name;
    for (int i = 0; i < LINES; ++i) logDevTrace("%s line %d", name, i);
  };
  std::thread first(logAs, "thread-one");
  std::thread second(logAs, "thread-two");
  first.join();
  second.join();
  EXPECT_EQ(hostLines.load(), 2 * LINES);
  EXPECT_EQ(foreignLines.load(), 0);
}

struct DumpCase {
  const char* name;
  Bytes data;
  Lines hex;   // the hex dump; empty when the row is about the communication dump only
  Lines comm;  // the communication dump
};

Bytes printable(size_t count) {
  Bytes out;
  for (size_t i = 0; i < count; ++i) out.push_back(static_cast<unsigned char>('0' + i % 10));
  return out;
}
std::string printableText(size_t count) {
  Bytes bytes = printable(count);
  return std::string(bytes.begin(), bytes.end());
}
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<DumpCase> dumpCases() {
  return {
      {"frame of five bytes",
       {0x02, 0x31, 0x03, 0x32, 0x0A},
       {"Printing 5 bytes: ", HEX_HEADER, DASHES,
        "02 31 03 32 0A " + std::string(33, ' ') + "   .1.2.", DASHES},
       {"Printing 5 communication data bytes: ", DASHES, pad64("<STX>1<ETX><LRC>."), DASHES}},
      {"seventeen bytes",
       Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P', 'Q'},
       {"Printing 17 bytes: ", HEX_HEADER, DASHES,
        "41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50    ABCDEFGHIJKLMNOP",
        "51 " + std::string(45, ' ') + "   Q", DASHES},
       {"Printing 17 communication data bytes: ", DASHES, pad64("ABCDEFGHIJKLMNOPQ"), DASHES}},
      {"separator, control and high bytes",
       {0x1C, 0x00, 0x7F, 0xEA, 'a'},
       {"Printing 5 bytes: ", HEX_HEADER, DASHES,
        "1C 00 7F EA 61 " + std::string(33, ' ') + "   ....a", DASHES},
       {"Printing 5 communication data bytes: ", DASHES, pad64("|...a"), DASHES}},
      {"ETX as the last byte",
       {'A', 'B', 0x03},
       {},
       {"Printing 3 communication data bytes: ", DASHES, pad64("AB<ETX><LRC>"), DASHES}},
      {"64 printable bytes fill one line",
       printable(64),
       {},
       {"Printing 64 communication data bytes: ", DASHES, printableText(64), DASHES}},
      {"65 printable bytes take two lines",
       printable(65),
       {},
       {"Printing 65 communication data bytes: ", DASHES, printableText(64), pad64("4"),
        DASHES}},
      {"STX at column 59 still fits",
       printable(59) + Bytes{0x02},
       {},
       {"Printing 60 communication data bytes: ", DASHES, printableText(59) + "<STX>", DASHES}},
      {"STX after 60 printable bytes opens a new line",
       printable(60) + Bytes{0x02, '9'},
       {},
       {"Printing 62 communication data bytes: ", DASHES, pad64(printableText(60)),
        pad64("<STX>9"), DASHES}},
      {"ETX and LRC at column 54 still fit",
       printable(54) + Bytes{0x03, 0x55},
       {},
       {"Printing 56 communication data bytes: ", DASHES, printableText(54) + "<ETX><LRC>",
        DASHES}},
      {"ETX at column 55 opens a new line",
       printable(55) + Bytes{0x03, 0x55, 'z'},
       {},
       {"Printing 58 communication data bytes: ", DASHES, pad64(printableText(55)),
        pad64("<ETX><LRC>z"), DASHES}},
      {"empty", {}, {"Printing 0 bytes: ", "Empty buffer"},
       {"Printing 0 communication data bytes: ", "Empty buffer"}},
  };
}

TEST_F(LoggerTest, CommunicationDumpsShowHexThenFrameTextOnFileThenHost) {
  for (const DumpCase& c : dumpCases()) {
    SCOPED_TRACE(c.name);
    journal().clear();
    logCommTraceHex(c.data.data(), c.data.size());

    Lines file = textsFrom("communicationFile");
    Lines host = hostMessages("comm");
    ASSERT_EQ(file, host) << "the host sees what the file category sees";
    if (!c.hex.empty()) {
      Lines expected = c.hex;
      expected.insert(expected.end(), c.comm.begin(), c.comm.end());
      EXPECT_EQ(file, expected);
    } else {
      ASSERT_GE(file.size(), c.comm.size());
      EXPECT_EQ(Lines(file.end() - c.comm.size(), file.end()), c.comm);
    }

    // The whole hex dump goes to the file category, then to the host, and
    // only then the communication dump, in the same order.
    const size_t hexLines = file.size() - c.comm.size();
    std::vector<std::string> order;
    for (const LoggedLine& line : journal()) order.push_back(line.source);
    std::vector<std::string> expectedOrder;
    expectedOrder.insert(expectedOrder.end(), hexLines, "communicationFile");
    expectedOrder.insert(expectedOrder.end(), hexLines, "comm");
    expectedOrder.insert(expectedOrder.end(), c.comm.size(), "communicationFile");
    expectedOrder.insert(expectedOrder.end(), c.comm.size(), "comm");
    EXPECT_EQ(order, expectedOrder);
  }
}

using HexLog = void (*)(const void*, size_t);

struct HexFamilyCase {
  const char* name;
  HexLog log;
  const char* fileCategory;
  const char* hostSource;
  int priority;
};

TEST_F(LoggerTest, DeveloperAndBusinessDumpsAreHexOnly) {
  const HexFamilyCase cases[] = {
      {"logDevFatalHex", logDevFatalHex, "developerFile", "dev", 0},
      {"logDevWarnHex", logDevWarnHex, "developerFile", "dev", 400},
      {"logDevTraceHex", logDevTraceHex, "developerFile", "dev", 800},
      {"logBusErrorHex", logBusErrorHex, "businessFile", "bus", 300},
      {"logBusInfoHex", logBusInfoHex, "businessFile", "bus", 600},
      {"logBusDebugHex", logBusDebugHex, "businessFile", "bus", 700},
  };
  const DumpCase frame = dumpCases()[0];
  for (const HexFamilyCase& c : cases) {
    SCOPED_TRACE(c.name);
    journal().clear();
    c.log(frame.data.data(), frame.data.size());
    EXPECT_EQ(textsFrom(c.fileCategory), frame.hex);
    EXPECT_EQ(hostMessages(c.hostSource), frame.hex);
    for (const LoggedLine& line : journal()) {
      if (line.source == c.fileCategory) {
        EXPECT_EQ(line.priority, c.priority);
      }
    }
    EXPECT_EQ(journal().size(), 2 * frame.hex.size()) << "nothing on other categories";
  }
}

TEST_F(LoggerTest, CountWithoutDataIsAnEmptyBuffer) {
  logCommErrorHex(nullptr, 5);
  EXPECT_EQ(textsFrom("communicationFile"),
            (Lines{"Printing 0 bytes: ", "Empty buffer", "Printing 0 communication data bytes: ",
                   "Empty buffer"}));
  journal().clear();
  logDevErrorHex(nullptr, 300);
  EXPECT_EQ(textsFrom("developerFile"), (Lines{"Printing 0 bytes: ", "Empty buffer"}));
}

}  // namespace

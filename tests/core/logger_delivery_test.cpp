// Where the facade's lines go when a file category has no appender of its
// own (log4c may still pass them to root), and a host log callback that logs
// again while it reads its line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogRecorder.h"
#include "core/Logger.h"

namespace {

using Lines = std::vector<std::string>;

const std::string DASHES(67, '-');
const std::string HEX_HEADER = "00 01 02 03 04 05 06 07 08 09 10 11 12 13 14 15    0123456789ABCDEF";

// The fixture gives developerFile no appender and no additivity.
TEST(LoggerDeliveryTest, FileLinesReachRootOnlyThroughAnAdditiveCategory) {
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  zq::test::recordCategory("root");
  const unsigned char data[] = {0x31, 0x32};
  const Lines everything = {"text 1", "Printing 2 bytes: ", HEX_HEADER, DASHES,
                            "31 32                                              12", DASHES};
  struct Case {
    const char* name;
    bool additive;
    Lines expected;
  };
  const Case cases[] = {{"not additive", false, {}}, {"additive", true, everything}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log4c_category_set_additivity(log4c_category_get("developerFile"), c.additive ? 1 : 0);
    zq::test::journal().clear();
    logDevTrace("text %d", 1);
    logDevTraceHex(data, sizeof data);
    EXPECT_EQ(zq::test::textsFrom("developerFile"), c.expected);
  }
  // An appender given to the category later (as a reread of log4crc does)
  // gets the lines from then on.
  log4c_category_set_additivity(log4c_category_get("developerFile"), 0);
  zq::test::recordCategory("developerFile");
  zq::test::journal().clear();
  logDevTrace("text %d", 1);
  logDevTraceHex(data, sizeof data);
  EXPECT_EQ(zq::test::textsFrom("developerFile"), everything);
}

Lines& seenByHost() {
  static Lines lines;
  return lines;
}

// Logs a line of its own on the first call, then reads the line it was given.
void loggingHostCallback(const char* line) {
  static bool nested = false;
  if (!nested) {
    nested = true;
    logDevError("inner %d", 2);
    nested = false;
  }
  seenByHost().push_back(line);
}

TEST(LoggerDeliveryTest, AHostCallbackThatLogsKeepsItsOwnLine) {
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  cb_setHandleDevLog(loggingHostCallback);
  seenByHost().clear();
  logDevError("outer line %d, long enough to need the heap", 1);
  ASSERT_EQ(seenByHost().size(), 2u);
  EXPECT_NE(seenByHost()[0].find("ERROR - inner 2\n"), std::string::npos) << seenByHost()[0];
  EXPECT_NE(seenByHost()[1].find("ERROR - outer line 1, long enough to need the heap\n"), std::string::npos)
      << seenByHost()[1];
}

}  // namespace

// The facade under a log4crc that admits errors only: text lines ignore the
// configured priority, dumps obey it, on the file and the inner categories.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "LogRecorder.h"
#include "core/Logger.h"

namespace {

using zq::test::journal;
using zq::test::textsFrom;

std::string fixtureFolder() {
  std::string here = __FILE__;
  return here.substr(0, here.find_last_of('/')) + "/../fixtures/errors-only";
}

class ErrorsOnlyLoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Each case runs in its own process, so log4c reads this before starting.
    ASSERT_EQ(setenv("LOG4C_RCPATH", fixtureFolder().c_str(), 1), 0);
    ASSERT_TRUE(zq::app::logging::initializeLoggers());
    ASSERT_EQ(log4c_category_get_priority(log4c_category_get("communicationInner")),
              LOG4C_PRIORITY_ERROR)
        << "the fixture log4crc was not read";
    for (const char* name : {"developerFile", "communicationFile", "businessFile"})
      zq::test::recordCategory(name);
    zq::test::recordHostLogs();
    journal().clear();
  }
};

TEST_F(ErrorsOnlyLoggerTest, TextLinesPassWhateverTheirLevel) {
  const struct {
    void (*log)(const char*, ...);
    const char* fileCategory;
    const char* hostSource;
  } cases[] = {
      {logDevTrace, "developerFile", "dev"},
      {logCommDebug, "communicationFile", "comm"},
      {logBusInfo, "businessFile", "bus"},
      {logBusError, "businessFile", "bus"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fileCategory);
    journal().clear();
    c.log("Sent %d bytes", 12);
    EXPECT_EQ(textsFrom(c.fileCategory), std::vector<std::string>{"Sent 12 bytes"});
    ASSERT_EQ(textsFrom(c.hostSource).size(), 1u);
    EXPECT_NE(textsFrom(c.hostSource)[0].find("- Sent 12 bytes\n"), std::string::npos);
  }
}

TEST_F(ErrorsOnlyLoggerTest, DumpsPassOnlyAtErrorOrWorse) {
  const unsigned char frame[] = {0x02, 0x31, 0x03, 0x32};
  const struct {
    const char* name;
    void (*log)(const void*, size_t);
    size_t expectedLines;  // on the file category, and as many for the host
  } cases[] = {
      {"logDevTraceHex", logDevTraceHex, 0},
      {"logDevWarnHex", logDevWarnHex, 0},
      {"logDevErrorHex", logDevErrorHex, 5},
      {"logCommInfoHex", logCommInfoHex, 0},
      {"logCommDebugHex", logCommDebugHex, 0},
      {"logCommErrorHex", logCommErrorHex, 5 + 4},
      {"logCommFatalHex", logCommFatalHex, 5 + 4},
      {"logBusTraceHex", logBusTraceHex, 0},
      {"logBusFatalHex", logBusFatalHex, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    journal().clear();
    c.log(frame, sizeof frame);
    EXPECT_EQ(journal().size(), 2 * c.expectedLines);
  }
}

}  // namespace

// The loggers start on the first terminal call that needs them. Each case
// runs in a process of its own, so each sees the loggers down at its start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "api/EcrTestHelpers.h"
#include "api/LoggerManager.h"
#include "zumbra_ecr.h"

namespace {

using zq::test::hasLevel;
using zq::test::hostLinesWith;
using zq::test::journal;

const char* const kStartLine = "Logging started, library version: 1.6.0.0";

// The start line reached the host once on each of the three categories, at
// info level.
void expectStartLineOnEveryCategory() {
  for (const char* source : {"dev", "bus", "comm"}) {
    SCOPED_TRACE(source);
    const auto lines = hostLinesWith(source, kStartLine);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(hasLevel(lines[0], "INFO"));
  }
}

bool loggersUp() { return zq::app::logging::LoggerManager::getInstance().isStarted(); }

struct StartingCall {
  const char* name;
  void (*call)();
};

// Each of these is the first call of a process in one run of the test.
const StartingCall kStartingCalls[] = {
    {"ecr_initialize",
     [] {
       EcrCtx_s* ctx = nullptr;
       EXPECT_EQ(ecr_initialize(&ctx), ECR_OK);
       ecr_cleanup(&ctx);
     }},
    {"ecr_setProtocol on a NULL context", [] { ecr_setProtocol(nullptr, 0); }},
    {"ecr_setTcpIpLink on a NULL context",
     [] { EXPECT_EQ(ecr_setTcpIpLink(nullptr, "127.0.0.1", 1, 100), ECR_NOT_INITIALIZED); }},
    {"ecr_setSerialLink on a NULL context",
     [] {
       EXPECT_EQ(ecr_setSerialLink(nullptr, "/dev/null", COMM_8N1, COMM_BAUD_9600, 100),
                 ECR_NOT_INITIALIZED);
     }},
    {"ecr_getVersion", [] { EXPECT_STREQ(ecr_getVersion(), "1.6.0.0"); }},
    {"a guarded function", [] { ecr_getLastReturnCode(nullptr, nullptr); }},
};

class LoggerStartTest : public ::testing::TestWithParam<size_t> {};

TEST_P(LoggerStartTest, FirstCallStartsTheLoggersOnce) {
  const StartingCall& first = kStartingCalls[GetParam()];
  SCOPED_TRACE(first.name);
  zq::test::recordHostLogs();
  ASSERT_FALSE(loggersUp());
  first.call();
  EXPECT_TRUE(loggersUp());
  expectStartLineOnEveryCategory();
  // Later calls find them up and log no second start line.
  for (const StartingCall& later : kStartingCalls) later.call();
  expectStartLineOnEveryCategory();
}

INSTANTIATE_TEST_SUITE_P(EachStartingCall, LoggerStartTest,
                         ::testing::Range<size_t>(0, sizeof kStartingCalls / sizeof kStartingCalls[0]));

TEST(LoggerStart, CleanupAndCloseConnectionDoNotStartThem) {
  zq::test::recordHostLogs();
  EcrCtx_s* none = nullptr;
  ecr_cleanup(&none);
  ecr_cleanup(nullptr);
  EXPECT_EQ(ecr_closeConnection(nullptr), ECR_NOT_INITIALIZED);
  EXPECT_FALSE(loggersUp());
  EXPECT_TRUE(journal().empty()) << "no line can reach the host while the loggers are down";

  EXPECT_STREQ(ecr_getVersion(), "1.6.0.0");
  EXPECT_TRUE(loggersUp());
  expectStartLineOnEveryCategory();
}

// A configuration log4c refuses: the first start fails, and log4c lets the
// next one through.
void useBrokenConfiguration() {
  char dir[] = "/tmp/zq-api-log4crc-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::ofstream(std::string(dir) + "/log4crc") << "<?xml version=\"1.0\"?>\n<log4c><category name=\"x\"\n";
  setenv("LOG4C_RCPATH", dir, 1);
}

TEST(LoggerStart, FailedStartIsReportedAndTriedAgain) {
  useBrokenConfiguration();
  zq::test::recordHostLogs();
  EcrCtx_s* ctx = nullptr;
  EXPECT_EQ(ecr_initialize(&ctx), ECR_LOGGER_ERROR);
  EXPECT_EQ(ctx, nullptr) << "no context without loggers";
  EXPECT_FALSE(loggersUp());
  EXPECT_TRUE(hostLinesWith("bus", kStartLine).empty());

  // The next call tries again; this time the start succeeds.
  EXPECT_EQ(ecr_initialize(&ctx), ECR_OK);
  EXPECT_NE(ctx, nullptr);
  EXPECT_TRUE(loggersUp());
  expectStartLineOnEveryCategory();
  ecr_cleanup(&ctx);
}

// The link setters answer the failed start before anything else, and a
// setter that needs no loggers still does its work.
TEST(LoggerStart, EveryStartingCallAnswersAFailedStart) {
  struct Case {
    const char* name;
    void (*call)();
  };
  const Case cases[] = {
      {"ecr_setTcpIpLink answers 8",
       [] { EXPECT_EQ(ecr_setTcpIpLink(nullptr, "127.0.0.1", 1, 100), ECR_LOGGER_ERROR); }},
      {"ecr_setSerialLink answers 8",
       [] {
         EXPECT_EQ(ecr_setSerialLink(nullptr, "/dev/null", COMM_8N1, COMM_BAUD_9600, 100),
                   ECR_LOGGER_ERROR);
       }},
      {"ecr_getVersion goes on", [] { EXPECT_STREQ(ecr_getVersion(), "1.6.0.0"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // log4c refuses a broken file only on its first start, so each case
    // needs a fresh process: run it in a child.
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
          useBrokenConfiguration();
          c.call();
          std::exit(::testing::Test::HasFailure() || loggersUp() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
  }
}

}  // namespace

// Start and stop of the facade. Stopping is final for the process (log4c
// cannot be started again), so these cases live in a program of their own.
#include <gtest/gtest.h>

#include "LogRecorder.h"
#include "core/Logger.h"

namespace {

using zq::test::journal;

const unsigned char FRAME[] = {0x02, 0x31, 0x03, 0x32};

void logOneOfEach() {
  logDevError("x");
  logCommFatal("x");
  logBusTrace("x");
  logDevErrorHex(FRAME, sizeof FRAME);
  logCommTraceHex(FRAME, sizeof FRAME);
  logBusInfoHex(FRAME, sizeof FRAME);
}

TEST(LoggerLifecycleTest, LogsOnlyWhileStarted) {
  zq::test::recordHostLogs();
  logOneOfEach();
  EXPECT_TRUE(journal().empty()) << "nothing before the start";

  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  journal().clear();
  logDevError("x");
  EXPECT_EQ(journal().size(), 1u);

  ASSERT_TRUE(zq::app::logging::closeLoggers());
  journal().clear();
  logOneOfEach();
  EXPECT_TRUE(journal().empty()) << "nothing after the stop";

  // A later start is refused instead of crashing inside log4c.
  EXPECT_FALSE(zq::app::logging::initializeLoggers());
  logOneOfEach();
  EXPECT_TRUE(journal().empty());
}

TEST(LoggerLifecycleTest, StoppingWhatNeverStartedIsHarmless) {
  EXPECT_TRUE(zq::app::logging::closeLoggers());
  logDevError("x");
  // Nothing was stopped, so the facade may still start.
  zq::test::recordHostLogs();
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  journal().clear();
  logDevError("x");
  EXPECT_EQ(journal().size(), 1u);
}

}  // namespace

// Threads against the one-thread-at-a-time rule of a context: calls from a
// second thread while a command runs are refused instead of pulling the link
// or the protocol from under it; two threads hammering one context get
// answers, never a corrupted store; and two contexts initialised at the same
// moment start the loggers once.
#include <gtest/gtest.h>
#include <log4c.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "api/EcrTestHelpers.h"
#include "core/Sleep.h"
#include "core/TagNames.h"
#include "support/PurchaseScript.h"
#include "support/TerminalSimulator.h"
#include "zumbra_ecr.h"

namespace {

using zq::test::TerminalSimulator;

void skipPause(unsigned) {}
bool yes(const char*) { return true; }
void seen(const char*) {}

// Host log lines arrive on every thread that logs: only counted here.
std::atomic<int> gBusyLines{0};
void countBusyLines(const char* line) {
  if (std::strstr(line, "- ECR context busy, call refused") != nullptr) ++gBusyLines;
}

// The card callback of the purchase on thread A holds the purchase until the
// other thread has made its calls.
struct Rendezvous {
  std::mutex mutex;
  std::condition_variable changed;
  bool inside = false;
  bool released = false;
} gMeet;

bool cardHeldUntilReleased(const char*) {
  std::unique_lock<std::mutex> lock(gMeet.mutex);
  gMeet.inside = true;
  gMeet.changed.notify_all();
  // Bounded, so that a library that deadlocks fails the test instead of hanging it.
  gMeet.changed.wait_for(lock, std::chrono::seconds(20), [] { return gMeet.released; });
  return true;
}

class ThreadsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zq::app::utils::registerCustomSleep(skipPause);
    cb_setHandleBusLog(countBusyLines);
    cb_setWaitForPin(yes);
    cb_setShowPromptScreen(seen);
    cb_setWaitForCardRemoval(seen);
  }
  void TearDown() override { zq::app::utils::registerCustomSleep(nullptr); }
};

TEST_F(ThreadsTest, CallsFromAnotherThreadWhileACommandRunsAreRefused) {
  cb_setWaitForCard(cardHeldUntilReleased);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    zq::test::PurchaseDetails sale;
    TerminalSimulator terminal(zq::test::purchaseScript(sale));
    EcrCtx_s* ctx = nullptr;
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
    ecr_setProtocol(ctx, 0);
    ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", terminal.port(), 1000), ECR_OK);
    ASSERT_EQ(ecr_setCashRegisterId(ctx, &sale.cashRegister, 1), ECR_OK);
    ASSERT_EQ(ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE), ECR_OK);
    ASSERT_EQ(ecr_setTransactionAmount(ctx, sale.amount.c_str()), ECR_OK);
    {
      std::lock_guard<std::mutex> lock(gMeet.mutex);
      gMeet.inside = false;
      gMeet.released = false;
    }

    ecr_status purchase = ECR_ERROR;
    std::thread a([&] { purchase = ecr_startTransaction(ctx); });

    std::vector<ecr_status> answers;
    int busyVoidCalls = 0;
    {
      std::unique_lock<std::mutex> lock(gMeet.mutex);
      ASSERT_TRUE(gMeet.changed.wait_for(lock, std::chrono::seconds(20), [] { return gMeet.inside; }));
    }
    uint8_t value[16];
    size_t length = sizeof value;
    answers.push_back(ecr_startTransaction(ctx));
    answers.push_back(ecr_getTerminalStatus(ctx));
    answers.push_back(ecr_setTransactionAmount(ctx, "999"));
    answers.push_back(ecr_readTag(ctx, zq::app::tlv::TAG_AMOUNT, value, &length));
    answers.push_back(ecr_setTcpIpLink(ctx, "127.0.0.1", zq::test::refusedPort(), 50));
    answers.push_back(ecr_closeConnection(ctx));
    const int before = gBusyLines.load();
    ecr_setProtocol(ctx, 0);
    EcrCtx_s* handle = ctx;
    ecr_cleanup(&handle);
    busyVoidCalls = gBusyLines.load() - before;
    {
      std::lock_guard<std::mutex> lock(gMeet.mutex);
      gMeet.released = true;
      gMeet.changed.notify_all();
    }
    a.join();

    EXPECT_EQ(answers, std::vector<ecr_status>(6, ECR_INVALID_ARGUMENT));
    EXPECT_EQ(busyVoidCalls, 2);
    EXPECT_EQ(handle, ctx);
    EXPECT_EQ(purchase, ECR_OK);
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
    // The purchase ran on its own protocol to the end: its amount, not 999.
    char amount[13] = {};
    EXPECT_EQ(ecr_readTransactionAmount(ctx, amount), ECR_OK);
    EXPECT_STREQ(amount, sale.amount.c_str());
    ecr_cleanup(&ctx);
  }
}

// Both threads run commands, setters and readers on one context as fast as
// they can. Each call either runs alone or is refused; the terminal answers
// every status read it gets.
TEST_F(ThreadsTest, TwoThreadsOnOneContextGetAnswersNotCorruption) {
  constexpr int kRounds = 300;
  TerminalSimulator terminal;
  for (int i = 0; i < 2 * kRounds; ++i)
    terminal.addStep(TerminalSimulator::anyRequest(TerminalSimulator::fields({"20", "0", "00"})));
  EcrCtx_s* ctx = nullptr;
  ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
  ecr_setProtocol(ctx, 0);
  ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", terminal.port(), 2000), ECR_OK);
  ASSERT_EQ(ecr_setCashRegisterId(ctx, "1", 1), ECR_OK);

  std::atomic<int> refused{0};
  auto hammer = [&](int id, std::set<ecr_status>& seenCodes) {
    const std::string title = "Title of thread " + std::to_string(id);
    const uint8_t raw[] = {static_cast<uint8_t>(id), 0x10, 0x20};
    for (int i = 0; i < kRounds; ++i) {
      uint8_t value[64];
      size_t length = sizeof value;
      ecr_terminalStatus status = TERMINAL_STATUS_UNRECOGNISED;
      const ecr_status codes[] = {
          ecr_setTransactionTitle(ctx, title.c_str()),
          ecr_getTerminalStatus(ctx),
          ecr_readTerminalStatus(ctx, &status),
          ecr_setTag(ctx, 0x9FCD60, raw, sizeof raw),
          ecr_readTag(ctx, 0x9FCD60, value, &length),
          ecr_setTagToEmpty(ctx, 0x9FCD60),
      };
      for (ecr_status code : codes) {
        seenCodes.insert(code);
        if (code == ECR_INVALID_ARGUMENT) ++refused;
      }
    }
  };
  std::set<ecr_status> codes1, codes2;
  std::thread t1(hammer, 1, std::ref(codes1));
  std::thread t2(hammer, 2, std::ref(codes2));
  t1.join();
  t2.join();

  // Done, refused, or a tag that the other thread had just removed.
  const std::set<ecr_status> allowed = {ECR_OK, ECR_INVALID_ARGUMENT, ECR_NO_DATA};
  for (const std::set<ecr_status>* codes : {&codes1, &codes2})
    for (ecr_status code : *codes) EXPECT_TRUE(allowed.count(code)) << "answer " << code;
  EXPECT_TRUE(terminal.mismatches().empty());
  RecordProperty("refused", refused.load());
  ecr_cleanup(&ctx);
}

// Counts the version messages the developer file category receives. It
// looks at each event's own message: log4c's "dated" layout renders into one
// buffer for all threads, so lines rendered at the same moment on two threads
// cannot be told apart reliably, while the messages can.
std::atomic<int> gVersionMessages{0};
int countNothingOpen(log4c_appender_t*) { return 0; }
int countVersionMessage(log4c_appender_t*, const log4c_logging_event_t* event) {
  if (event->evt_msg && std::strcmp(event->evt_msg, "Logging started, library version: 1.6.0.0") == 0)
    ++gVersionMessages;
  return 0;
}
const log4c_appender_type_t kCountingAppenderType = {"testCountingAppenderType", countNothingOpen,
                                                     countVersionMessage, nullptr};

std::string countingFixture() {
  const std::string here = __FILE__;
  return here.substr(0, here.find_last_of('/')) + "/../fixtures/counting";
}

// The loggers start once per process, so each try runs in a child process of
// its own: two threads initialise their own contexts at the same moment. A
// second start shows as a second version message (and, in the sanitizer
// build, as appenders leaked at exit, which fails the child's exit status).
int twoContextsStartTogether() {
  setenv("LOG4C_RCPATH", countingFixture().c_str(), 1);
  // Known to log4c before it reads the log4crc that names it.
  log4c_appender_type_set(&kCountingAppenderType);
  std::atomic<int> ready{0};
  EcrCtx_s* contexts[2] = {nullptr, nullptr};
  ecr_status answers[2] = {ECR_ERROR, ECR_ERROR};
  auto start = [&](int i) {
    ++ready;
    // Yielding, not spinning bare: under valgrind, which runs one thread at a
    // time, a bare spin holds the other thread off for a whole time slice.
    while (ready.load() < 2) std::this_thread::yield();
    answers[i] = ecr_initialize(&contexts[i]);
  };
  std::thread first(start, 0);
  std::thread second(start, 1);
  first.join();
  second.join();
  for (EcrCtx_s*& ctx : contexts) ecr_cleanup(&ctx);
  return answers[0] == ECR_OK && answers[1] == ECR_OK && gVersionMessages.load() == 1 ? 0 : 1;
}

TEST(LoggerStart, TwoContextsInitialisedTogetherStartTheLoggersOnce) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    SCOPED_TRACE(attempt);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    // exit, not _exit: the leak check of the sanitizer build runs at exit.
    if (child == 0) std::exit(twoContextsStartTogether());
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
}

}  // namespace

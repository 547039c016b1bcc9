// Hostile terminals through the exported functions: a reply built to change
// the next request, bytes that never make a frame, a terminal that drips, a
// terminal that is down when the host sets the link, one that hangs up after
// every sale. Each case asserts the code of the hostile transaction, that
// the call ended within the link's bound (the time-out of one reply wait;
// the faults themselves last many times longer), and that the purchases
// after it on the same context send exactly what the host set and succeed.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Sleep.h"
#include "support/PurchaseScript.h"
#include "support/TerminalSimulator.h"
#include "zumbra_callbacks.h"
#include "zumbra_ecr.h"

namespace zq::test {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kTimeoutMs = 200;
// A hostile call ends after about one time-out (a few when it spans several
// exchanges); the margin is for a busy machine, and far below the seconds
// that each fault goes on for.
constexpr std::chrono::milliseconds kBound(3 * kTimeoutMs + 1500);
constexpr size_t kEndDataStep = 8;  // of purchaseScript()

void ignorePause(unsigned) {}
bool yes(const char*) { return true; }
void seen(const char*) {}

// The end data of a sale whose details carry this amount.
Bytes endDataWithAmount(const std::string& amount) {
  PurchaseDetails details;
  details.amount = amount;
  return purchaseEndDataReply(details);
}

// "22" FS "0" FS "1" FS "0" ... with the separator between kind and return
// code lost: the kind reads as 10, a reversal, and the reply then fails.
Bytes endDataWithALostSeparator() {
  Bytes reply = TerminalSimulator::fields({"22", "0", "10", "42"});
  const std::string details = purchaseDetailsText(PurchaseDetails());
  reply.push_back(TerminalSimulator::FS);
  reply.insert(reply.end(), details.begin(), details.end());
  return reply;
}

std::vector<PeerStep> saleWithEndData(const Bytes& endData) {
  std::vector<PeerStep> script = purchaseScript();
  script[kEndDataStep].reply = endData;
  return script;
}

// The first status read answered by a stream of `pattern` for five seconds.
std::vector<PeerStep> floodedStatusRead(const Bytes& pattern) {
  std::vector<PeerStep> script = purchaseScript();
  script[0].flood = pattern;
  script[0].floodMs = 5000;
  script[0].silent = true;
  return script;
}

std::vector<PeerStep> drippedEndData() {
  std::vector<PeerStep> script = purchaseScript();
  // Every byte well within the time-out of the one before: the end data
  // would take half a minute.
  script[kEndDataStep].dripMs = 150;
  return script;
}

struct HostileCase {
  const char* name;
  std::function<std::vector<PeerStep>()> script;  // none: the terminal is down at link set-up
  ecr_status code;
  // A purchase right after it, with nothing set again: a reply that was
  // accepted keeps what it stored, and a value the host could not have set
  // is refused rather than sent.
  ecr_status untouched;
};

const HostileCase kCases[] = {
    {"a failed reply with a reversal kind", [] { return saleWithEndData(endDataWithALostSeparator()); },
     ECR_COMM_ERROR, ECR_OK},
    {"an accepted reply with a 452-digit amount",
     [] { return saleWithEndData(endDataWithAmount(std::string(452, '7'))); }, ECR_OK, ECR_NO_DATA},
    {"endless bytes without an STX", [] { return floodedStatusRead({'n', 'o', 'i', 's', 'e', 0x03}); },
     ECR_COMM_ERROR, ECR_OK},
    {"an STX and never an ETX", [] { return floodedStatusRead({0x02, 'A', 'B', 'C'}); }, ECR_COMM_ERROR,
     ECR_OK},
    {"a stream of NAKs", [] { return floodedStatusRead({0x15}); }, ECR_COMM_ERROR, ECR_OK},
    {"a drip of a byte every 150 ms", drippedEndData, ECR_COMM_ERROR, ECR_OK},
    {"down when the host sets the link", nullptr, ECR_COMM_ERROR, ECR_OK},
};

class HostileTerminal : public ::testing::TestWithParam<HostileCase> {
 protected:
  void SetUp() override {
    app::utils::registerCustomSleep(ignorePause);
    cb_setWaitForCard(yes);
    cb_setWaitForPin(yes);
    cb_setShowPromptScreen(seen);
    cb_setWaitForCardRemoval(seen);
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
    ecr_setProtocol(ctx, 0);
  }
  void TearDown() override {
    ecr_cleanup(&ctx);
    app::utils::registerCustomSleep(nullptr);
  }

  // What the host does before every transaction.
  void setSale() {
    ASSERT_EQ(ecr_setCashRegisterId(ctx, "1", 1), ECR_OK);
    ASSERT_EQ(ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE), ECR_OK);
    ASSERT_EQ(ecr_setTransactionAmount(ctx, PurchaseDetails().amount.c_str()), ECR_OK);
    ASSERT_EQ(ecr_setTransactionTitle(ctx, ""), ECR_OK);
  }

  ecr_status timedStart(Clock::duration& took) {
    const Clock::time_point started = Clock::now();
    const ecr_status status = ecr_startTransaction(ctx);
    took = Clock::now() - started;
    return status;
  }

  // A clean sale: exactly the requests of the host's purchase, and success.
  void expectCleanSale(TerminalSimulator& terminal) {
    terminal.clearScript();
    const size_t before = terminal.requests().size();
    for (const PeerStep& step : purchaseScript()) terminal.addStep(step);
    EXPECT_EQ(ecr_startTransaction(ctx), ECR_OK);
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
    EXPECT_EQ(terminal.requests().size() - before, purchaseScript().size());
  }

  EcrCtx_s* ctx = nullptr;
};

TEST_P(HostileTerminal, EndsWithinTheBoundAndTheNextSaleSendsWhatTheHostSet) {
  const HostileCase& c = GetParam();
  Clock::duration took{};
  std::unique_ptr<TerminalSimulator> terminal;
  if (!c.script) {
    uint16_t port;
    {
      TerminalSimulator gone;
      port = gone.port();
    }
    const Clock::time_point started = Clock::now();
    EXPECT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", port, kTimeoutMs), c.code);
    took = Clock::now() - started;
    terminal = std::make_unique<TerminalSimulator>(std::vector<PeerStep>(), port);
    setSale();
  } else {
    terminal = std::make_unique<TerminalSimulator>();
    ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", terminal->port(), kTimeoutMs), ECR_OK);
    setSale();
    for (const PeerStep& step : c.script()) terminal->addStep(step);
    EXPECT_EQ(timedStart(took), c.code);
  }
  EXPECT_LT(took, kBound);

  terminal->clearScript();
  if (c.untouched == ECR_OK) {
    expectCleanSale(*terminal);
  } else {
    // The terminal is idle; the start request is refused before it is sent.
    terminal->addStep(TerminalSimulator::step(statusRequest(), statusReply(0x00)));
    const size_t before = terminal->requests().size();
    EXPECT_EQ(ecr_startTransaction(ctx), c.untouched);
    EXPECT_EQ(terminal->requests().size() - before, 1u);
  }

  setSale();
  expectCleanSale(*terminal);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileTerminal, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<HostileCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p != '\0'; ++p) {
                             if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9')) {
                               name += *p;
                             } else if (!name.empty() && name.back() != '_') {
                               name += '_';
                             }
                           }
                           return name;
                         });

// Many terminals close the connection after the last reply of every sale;
// each next sale must find a fresh connection before its first request.
TEST(HangingUpTerminal, ServesTenPurchasesInARow) {
  app::utils::registerCustomSleep(ignorePause);
  cb_setWaitForCard(yes);
  cb_setWaitForPin(yes);
  cb_setShowPromptScreen(seen);
  cb_setWaitForCardRemoval(seen);
  EcrCtx_s* ctx = nullptr;
  ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
  ecr_setProtocol(ctx, 0);
  {
    TerminalSimulator terminal;
    ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", terminal.port(), kTimeoutMs), ECR_OK);
    for (int sale = 0; sale < 10; ++sale) {
      SCOPED_TRACE("sale " + std::to_string(sale));
      ASSERT_EQ(ecr_setCashRegisterId(ctx, "1", 1), ECR_OK);
      ASSERT_EQ(ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE), ECR_OK);
      ASSERT_EQ(ecr_setTransactionAmount(ctx, PurchaseDetails().amount.c_str()), ECR_OK);
      std::vector<PeerStep> script = purchaseScript();
      script.back().dropAfter = true;
      for (const PeerStep& step : script) terminal.addStep(step);
      EXPECT_EQ(ecr_startTransaction(ctx), ECR_OK);
      ASSERT_TRUE(terminal.waitForClosed(sale + 1, 1000));
    }
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
    EXPECT_EQ(terminal.connectionCount(), 10);
    EXPECT_EQ(terminal.stepsDone(), 10 * purchaseScript().size());
    ecr_closeConnection(ctx);
  }
  ecr_cleanup(&ctx);
  app::utils::registerCustomSleep(nullptr);
}

}  // namespace
}  // namespace zq::test

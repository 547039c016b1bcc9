// A whole purchase over the serial client, against the scripted terminal on
// a pseudo-terminal (PtyBridge, as the wine runs of the Windows DLL use it):
// the line settings a host asks for reach the line, and the terminal sees
// exactly the requests of a purchase.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "api/EcrTestHelpers.h"
#include "core/Sleep.h"
#include "support/PtyBridge.h"
#include "support/PurchaseScript.h"
#include "support/TerminalSimulator.h"
#include "zumbra_ecr.h"

namespace {

using zq::test::PtyBridge;
using zq::test::TerminalSimulator;

void ignorePause(unsigned) {}
bool yes(const char*) { return true; }
void seen(const char*) {}

class SerialPurchaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zq::app::utils::registerCustomSleep(ignorePause);
    cb_setWaitForCard(yes);
    cb_setWaitForPin(yes);
    cb_setShowPromptScreen(seen);
    cb_setWaitForCardRemoval(seen);
    char folder[] = "/tmp/zq-serial-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    folder_ = folder;
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
  }
  void TearDown() override {
    ecr_cleanup(&ctx);
    ::rmdir(folder_.c_str());
    zq::app::utils::registerCustomSleep(nullptr);
  }
  std::string port() const { return folder_ + "/ttyZQ0"; }

  EcrCtx_s* ctx = nullptr;
  std::string folder_;
};

TEST_F(SerialPurchaseTest, APurchaseRunsAtTheLineSettingsAsked) {
  struct Case {
    comm_SerialDataMode mode;
    comm_SerialBaudrate baudrate;
    unsigned terminalBaud;  // the speed the terminal's side of the line runs at
    bool lineMatches;
  };
  const Case cases[] = {
      {COMM_8N1, COMM_BAUD_115200, 115200, true},
      {COMM_7E1, COMM_BAUD_9600, 9600, true},
      // A host set to another speed than the terminal's: the bridge sees it.
      {COMM_8N1, COMM_BAUD_19200, 9600, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("baud rate index " + std::to_string(c.baudrate) + ", terminal at " +
                 std::to_string(c.terminalBaud));
    zq::test::PurchaseDetails sale;
    TerminalSimulator terminal(zq::test::purchaseScript(sale));
    std::vector<std::string> lineMismatches;
    {
      PtyBridge line(terminal.port(), port(), c.terminalBaud);
      ecr_setProtocol(ctx, 0);
      ASSERT_EQ(ecr_setSerialLink(ctx, port().c_str(), c.mode, c.baudrate, 500), ECR_OK);
      ASSERT_EQ(ecr_setCashRegisterId(ctx, "1", 1), ECR_OK);
      ASSERT_EQ(ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE), ECR_OK);
      ASSERT_EQ(ecr_setTransactionAmount(ctx, sale.amount.c_str()), ECR_OK);

      EXPECT_EQ(ecr_startTransaction(ctx), ECR_OK);
      ecr_closeConnection(ctx);
      EXPECT_TRUE(terminal.waitForClosed(1, 5000));
      lineMismatches = line.mismatches();
    }
    EXPECT_TRUE(terminal.mismatches().empty());
    EXPECT_EQ(terminal.stepsDone(), terminal.requests().size());
    if (c.lineMatches) {
      EXPECT_TRUE(lineMismatches.empty()) << lineMismatches.front();
    } else {
      EXPECT_EQ(lineMismatches, std::vector<std::string>{"line at 19200 baud, expected 9600"});
    }
  }
}

}  // namespace

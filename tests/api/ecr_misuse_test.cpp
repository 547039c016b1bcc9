// A careless host: numbers outside an enumeration, texts that hold the
// link's control bytes, and calls made from a callback while a purchase runs
// on the same context. Each row is one such call and the code it must
// answer; the sanitizer build must report nothing for any of them, and the
// purchase around a callback row still ends as the terminal scripted it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "api/EcrTestHelpers.h"
#include "core/Sleep.h"
#include "core/TagNames.h"
#include "support/PurchaseScript.h"
#include "support/TerminalSimulator.h"
#include "zumbra_ecr.h"

namespace {

using zq::test::TerminalSimulator;

constexpr uint32_t kLinkTimeoutMs = 300;
const char kBusyLine[] = "ECR context busy, call refused";

void skipPause(unsigned) {}
bool yes(const char*) { return true; }
void seen(const char*) {}

// What the card callback does with the context of the running purchase.
using Call = std::function<ecr_status(EcrCtx_s*& ctx)>;
EcrCtx_s* gCtx = nullptr;
Call gFromCallback;
std::vector<ecr_status> gCallbackAnswers;

bool cardWithCall(const char*) {
  if (gFromCallback) gCallbackAnswers.push_back(gFromCallback(gCtx));
  return true;
}

size_t busyLines() { return zq::test::hostLinesWith("bus", kBusyLine).size(); }

// The two functions without a return code answer through the log: the busy
// line means they refused.
ecr_status answeredByLog(const std::function<void()>& call) {
  const size_t before = busyLines();
  call();
  return busyLines() > before ? ECR_INVALID_ARGUMENT : ECR_OK;
}

struct MisuseRow {
  std::string name;
  bool fromCallback;  // made from the card callback of a running purchase
  Call call;
  ecr_status expected;
};

ecr_status type(EcrCtx_s* c, int32_t number) {
  // A C host may pass any int where the enumeration is expected.
  return ecr_setTransactionType(c, static_cast<ecr_transactionType>(number));
}

std::vector<MisuseRow> misuseRows() {
  std::vector<MisuseRow> rows = {
      {"transaction type -1", false, [](EcrCtx_s*& c) { return type(c, -1); }, ECR_INVALID_ARGUMENT},
      {"transaction type 13 (none)", false, [](EcrCtx_s*& c) { return type(c, 13); },
       ECR_INVALID_ARGUMENT},
      {"transaction type 16", false, [](EcrCtx_s*& c) { return type(c, 16); }, ECR_INVALID_ARGUMENT},
      {"transaction type 0x7FFFFFFF", false, [](EcrCtx_s*& c) { return type(c, 0x7FFFFFFF); },
       ECR_INVALID_ARGUMENT},
      {"transaction type 12", false, [](EcrCtx_s*& c) { return type(c, 12); }, ECR_OK},
      // Windows-1250 letters and a line break are text, not framing.
      {"title with Polish letters", false,
       [](EcrCtx_s*& c) { return ecr_setTransactionTitle(c, "Zap\xB3\x61ta \xB9\xEA\n"); }, ECR_OK},

      {"setProtocol from a callback", true,
       [](EcrCtx_s*& c) { return answeredByLog([&] { ecr_setProtocol(c, 0); }); },
       ECR_INVALID_ARGUMENT},
      {"setTcpIpLink from a callback", true,
       [](EcrCtx_s*& c) { return ecr_setTcpIpLink(c, "127.0.0.1", zq::test::refusedPort(), 50); },
       ECR_INVALID_ARGUMENT},
      {"setSerialLink from a callback", true,
       [](EcrCtx_s*& c) {
         return ecr_setSerialLink(c, zq::test::missingSerialDevice(), COMM_8N1, COMM_BAUD_9600, 50);
       },
       ECR_INVALID_ARGUMENT},
      {"closeConnection from a callback", true, [](EcrCtx_s*& c) { return ecr_closeConnection(c); },
       ECR_INVALID_ARGUMENT},
      {"cleanup from a callback keeps the handle", true,
       [](EcrCtx_s*& c) {
         EcrCtx_s* handle = c;
         const ecr_status answer = answeredByLog([&] { ecr_cleanup(&handle); });
         return handle == c ? answer : ECR_OK;
       },
       ECR_INVALID_ARGUMENT},
      {"a second transaction from a callback", true,
       [](EcrCtx_s*& c) { return ecr_startTransaction(c); }, ECR_INVALID_ARGUMENT},
      {"a status read from a callback", true, [](EcrCtx_s*& c) { return ecr_getTerminalStatus(c); },
       ECR_INVALID_ARGUMENT},
      {"a report from a callback", true, [](EcrCtx_s*& c) { return ecr_generateReport(c); },
       ECR_INVALID_ARGUMENT},
      {"a raw exchange from a callback", true,
       [](EcrCtx_s*& c) {
         const uint8_t request[] = {'2', '0'};
         uint8_t response[16];
         size_t length = sizeof response;
         return ecr_cmdExchange(c, request, sizeof request, response, &length);
       },
       ECR_INVALID_ARGUMENT},
      {"a setter from a callback keeps working", true,
       [](EcrCtx_s*& c) { return ecr_setAdditionalPrintoutData(c, "Loyalty 12"); }, ECR_OK},
      {"a reader from a callback keeps working", true,
       [](EcrCtx_s*& c) {
         uint8_t value[8];
         size_t length = sizeof value;
         return ecr_readTag(c, zq::app::tlv::TAG_TRANSACTION_TYPE, value, &length);
       },
       ECR_OK},
  };

  // Each byte that frames or steers the link, in every host text that goes
  // into a request.
  const struct {
    char byte;
    const char* name;
  } kControlBytes[] = {{'\x02', "STX"}, {'\x03', "ETX"}, {'\x04', "EOT"},
                       {'\x06', "ACK"}, {'\x15', "NAK"}, {'\x1C', "FS"}};
  for (const auto& control : kControlBytes) {
    const std::string text = std::string("12") + control.byte + "34";
    const std::string byte(1, control.byte);
    const std::string with = std::string(" holding ") + control.name;
    rows.push_back({"title" + with, false,
                    [text](EcrCtx_s*& c) { return ecr_setTransactionTitle(c, text.c_str()); },
                    ECR_INVALID_ARGUMENT});
    rows.push_back({"additional printout data" + with, false,
                    [text](EcrCtx_s*& c) { return ecr_setAdditionalPrintoutData(c, text.c_str()); },
                    ECR_INVALID_ARGUMENT});
    rows.push_back({"number to complete" + with, false,
                    [text](EcrCtx_s*& c) {
                      return ecr_setNumberOfTransactionToComplete(c, text.c_str());
                    },
                    ECR_INVALID_ARGUMENT});
    rows.push_back({"number to reverse" + with, false,
                    [text](EcrCtx_s*& c) {
                      return ecr_setNumberOfTransactionToReverse(c, text.c_str());
                    },
                    ECR_INVALID_ARGUMENT});
    rows.push_back({"cash register" + with, false,
                    [byte](EcrCtx_s*& c) { return ecr_setCashRegisterId(c, byte.data(), 1); },
                    ECR_INVALID_ARGUMENT});
  }
  return rows;
}

class MisuseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zq::test::recordHostLogs();
    zq::app::utils::registerCustomSleep(skipPause);
    cb_setWaitForCard(cardWithCall);
    cb_setWaitForPin(yes);
    cb_setShowPromptScreen(seen);
    cb_setWaitForCardRemoval(seen);
  }
  void TearDown() override {
    gFromCallback = nullptr;
    zq::app::utils::registerCustomSleep(nullptr);
  }

  // A context with its protocol and a link to `terminal`, ready for a purchase.
  static EcrCtx_s* purchaseContext(const TerminalSimulator& terminal,
                                   const zq::test::PurchaseDetails& sale) {
    EcrCtx_s* ctx = nullptr;
    EXPECT_EQ(ecr_initialize(&ctx), ECR_OK);
    ecr_setProtocol(ctx, 0);
    EXPECT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", terminal.port(), kLinkTimeoutMs), ECR_OK);
    EXPECT_EQ(ecr_setCashRegisterId(ctx, &sale.cashRegister, 1), ECR_OK);
    EXPECT_EQ(ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE), ECR_OK);
    EXPECT_EQ(ecr_setTransactionAmount(ctx, sale.amount.c_str()), ECR_OK);
    return ctx;
  }
};

TEST_F(MisuseTest, EachCarelessCallAnswersItsCode) {
  for (const MisuseRow& row : misuseRows()) {
    SCOPED_TRACE(row.name);
    zq::test::PurchaseDetails sale;
    TerminalSimulator terminal(row.fromCallback ? zq::test::purchaseScript(sale)
                                                : std::vector<zq::test::PeerStep>{});
    gCtx = purchaseContext(terminal, sale);
    gCallbackAnswers.clear();

    if (row.fromCallback) {
      gFromCallback = row.call;
      EXPECT_EQ(ecr_startTransaction(gCtx), ECR_OK);
      gFromCallback = nullptr;
      EXPECT_EQ(gCallbackAnswers, std::vector<ecr_status>{row.expected});
      EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
      EXPECT_TRUE(terminal.waitForSteps(zq::test::purchaseScript(sale).size(), 2000));
      // The purchase's own results are still there to read.
      ecr_transactionResult result = ECR_TRANSACTION_RESULT_7;
      EXPECT_EQ(ecr_readTransactionResult(gCtx, &result), ECR_OK);
      EXPECT_EQ(result, ECR_TRANSACTION_RESULT_0);
    } else {
      EXPECT_EQ(row.call(gCtx), row.expected);
      EXPECT_TRUE(terminal.requests().empty());
    }
    ecr_cleanup(&gCtx);
  }
}

}  // namespace

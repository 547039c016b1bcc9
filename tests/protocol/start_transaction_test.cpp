// The start request "21" for every transaction kind, as the terminal
// receives it, and what the request uses up in the context.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "protocol/StartTransactionMessage.h"
#include "protocol/message_session.h"

namespace zq::app::protocols::testing {
namespace {

const std::string FS(1, '\x1C');

struct StartCase {
  const char* name;
  std::function<void(Session&)> store;
  bool sent;
  std::string field;  // the transaction field after "21" FS "1" FS
  std::string log;    // an error or warning it logs
};

void type(Session& s, ecr_transactionType kind) { s.transaction().setTransactionType(kind); }
void amount(Session& s, Bytes bcd) { s.api().setTransactionAmount(bcd); }
void set(Session& s, tlv::TlvTag tag, const std::string& value) {
  s.api().setTagValue(tag, bytesOf(value));
}

const std::string kTitle46 = "Order 2023/05/17 no. 123456 for table 7, thank";
const std::string kTitle50 = kTitle46 + " you";

const StartCase kCases[] = {
    {"purchase, amount only",
     [](Session& s) {
       type(s, ECR_TRANSACTION_PURCHASE);
       amount(s, {0x00, 0x00, 0x00, 0x00, 0x12, 0x50});
     },
     true, "1" + FS + "1250" + FS + FS, ""},
    {"purchase, title of 46 bytes kept whole",
     [](Session& s) {
       type(s, ECR_TRANSACTION_PURCHASE);
       amount(s, {0x01, 0x00});
       s.transaction().setTransactionTitle(bytesOf(kTitle46));
     },
     true, "1" + FS + "100" + FS + kTitle46 + FS, ""},
    {"purchase, title of 50 bytes cut to 46",
     [](Session& s) {
       type(s, ECR_TRANSACTION_PURCHASE);
       amount(s, {0x01, 0x00});
       s.transaction().setTransactionTitle(bytesOf(kTitle50));
     },
     true, "1" + FS + "100" + FS + kTitle46 + FS,
     "Too long transaction title. Received title length: 50, maximum possible length: 46. "
     "Title was cut."},
    {"purchase, BLIK code as private TLV data",
     [](Session& s) {
       type(s, ECR_TRANSACTION_PURCHASE);
       amount(s, {0x25, 0x00});
       s.transaction().setTransactionBlikCode(bytesOf("777123"));
     },
     true, "1" + FS + "2500" + FS + FS + "DF0206373737313233", ""},
    {"purchase, title, token request and BLIK code",
     [](Session& s) {
       type(s, ECR_TRANSACTION_PURCHASE);
       amount(s, {0x25, 0x00});
       s.transaction().setTransactionTitle(bytesOf("Pizza"));
       s.transaction().setTransactionTokenGenerationEnabled();
       s.transaction().setTransactionBlikCode(bytesOf("777123"));
     },
     true,
     "1" + FS + "2500" + FS + "Pizza" + FS + "DF010101DF0206373737313233", ""},
    {"cashback", [](Session& s) { type(s, ECR_TRANSACTION_CASHBACK); amount(s, {0x05, 0x00}); },
     true, "3" + FS + "500", ""},
    {"pre-authorisation",
     [](Session& s) { type(s, ECR_TRANSACTION_PREAUTH); amount(s, {0x99, 0x99}); }, true,
     "4" + FS + "9999", ""},
    {"refund", [](Session& s) { type(s, ECR_TRANSACTION_REFUND); amount(s, {0x00, 0x07}); },
     true, "6" + FS + "7", ""},
    {"refund without amount is not sent", [](Session& s) { type(s, ECR_TRANSACTION_REFUND); },
     false, "", "Transaction amount required but missing"},
    {"completion with its sequence number",
     [](Session& s) {
       type(s, ECR_TRANSACTION_COMPLETION);
       amount(s, {0x10, 0x00});
       set(s, TAG_TRANSACTION_TO_COMPLETE, "000123");
     },
     true, "5" + FS + "1000" + FS + FS + "000123", ""},
    {"completion without sequence number is not sent",
     [](Session& s) {
       type(s, ECR_TRANSACTION_COMPLETION);
       amount(s, {0x10, 0x00});
     },
     false, "", "Sequence number of transaction to complete required but missing"},
    {"reversal with its sequence number",
     [](Session& s) {
       type(s, ECR_TRANSACTION_REVERSAL);
       amount(s, {0x10, 0x00});
       set(s, TAG_TRANSACTION_TO_REVERSE, "000042");
     },
     true, "10" + FS + "1000" + FS + "000042", ""},
    {"reversal without sequence number",
     [](Session& s) {
       type(s, ECR_TRANSACTION_REVERSAL);
       amount(s, {0x10, 0x00});
     },
     true, "10" + FS + "1000", ""},
    {"gift-card activation", [](Session& s) { type(s, ECR_TRANSACTION_GIFTCARD_ACTIVATION); },
     true, "42", ""},
    {"gift-card balance", [](Session& s) { type(s, ECR_TRANSACTION_GIFTCARD_BALANCE); }, true,
     "43", ""},
    {"gift-card top-up",
     [](Session& s) { type(s, ECR_TRANSACTION_GIFTCARD_TOPUP); amount(s, {0x50, 0x00}); }, true,
     "44" + FS + "5000", ""},
    {"reconciliation ignores a stored amount",
     [](Session& s) { type(s, ECR_TRANSACTION_RECONCILIATION); amount(s, {0x50, 0x00}); }, true,
     "31", ""},
    {"connection test", [](Session& s) { type(s, ECR_TRANSACTION_CONNECTION_TEST); }, true, "33",
     ""},
    {"connection to the management system",
     [](Session& s) { type(s, ECR_TRANSACTION_CONNECT_TO_TMS); }, true, "40", ""},
    {"e-voucher purchase",
     [](Session& s) {
       type(s, ECR_TRANSACTION_PURCHASE_EVOUCHER);
       s.api().setEvoucherOperationType('1');
       s.api().setEvoucherEan(bytesOf("5901234123457"));
     },
     true, "11" + FS + "1" + FS + "5901234123457", ""},
    {"e-voucher purchase with a two-byte operation type and no EAN",
     [](Session& s) {
       type(s, ECR_TRANSACTION_PURCHASE_EVOUCHER);
       set(s, TAG_EV_OPERATION_TYPE, "10");
     },
     true, "11" + FS + FS, ""},
    // Replies replace request values; what the host's setter would refuse
    // is never sent.
    {"an amount of 452 digits, as a reply left it, is not sent",
     [](Session& s) {
       type(s, ECR_TRANSACTION_PURCHASE);
       amount(s, Bytes(226, 0x45));
     },
     false, "", "Stored transaction amount not accepted, request not built"},
    {"a title holding a field separator is not sent",
     [](Session& s) {
       type(s, ECR_TRANSACTION_PURCHASE);
       amount(s, {0x01, 0x00});
       s.transaction().setTransactionTitle(bytesOf("Pizza" + FS + "9"));
     },
     false, "", "Stored transaction title not accepted, request not built"},
    {"a sequence number to reverse holding an ETX is not sent",
     [](Session& s) {
       type(s, ECR_TRANSACTION_REVERSAL);
       amount(s, {0x10, 0x00});
       set(s, TAG_TRANSACTION_TO_REVERSE, "0000\x03" "2");
     },
     false, "", "Stored sequence number to reverse not accepted, request not built"},
    {"a cash register byte that is an STX is not sent",
     [](Session& s) {
       type(s, ECR_TRANSACTION_RECONCILIATION);
       s.api().setCashRegisterNumber(0x02);
     },
     false, "", "Stored cash register ID not accepted, request not built"},
    {"an EAN of 14 digits is not sent",
     [](Session& s) {
       type(s, ECR_TRANSACTION_PURCHASE_EVOUCHER);
       s.api().setEvoucherEan(bytesOf("59012341234570"));
     },
     false, "", "Stored EAN not accepted, request not built"},
    {"no kind stored", [](Session&) {}, false, "", "Transaction type missing"},
    {"kind number out of range", [](Session& s) { type(s, ECR_TRANSACTION_NONE); }, false, "",
     "Transaction type missing"},
};

TEST(StartTransaction, RequestFieldPerKind) {
  for (const StartCase& c : kCases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    if (c.sent) {
      terminal.addStep(TerminalSimulator::step(
          TerminalSimulator::text("21" + FS + "1" + FS + c.field), TerminalSimulator::fields({"21", "0"})));
    }
    Session library(terminal);
    c.store(library);

    const Result result = library.exchange(
        [&] { return new StartTransactionMessage(library.maintenance(), library.transaction()); });

    if (c.sent) {
      EXPECT_EQ(result, Result(utils::RESULT_OK));
      ASSERT_TRUE(terminal.waitForSteps(1, 1000));
      EXPECT_TRUE(terminal.mismatches().empty())
          << ::testing::PrintToString(terminal.mismatches());
    } else {
      EXPECT_EQ(result,
                Result(utils::RESULT_ARGUMENT_MISSING, "Unable to build Talvoren message"));
      EXPECT_TRUE(terminal.received().empty());
    }
    if (!c.log.empty()) {
      EXPECT_TRUE(logged(kErrorPriority, c.log) || logged(kWarnPriority, c.log))
          << "errors: " << ::testing::PrintToString(developerLines(kErrorPriority));
    } else {
      EXPECT_TRUE(developerLines(kErrorPriority).empty());
      EXPECT_TRUE(developerLines(kWarnPriority).empty())
          << ::testing::PrintToString(developerLines(kWarnPriority));
    }
  }
}

// The title and the request items serve one request: a second purchase
// carries neither, while the amount and the kind stay for it.
TEST(StartTransaction, TitleAndRequestDataAreUsedUp) {
  const Bytes first = TerminalSimulator::text("21" + FS + "1" + FS + "1" + FS + "100" + FS +
                                              "Pizza" + FS + "DF0206373737313233");
  const Bytes second =
      TerminalSimulator::text("21" + FS + "1" + FS + "1" + FS + "100" + FS + FS);
  TerminalSimulator terminal;
  terminal.addStep(TerminalSimulator::step(first, TerminalSimulator::fields({"21", "0"})));
  terminal.addStep(TerminalSimulator::step(second, TerminalSimulator::fields({"21", "0"})));
  Session library(terminal);
  type(library, ECR_TRANSACTION_PURCHASE);
  amount(library, {0x01, 0x00});
  library.transaction().setTransactionTitle(bytesOf("Pizza"));
  library.transaction().setTransactionBlikCode(bytesOf("777123"));

  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(library
                    .exchange([&] {
                      return new StartTransactionMessage(library.maintenance(),
                                                         library.transaction());
                    })
                    .isOk());
  }
  ASSERT_TRUE(terminal.waitForSteps(2, 1000));
  EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
  EXPECT_EQ(library.tag(TAG_TRANSACTION_TITLE), "<absent>");
  EXPECT_TRUE(library.transaction().getAdditionalRequestData().empty());
  EXPECT_EQ(library.transaction().getTransactionAmount(), "100");
}

// An additional-data text longer than the terminal takes is cut, with a
// warning, rather than refused.
TEST(StartTransaction, AdditionalDataIsCutTo2048Characters) {
  recordDeveloperLog();
  TerminalSimulator terminal;
  terminal.addStep(TerminalSimulator::anyRequest(TerminalSimulator::fields({"21", "0"})));
  Session library(terminal);
  type(library, ECR_TRANSACTION_PURCHASE);
  amount(library, {0x01, 0x00});
  // 1100 bytes of printout data: DF03 82 044C and the value, 2210 hex digits.
  library.transaction().setAdditionalPrintoutData(Bytes(1100, 'x'));

  EXPECT_TRUE(library
                  .exchange([&] {
                    return new StartTransactionMessage(library.maintenance(),
                                                       library.transaction());
                  })
                  .isOk());
  ASSERT_TRUE(terminal.waitForSteps(1, 1000));
  const Bytes request = terminal.requests().at(0);
  const std::string prefix = "21" + FS + "1" + FS + "1" + FS + "100" + FS + FS;
  ASSERT_EQ(request.size(), prefix.size() + 2048);
  EXPECT_EQ(std::string(request.begin() + prefix.size(), request.begin() + prefix.size() + 10),
            "DF0382044C");
  EXPECT_TRUE(logged(kWarnPriority,
                     "Too long additional data. Received data length: 2210, maximum possible "
                     "length: 2048. Additional data was cut."));
}

}  // namespace
}  // namespace zq::app::protocols::testing

// An e-voucher sale against the scripted terminal: the e-voucher start, the
// status loop, the e-voucher end data landing in the e-voucher tags, and
// the EAN used up by every sale.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/transaction_session.h"

namespace zq::app::protocols::testing {
namespace {

using zq::test::PeerStep;

// The e-voucher purchase, host number 12 (the protocol's and the public
// header's enumerations spell its name differently).
const ecr_transactionType kEvoucherPurchase = ECR_TRANSACTION_PURCHASE_EVOUCHER;
const char* const kAbsent = "<absent>";
const std::string kStatus = "20|1";
const std::string kEan = "5901234123457";
const std::string kStart = "21|1|11|1|" + kEan;

const std::string kDetails =
    "11,1,Orange,Value,Code valid 30 days,7,SN000123,50.00,1234-5678-9012,,,5901234123457,,,"
    "1,0,000321,2024-03-15 14:32:07,1,cashier1,OP01,1,1";

struct Step {
  std::string request;
  std::string reply;
};

void prepareSale(TransactionSession& session) {
  session.kind(kEvoucherPurchase);
  session.protocol.getCtx().getApiCtx().setEvoucherOperationType('1');
  session.protocol.getCtx().getApiCtx().setEvoucherEan(bytesOf(kEan));
}

TEST(EvoucherSale, WholeSaleStoresEvoucherDetails) {
  const std::vector<Step> steps = {
      {kStatus, "20|0|08"},
      {kStatus, "20|0|00"},
      {kStart, "21|0"},
      {kStatus, "20|0|01|1|0,0,,,Insert card"},
      {kStatus, "20|0|09|2|0,0,,,Processing"},
      {kStatus, "20|0|06"},
      {"22|1", "22|0|11|0|" + kDetails},
      {kStatus, "20|0|07|3|0,0,,,Remove card"},
      {kStatus, "20|0|00"},
  };
  TerminalSimulator terminal;
  std::vector<std::string> expected;
  for (const Step& s : steps) {
    terminal.addStep(TerminalSimulator::step(msg(s.request), msg(s.reply)));
    expected.push_back(s.request);
  }
  TransactionSession session(terminal);
  prepareSale(session);
  session.continuePrevious(false);

  EXPECT_EQ(session.protocol.startEvoucherTransaction(*session.link), Result(utils::RESULT_OK));

  EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
  EXPECT_EQ(requestTexts(terminal), expected);
  EXPECT_EQ(session.calls,
            (std::vector<std::string>{"waitForCard(Insert card)", "showPrompt(Processing)",
                                      "waitForCardRemoval(Remove card)"}));
  EXPECT_EQ(recordedPauses(), std::vector<unsigned>(steps.size(), 300));

  EXPECT_EQ(session.tag(TAG_EV_TRANSACTION_TYPE), "11");
  EXPECT_EQ(session.tag(TAG_EV_TRANSACTION_RETURN_CODE), "0");
  EXPECT_EQ(session.tag(TAG_EV_OPERATOR_NAME), "Orange");
  EXPECT_EQ(session.tag(TAG_EV_COUPON_VALUE), "50.00");
  EXPECT_EQ(session.tag(TAG_EV_COUPON_CODE), "1234-5678-9012");
  EXPECT_EQ(session.tag(TAG_EV_BARCODE), kEan);
  EXPECT_EQ(session.tag(TAG_EV_STAN), "000321");
  EXPECT_EQ(session.tag(TAG_EV_TRX_DATE_TIME), "2024-03-15 14:32:07");
  EXPECT_EQ(session.tag(TAG_EV_COUPON_CONFIRMATION), "1");
  // The card end-data reader never ran.
  EXPECT_EQ(session.tag(TAG_TRANSACTION_NUMBER), kAbsent);
  // The EAN served this sale; the operation type stays for the next one.
  EXPECT_EQ(session.tag(TAG_EV_EAN), kAbsent);
  EXPECT_EQ(session.tag(TAG_EV_OPERATION_TYPE), "1");
}

struct SaleCase {
  const char* name;
  bool continuePrevious;
  std::vector<Step> steps;
  Result result;
};

const SaleCase kSaleCases[] = {
    {"reconciliation needed: not sold", false, {{kStatus, "20|0|81"}},
     Result(utils::RESULT_TERMINAL_NOT_READY,
            "Start Evoucher Transaction failed - terminal not ready")},
    {"start refused", false, {{kStatus, "20|0|00"}, {kStart, "21|6|No operator"}},
     Result(utils::RESULT_TERMINAL_CODE_6, "No operator")},
    {"end data without its details field", false,
     {{kStatus, "20|0|00"}, {kStart, "21|0"}, {kStatus, "20|0|06"}, {"22|1", "22|0|11|0"}},
     Result(utils::RESULT_COMM_ERROR, "Unable to parse POS response")},
    {"continue: no start request", true, {{kStatus, "20|0|00"}}, Result(utils::RESULT_OK)},
};

TEST(EvoucherSale, FailedOrContinuedSaleStillUsesUpTheEan) {
  for (const SaleCase& c : kSaleCases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    std::vector<std::string> expected;
    for (const Step& s : c.steps) {
      terminal.addStep(TerminalSimulator::step(msg(s.request), msg(s.reply)));
      expected.push_back(s.request);
    }
    TransactionSession session(terminal);
    prepareSale(session);
    session.continuePrevious(c.continuePrevious);

    EXPECT_EQ(session.protocol.startEvoucherTransaction(*session.link), c.result);

    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
    EXPECT_EQ(requestTexts(terminal), expected);
    EXPECT_EQ(session.tag(TAG_EV_EAN), kAbsent);
  }
}

}  // namespace
}  // namespace zq::app::protocols::testing

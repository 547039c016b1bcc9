// The closing day through its exported functions: a day of transactions
// counted per kind, with refusals that count nothing; the report with the
// terminal's batch summary from the scripted terminal; the receipt range
// written back into the terminal context; the empty day and the calls out
// of order.
#include "printouts/documents/BatchPrintoutBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/Converters.h"
#include "printouts/documents/Batch.h"
#include "printouts/documents/ConnectedDocumentsFixture.h"
#include "printouts/documents/GoldenLines.h"
#include "zumbra_printout.h"

namespace {

using namespace zq::app::tlv;
using zq::test::GoldenLine;
using zq::test::PeerStep;
using zq::test::journal;
using zq::test::TerminalSimulator;
using zq::test::apartIn;
using zq::test::bigBoldLine;
using zq::test::boldLine;
using zq::test::centreIn;
using zq::test::leftIn;
using zq::test::pictureLine;
using zq::test::w1250;
using Strings = std::vector<std::string>;

struct Transaction {
  const char* type;
  const char* original;        // nullptr: absent
  const char* amount;          // nullptr: absent
  const char* terminalAmount;  // in the terminal's currency; nullptr: absent
  const char* cashback;        // nullptr: absent
  const char* receipt;
  uint32_t code;
  const char* error;  // logged, nullptr: none
};

class ClosingDayTest : public zq::test::ConnectedDocumentsTest {
 protected:
  // Loads one transaction into the terminal context, as fetching it from
  // the terminal's batch would, and adds it.
  uint32_t add(const Transaction& t, uint32_t (*addFunction)(PrintoutCtx_s*, EcrCtx_s*) = pr_addClosingDayTransaction) {
    clearStore();
    setText(TAG_TRANSACTION_TYPE, t.type);
    if (t.original) setText(TAG_ORIGINAL_TRANSACTION_TYPE, t.original);
    if (t.amount) set(TAG_AMOUNT, zq::app::utils::asciiToBcd(t.amount));
    if (t.terminalAmount) set(TAG_AMOUNT_IN_TERMINAL_CURRENCY, zq::app::utils::asciiToBcd(t.terminalAmount));
    if (t.cashback) set(TAG_CASHBACK_AMOUNT, zq::app::utils::asciiToBcd(t.cashback));
    setText(TAG_AUTHORIZATION_MESSAGE_NUMBER, t.receipt);
    return addFunction(&printout, ecr);
  }

  // The terminal's identity and, from the terminal, its batch summary.
  void fetchBatchSummary(TerminalSimulator& terminal) {
    ASSERT_EQ(ecr_setCashRegisterId(ecr, "1", 1), ECR_OK);
    plantTerminalIdentity();
    ASSERT_EQ(ecr_getBatchSummary(ecr), ECR_OK);
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
  }

  std::string tag(TlvTag t) {
    uint8_t buffer[32];
    size_t length = sizeof buffer;
    if (ecr_readTag(ecr, t, buffer, &length) != ECR_OK) return "<absent>";
    return std::string(buffer, buffer + length);
  }

  static PeerStep batchSummary(const std::string& total, const std::string& count, const std::string& status,
                               const std::string& date, const std::string& time) {
    return TerminalSimulator::step(
        message({"25", "1"}),
        message({"25", "0", total, count, status, "123456789012", "42", date, time, "1", "T4567890", "7",
                 "12", ""}));
  }
};

TEST_F(ClosingDayTest, ADayOfTransactionsCountedPerKindAndPrinted) {
  const Transaction day[] = {
      {"0", nullptr, "10000", nullptr, nullptr, "000005", 0, nullptr},
      // The amount of a cashback includes the cashback: the sale gets the rest.
      {"1", nullptr, "15000", nullptr, "5000", "000007", 0, nullptr},
      {"4", nullptr, "2500", nullptr, nullptr, "000006", 0, nullptr},
      {"5", "0", "10000", nullptr, nullptr, "000008", 0, nullptr},
      {"5", "4", "2500", nullptr, nullptr, "000009", 0, nullptr},
      // The amount in the terminal's currency counts where there is one.
      {"3", nullptr, "7000", "7100", nullptr, "000010", 0, nullptr},
      {"5", "3", "7000", nullptr, nullptr, "000011", 0, nullptr},
      {"2", nullptr, "30000", nullptr, nullptr, "000012", 0, nullptr},
      {"5", "2", "30000", nullptr, nullptr, "000013", 0, nullptr},
      // Counted under no printed row; the terminal's total still holds it.
      {"6", nullptr, "5000", nullptr, nullptr, "000014", 0, "Unexpected transaction type 0x06"},
      {"5", "1", "15000", nullptr, "5000", "000015", 0, nullptr},
      // Refused adds count nothing at all, so the host may add them again.
      {"1", nullptr, "15000", nullptr, "20000", "000016", 4,
       "Cashback amount 20000 exceeds transaction amount 15000"},
      {"0", nullptr, "10000", nullptr, nullptr, "ABC", 4, "Slip number ABC invalid"},
      {"0", nullptr, nullptr, nullptr, nullptr, "000017", 4,
       "Unable to extract transaction amount, status 0x05"},
      {"0", nullptr, "10000", nullptr, nullptr, "000004", 0, nullptr},
  };
  TerminalSimulator terminal;
  terminal.addStep(batchSummary("123400", "12", "0", "2023-05-17", "12:30:00"));
  connect(terminal);
  printout.normalLineLen = 36;
  printout.bigLineLen = 40;

  ASSERT_EQ(pr_startClosingDay(&printout, ecr), 0u);
  EXPECT_TRUE(printout.lines.empty());
  size_t row = 0;
  for (const Transaction& t : day) {
    SCOPED_TRACE(row++);
    EXPECT_EQ(add(t), t.code);
    if (t.error) {
      EXPECT_EQ(busCount(t.error), 1u);
    }
    EXPECT_EQ(busCount("Unable to add transaction to batch printout"), t.code == 0 ? 0u : 1u);
  }
  fetchBatchSummary(terminal);
  ASSERT_EQ(pr_finishClosingDay(&printout, ecr), 0u);

  const std::string right(18, ' ');
  auto one = [](const std::string& name, const std::string& count, const std::string& amount) {
    return apartIn(name, apartIn(count, amount, 18), 36);
  };
  auto second = [&](const std::string& count, const std::string& amount) {
    return right + apartIn(count, amount, 18);
  };
  const std::string ok = centreIn(w1250("WYSYŁKA OK"), 36);
  // The receipts counted were 4 to 15: the range around them.
  EXPECT_EQ(tag(TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION), "000003");
  EXPECT_EQ(tag(TAG_SEQUENCE_NUMBER_LAST_TRANSACTION), "000016");
  zq::test::expectLines(
      printout.lines,
      zq::test::join(identityLines(36), {
          GoldenLine{std::string(36, ' '), 6},
          bigBoldLine(centreIn(w1250("ZAMKNIĘCIE DNIA"), 40), 7),
          GoldenLine{std::string(36, ' '), 8},
          GoldenLine{leftIn("OD RACH. NR: 000003", 36), 9},
          GoldenLine{leftIn("DO RACH. NR: 000016", 36), 10},
          GoldenLine{std::string(36, ' '), 11},
          boldLine(ok, 12),
          boldLine(leftIn("PODSUMOWANIE: ", 36), 13),
          GoldenLine{right + apartIn("liczba", "KWOTA", 18), 14},
          GoldenLine{one(w1250("SPRZEDAŻ:"), "3", "300,00 PLN"), 15},
          // Names of 18 characters do not fit the left half.
          GoldenLine{leftIn(w1250("UNIEWAŻ.SPRZEDAŻY:"), 36), 16},
          GoldenLine{second("2", "200,00 PLN"), 17},
          GoldenLine{one("ZWROTY:", "1", "25,00 PLN"), 18},
          GoldenLine{one(w1250("UNIEWAŻ.ZWROTU:"), "1", "25,00 PLN"), 19},
          GoldenLine{one("DOP.PRE-AUT:", "1", "71,00 PLN"), 20},
          GoldenLine{leftIn("UNIE.DOP.PRE-AUT.:", 36), 21},
          GoldenLine{second("1", "70,00 PLN"), 22},
          GoldenLine{one("RAZEM:", "12", "1234,00 PLN"), 23},
          GoldenLine{one(w1250("WYPŁATA GOTÓWKI:"), "2", "100,00 PLN"), 24},
          GoldenLine{one("PRE-AUTORYZACJA:", "1", "300,00 PLN"), 25},
          GoldenLine{one(w1250("UNIEWAŻ.PRE-AUT.:"), "1", "300,00 PLN"), 26},
          GoldenLine{std::string(36, ' '), 27},
          boldLine(ok, 28),
          GoldenLine{std::string(36, ' '), 29},
          // The terminal's batch date and time, as it sent them.
          GoldenLine{apartIn("DATA: 2023-05-17", "GODZINA: 12:30:00", 36), 30},
          GoldenLine{std::string(36, ' '), 31},
          GoldenLine{centreIn("SALDA UZGODNIONE", 36), 32},
          GoldenLine{centreIn(w1250("PROSIMY ZACHOWAĆ WYDRUK"), 36), 33},
          pictureLine(34, PR_PICTURE_FOOTER_LOGO),
      }));

  // Still open: a further start is refused, with the totals in the log.
  EXPECT_EQ(pr_startClosingDay(&printout, ecr), 4u);
  EXPECT_EQ(busCount("Closing day started already"), 1u);
  EXPECT_EQ(busCount("  Transaction type |      number       |        amount"), 1u);
  EXPECT_EQ(busCount(std::string(17, ' ') + "? |           1      |            5000"), 1u);
  EXPECT_EQ(busCount("   PRE-AUTORYZACJA |           1      |           30000"), 1u);
  EXPECT_EQ(printout.lines.size(), 35u);
}

TEST_F(ClosingDayTest, AnEmptyDayPrintsThatThereIsNothingToSettle) {
  TerminalSimulator terminal;
  terminal.addStep(batchSummary("0", "0", "4", "", ""));
  connect(terminal);
  printout.normalLineLen = 36;
  ASSERT_EQ(pr_startClosingDay(&printout, ecr), 0u);
  fetchBatchSummary(terminal);
  ASSERT_EQ(pr_finishClosingDay(&printout, ecr), 0u);
  EXPECT_EQ(tag(TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION), "999998");
  EXPECT_EQ(tag(TAG_SEQUENCE_NUMBER_LAST_TRANSACTION), "000001");
  const Strings texts = trimmedTexts();
  ASSERT_EQ(texts.size(), 18u);
  // After the IDs: empty, title, empty, no range, empty.
  EXPECT_EQ(Strings(texts.begin() + 6, texts.end()),
            (Strings{"",
                     zq::test::trimRight(centreIn(w1250("ZAMKNIĘCIE DNIA"), 64)),
                     "",
                     "",
                     zq::test::trimRight(centreIn("BRAK TRANSAKCJI DO ROZLICZENIA", 36)),
                     zq::test::trimRight(centreIn("Terminal gotowy do pracy", 36)),
                     "",
                     // The terminal sent no batch date and time.
                     apartIn("DATA: ?", "GODZINA: ?", 36),
                     "",
                     zq::test::trimRight(centreIn("SALDA UZGODNIONE", 36)),
                     zq::test::trimRight(centreIn(w1250("PROSIMY ZACHOWAĆ WYDRUK"), 36)),
                     ""}));
}

TEST_F(ClosingDayTest, CallsOutOfOrderAreRefused) {
  TerminalSimulator terminal;
  connect(terminal);
  plantTerminalIdentity();
  ASSERT_EQ(pr_prepareShortSummary(&printout, ecr), 0u);
  const Strings before = texts();
  journal().clear();
  EXPECT_EQ(pr_finishClosingDay(&printout, ecr), 1u);
  EXPECT_EQ(pr_finishFiscalClosingDay(&printout, ecr), 1u);
  EXPECT_EQ(add({"0", nullptr, "100", nullptr, nullptr, "000001", 0, nullptr}), 1u);
  EXPECT_EQ(busCount("Closing day printout was not initiated properly"), 1u);
  EXPECT_EQ(texts(), before);
  EXPECT_EQ(tag(TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION), "<absent>");

  ASSERT_EQ(pr_startFiscalClosingDay(&printout, ecr), 0u);
  EXPECT_EQ(pr_startClosingDay(&printout, ecr), 4u);  // one closing day per context
  EXPECT_EQ(texts(), before);                         // a start prints nothing
}

TEST_F(ClosingDayTest, AReceiptNumberZeroStartsTheRangeAtZero) {
  TerminalSimulator terminal;
  connect(terminal);
  ASSERT_EQ(pr_startClosingDay(&printout, ecr), 0u);
  ASSERT_EQ(add({"0", nullptr, "100", nullptr, nullptr, "000000", 0, nullptr}), 0u);
  plantTerminalIdentity();
  ASSERT_EQ(pr_finishClosingDay(&printout, ecr), 0u);
  EXPECT_EQ(tag(TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION), "000000");
  EXPECT_EQ(tag(TAG_SEQUENCE_NUMBER_LAST_TRANSACTION), "000001");
  EXPECT_EQ(trimmedTexts().at(9), apartIn("OD RACH. NR: 000000", "DO RACH. NR: 000001", 64));
}

TEST_F(ClosingDayTest, StandardAndFiscalFunctionsShareTheContextsClosingDay) {
  TerminalSimulator terminal;
  connect(terminal);
  printout.normalLineLen = 40;
  ASSERT_EQ(pr_startClosingDay(&printout, ecr), 0u);
  ASSERT_EQ(add({"0", nullptr, "100", nullptr, nullptr, "000003", 0, nullptr}, pr_addFiscalClosingDayTransaction),
            0u);
  ASSERT_EQ(add({"0", nullptr, "250", nullptr, nullptr, "000004", 0, nullptr}), 0u);
  plantTerminalIdentity();
  ASSERT_EQ(pr_finishFiscalClosingDay(&printout, ecr), 0u);
  EXPECT_EQ(printout.normalLineLen, 40u);
  for (const pr_Line& line : printout.lines) {
    EXPECT_EQ(line.id, 14u);
    EXPECT_EQ(line.lineType, static_cast<uint32_t>(PR_LINE_TEXT));
  }
  const Strings texts = trimmedTexts();
  // The sales row on the fiscal width (31, right half 15), and the fiscal
  // date and time lines.
  EXPECT_NE(std::find(texts.begin(), texts.end(),
                      apartIn(w1250("SPRZEDAŻ:"), apartIn("2", "3,50 PLN", 15), 31)),
            texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "DATA: ?"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "GODZINA: ?"), texts.end());
}

}  // namespace

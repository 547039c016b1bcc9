// The body lines of the reports: the entries of a report section the
// terminal sent, and the two-line transaction entry of the long analysis
// with its ISO type and its fallbacks.
#include "printouts/documents/ReportEntriesExtractor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printouts/documents/ConnectedDocumentsFixture.h"
#include "printouts/documents/GoldenLines.h"
#include "printouts/documents/TransactionEntryExtractor.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using zq::test::GoldenLine;
using zq::test::TerminalSimulator;
using zq::test::apartIn;
using zq::test::leftIn;
using zq::test::w1250;
using Strings = std::vector<std::string>;
using ReportEntriesTest = zq::test::ConnectedDocumentsTest;
using TransactionEntryTest = zq::test::DocumentsTest;

TEST_F(ReportEntriesTest, EntriesUnderOneColumnHeaderUntilTheFirstThatCannotBeRead) {
  const std::string header = std::string(32, ' ') + apartIn("liczba", "KWOTA", 32);
  auto entry = [](const std::string& name, const std::string& count, const std::string& amount) {
    return apartIn(name, apartIn(count, amount, 32), 64);
  };
  const std::string longName = "MAESTRO CONTACTLESS DEBIT CARDS ALL BANKS";  // 41 characters
  const struct {
    const char* name;
    std::string summary;
    Strings lines;
    const char* endLine;  // logged when the list ends
    Strings cut;          // the names reported as cut
  } cases[] = {
      {"one entry", w1250("Totals,SPRZEDAŻ|3|12345"),
       {header, entry(w1250("SPRZEDAŻ"), "3", "123,45 PLN")}, "1 report entries acquired", {}},
      {"negative and small amounts", "Totals,REFUND|1|-5,VOID|2|-123456",
       {header, entry("REFUND", "1", "-0,05 PLN"), entry("VOID", "2", "-1234,56 PLN")},
       "2 report entries acquired", {}},
      // A name that does not fit the left half stands on a line of its own.
      {"long name", "Totals," + longName + "|12|100000",
       {header, leftIn(longName, 64), std::string(32, ' ') + apartIn("12", "1000,00 PLN", 32)},
       "1 report entries acquired", {}},
      // An entry without a count is corrupted: the list ends before it.
      {"corrupted entry", "Totals,SALE|1|100,BROKEN,VOID|1|5", {header, entry("SALE", "1", "1,00 PLN")},
       "1 report entries acquired", {}},
      // A name longer than a line holds is cut to it, and the entries after
      // it still print.
      {"names of 64, 65 and 5000 bytes between normal entries",
       "Totals,SALE|1|100," + std::string(64, 'A') + "|2|200," + std::string(65, 'B') + "|3|300," +
           std::string(5000, 'C') + "|4|400,VOID|5|500",
       {header, entry("SALE", "1", "1,00 PLN"), std::string(64, 'A'),
        std::string(32, ' ') + apartIn("2", "2,00 PLN", 32), std::string(64, 'B'),
        std::string(32, ' ') + apartIn("3", "3,00 PLN", 32), std::string(64, 'C'),
        std::string(32, ' ') + apartIn("4", "4,00 PLN", 32), entry("VOID", "5", "5,00 PLN")},
       "5 report entries acquired",
       {"Report entry 3 name of 65 bytes cut to 64", "Report entry 4 name of 5000 bytes cut to 64"}},
      {"no entries, no header", "Totals", {}, "0 report entries acquired", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    terminal.addStep(section("32", "", c.summary));
    connect(terminal);
    ASSERT_EQ(ecr_getReportTotalSummary(ecr), ECR_OK);
    clearLines();
    ReportEntriesExtractor().addEntriesToPrintout(ecr, printout.normalLineLen);
    EXPECT_EQ(texts(), c.lines);
    EXPECT_EQ(busCount(c.endLine), 1u);
    Strings cut;
    for (const std::string& line : zq::test::textsFrom("bus")) {
      if (line.find(" bytes cut to ") != std::string::npos) cut.push_back(line.substr(line.find("- ") + 2));
    }
    for (std::string& line : cut) line.pop_back();  // the line end
    EXPECT_EQ(cut, c.cut);
  }
}

TEST_F(ReportEntriesTest, AmountsFollowTheDefaultCurrencyPhrases) {
  TerminalSimulator terminal;
  terminal.addStep(section("32", "", "Totals,SALE|1|123456"));
  connect(terminal);
  ASSERT_EQ(ecr_getReportTotalSummary(ecr), ECR_OK);
  setPhrase(PR_DICT_DEFAULT_CURRENCY, "EUR");
  setPhrase(PR_DICT_DEFAULT_EXPONENT, "3");
  setPhrase(PR_DICT_DECIMAL_SEPARATOR, ".");
  printout.normalLineLen = 30;
  ReportEntriesExtractor().addEntriesToPrintout(ecr, printout.normalLineLen);
  ASSERT_EQ(printout.lines.size(), 2u);
  EXPECT_EQ(std::string(printout.lines[1].text), apartIn("SALE", apartIn("1", "123.456 EUR", 15), 30));
}

class TransactionEntryCase : public TransactionEntryTest {
 protected:
  // A purchase of 8 December 2026 at 14:05:09, chip, authorisation type '1'.
  void plantPurchase() {
    setText(TAG_AUTHORIZATION_MESSAGE_NUMBER, "000017");
    setText(TAG_MASKED_PAN, "************1234");
    setText(TAG_TRANSACTION_TYPE, "0");
    set(TAG_TRANSACTION_DATE, {0x26, 0x12, 0x08});
    set(TAG_TRANSACTION_TIME, {0x14, 0x05, 0x09});
    set(TAG_AMOUNT, {0x00, 0x01, 0x23, 0x45});
    set(TAG_TRANSACTION_CURRENCY, {0x09, 0x85});
    set(TAG_CURRENCY_EXPONENT, {0x02});
    setText(TAG_USED_READER, "C");
    setText(TAG_AUTHORIZATION_TYPE, "1");
    setText(TAG_AUTHORIZATION_CODE, "A1B2C3");
  }
  // As the report builder calls it: on the context's normal width.
  Strings entry(unsigned width) {
    printout.normalLineLen = width;
    clearLines();
    journal().clear();
    TransactionEntryExtractor().addEntryToPrintout(ecr, width);
    return trimmedTexts();
  }
  static std::vector<zq::test::LoggedLine>& journal() { return zq::test::journal(); }
};

TEST_F(TransactionEntryCase, IsoTypeFollowsTheTypeAndEveryReversalIsZeroTwo) {
  const struct {
    const char* type;
    const char* reversalFlag;  // nullptr: absent
    const char* iso;
    const char* error;  // nullptr: none
  } cases[] = {
      {"0", nullptr, "00", nullptr}, {"1", nullptr, "09", nullptr},
      {"2", nullptr, "30", nullptr}, {"3", nullptr, "00", nullptr},
      {"4", nullptr, "20", nullptr}, {"5", nullptr, "02", nullptr},
      {"4", "1", "02", nullptr},     {"4", "0", "20", nullptr},
      {"6", nullptr, "XX", "Transaction type not recognized"},
      {"99", nullptr, "XX", "Transaction type not recognized"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.type) + (c.reversalFlag ? std::string(" flag ") + c.reversalFlag : ""));
    clearStore();
    plantPurchase();
    setText(TAG_TRANSACTION_TYPE, c.type);
    if (c.reversalFlag) setText(TAG_REVERSAL_INDICATOR, c.reversalFlag);
    const Strings lines = entry(40);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], apartIn("000017 ************1234", std::string(c.iso) + " 0812 140509", 40));
    if (c.error) {
      EXPECT_EQ(busCount(c.error), 1u);
    }
  }
}

TEST_F(TransactionEntryCase, LinesOfAPurchaseAndWhatStandsInForMissingData) {
  plantPurchase();
  // Purchase with the default phrases; wide enough for one line each.
  EXPECT_EQ(entry(40), (Strings{apartIn("000017 ************1234", "00 0812 140509", 40),
                                apartIn("K C 1 A1B2C3", "123,45 PLN", 40), ""}));
  // Too narrow: each pair on two left-aligned lines, cut to the width.
  EXPECT_EQ(entry(22), (Strings{"000017 ************123", "00 0812 140509", "K C 1 A1B2C3",
                                "123,45 PLN", ""}));

  // The amount in the terminal's currency goes first where there is one.
  set(TAG_AMOUNT_IN_TERMINAL_CURRENCY, {0x00, 0x00, 0x56, 0x78});
  set(TAG_TERMINAL_CURRENCY, {0x09, 0x78});
  EXPECT_EQ(entry(40)[1], apartIn("K C 1 A1B2C3", "56,78 EUR", 40));

  // Nothing but the receipt number: every reading falls back.
  clearStore();
  setText(TAG_AUTHORIZATION_MESSAGE_NUMBER, "000017");
  EXPECT_EQ(entry(40), (Strings{apartIn("000017 ?", "XX  ?", 40), apartIn("K ? ? ?", "?", 40), ""}));
  for (const char* line : {"Printout date not available", "Unable to get tag 0x00009F21, status 0x05",
                           "Unable to get tag 0x009FD450, status 0x05",
                           "Unable to get tag 0x00000089, status 0x05",
                           "Transaction type not recognized"}) {
    EXPECT_EQ(busCount(line), 1u) << line;
  }
}

TEST_F(TransactionEntryCase, AnUnreadableTypeIsXX) {
  printout.normalLineLen = 40;
  TransactionEntryExtractor().addEntryToPrintout(nullptr, 40);
  ASSERT_EQ(printout.lines.size(), 3u);
  EXPECT_EQ(trimmedTexts()[0], apartIn("? ?", "XX  ?", 40));
  EXPECT_EQ(busCount("Unable to get transaction type for conversion to ISO, status 0x06"), 1u);
}

}  // namespace

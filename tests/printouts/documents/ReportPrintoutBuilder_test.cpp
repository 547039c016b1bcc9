// The report printouts through their exported functions, with the report
// sections fetched from the scripted terminal: the short summary line by
// line, long reports over several calls, the fiscal form and its line
// length, and the refusal of missing contexts.
#include "printouts/documents/ReportPrintoutBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <new>
#include <string>
#include <vector>

#include "printouts/documents/ConnectedDocumentsFixture.h"
#include "printouts/documents/GoldenLines.h"
#include "zumbra_printout.h"

namespace {

using namespace zq::app::tlv;
using zq::test::GoldenLine;
using zq::test::TerminalSimulator;
using zq::test::apartIn;
using zq::test::bigBoldLine;
using zq::test::bigLine;
using zq::test::boldLine;
using zq::test::centreIn;
using zq::test::journal;
using zq::test::leftIn;
using zq::test::pictureLine;
using zq::test::w1250;

using PrintoutFunction = uint32_t (*)(PrintoutCtx_s*, EcrCtx_s*);

class ReportsTest : public zq::test::ConnectedDocumentsTest {
 protected:
  // Connected, with the terminal's identity in the store.
  void start(TerminalSimulator& terminal) {
    connect(terminal);
    plantTerminalIdentity();
    journal().clear();
  }

  // The footer's date and time are those of the moment of printing: their
  // digits are compared as 9s.
  void maskDigits(std::initializer_list<size_t> indexes) {
    for (size_t i : indexes) {
      ASSERT_LT(i, printout.lines.size());
      for (char* c = printout.lines[i].text; *c != '\0'; ++c) {
        if (std::isdigit(static_cast<unsigned char>(*c))) *c = '9';
      }
    }
  }

  std::vector<std::string> trimmedFrom(size_t first) const {
    const std::vector<std::string> all = trimmedTexts();
    return std::vector<std::string>(all.begin() + static_cast<long>(std::min(first, all.size())), all.end());
  }
};

TEST_F(ReportsTest, ShortSummaryOfTheTerminalsTotalsLineByLine) {
  TerminalSimulator terminal;
  terminal.addStep(TerminalSimulator::step(message({"20", "1"}), message({"20", "0", "0"})));
  terminal.addStep(TerminalSimulator::step(message({"30", "1", "0"}), message({"30", "0", "0012,0345"})));
  terminal.addStep(
      section("32", "", "Totals,SALE|3|12345,REFUND|1|-500,MAESTRO-CONTACTLESS|4|400,VOID|2"));
  start(terminal);
  ASSERT_EQ(ecr_generateReport(ecr), ECR_OK);
  ASSERT_EQ(ecr_getReportTotalSummary(ecr), ECR_OK);
  EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());

  printout.normalLineLen = 30;
  printout.bigLineLen = 32;
  printout.dcc = true;  // left by an earlier receipt
  ASSERT_EQ(pr_prepareShortSummary(&printout, ecr), 0u);
  EXPECT_FALSE(printout.dcc);
  EXPECT_FALSE(printout.multilang);
  maskDigits({22, 23});
  // The right half (15 columns) holds count and amount; a name that does not
  // fit the left half stands alone above them.
  zq::test::expectLines(
      printout.lines,
      zq::test::join(identityLines(30), {
          GoldenLine{std::string(30, ' '), 6},
          bigBoldLine(centreIn("ZESTAWIENIE", 32), 7),
          bigLine(centreIn(w1250("UWZGLĘDNIAJĄCE UNIEWAŻNIENIA"), 32), 8),
          bigLine(centreIn(w1250("WERSJA SKRÓCONA"), 32), 9),
          GoldenLine{std::string(30, ' '), 10},
          // 17 and 17 characters do not share a line of 30.
          GoldenLine{leftIn("OD RACH. NR: 0012", 30), 11},
          GoldenLine{leftIn("DO RACH. NR: 0345", 30), 12},
          GoldenLine{std::string(30, ' '), 13},
          boldLine(leftIn("Totals", 30), 14),
          GoldenLine{std::string(15, ' ') + "liczba    KWOTA", 15},
          GoldenLine{"SALE           3    123,45 PLN", 16},
          GoldenLine{"REFUND         1     -5,00 PLN", 17},
          GoldenLine{leftIn("MAESTRO-CONTACTLESS", 30), 18},
          GoldenLine{std::string(15, ' ') + "4      4,00 PLN", 19},
          GoldenLine{"VOID           2      0,00 PLN", 20},
          GoldenLine{std::string(30, ' '), 21},
          GoldenLine{leftIn("DATA: 99.99.9999", 30), 22},
          GoldenLine{leftIn("GODZINA: 99:99:99", 30), 23},
          GoldenLine{centreIn(w1250("PROSIMY ZACHOWAĆ WYDRUK"), 30), 24},
          pictureLine(25, PR_PICTURE_FOOTER_LOGO),
      }));
  EXPECT_EQ(busCount("Generate short summary printout"), 1u);
  EXPECT_EQ(busCount("4 report entries acquired"), 1u);
  EXPECT_EQ(busCount("Entry for Totals added to printout"), 1u);
  EXPECT_EQ(busCount("Printout generation succeded, 26 lines available"), 1u);
}

struct LongReportCase {
  const char* name;
  PrintoutFunction start;
  PrintoutFunction add;
  PrintoutFunction finish;
  std::vector<std::string> heading;  // title and the lines under it, trimmed
};

TEST_F(ReportsTest, LongReportsPrintTheirSectionsInCallOrder) {
  const LongReportCase cases[] = {
      {"long summary", pr_startFullSummary, pr_addFullSummaryEntry, pr_finishFullSummary,
       {"ZESTAWIENIE", w1250("UWZGLĘDNIAJĄCE UNIEWAŻNIENIA"), w1250("WERSJA PEŁNA")}},
      {"DCC analysis", pr_startDccAnalysis, pr_addDccAnalysisEntry, pr_finishDccAnalysis,
       {"ANALIZA DCC", w1250("WERSJA PEŁNA")}},
  };
  for (const LongReportCase& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    terminal.addStep(section("31", "12", "Cardset 12,SALE|2|2000"));
    terminal.addStep(section("32", "", "All cardsets,SALE|5|7000,REFUND|1|-1000"));
    start(terminal);
    ASSERT_EQ(ecr_setCardsetId(ecr, 12), ECR_OK);
    printout.normalLineLen = 30;
    printout.bigLineLen = 30;

    ASSERT_EQ(c.start(&printout, ecr), 0u);
    ASSERT_EQ(c.start(&printout, ecr), 0u);  // starts afresh: one header
    const size_t header = printout.lines.size();
    ASSERT_EQ(ecr_getReportCardsetSummary(ecr), ECR_OK);
    ASSERT_EQ(c.add(&printout, ecr), 0u);
    ASSERT_EQ(ecr_getReportTotalSummary(ecr), ECR_OK);
    ASSERT_EQ(c.add(&printout, ecr), 0u);
    ASSERT_EQ(c.finish(&printout, ecr), 0u);

    const std::vector<std::string> texts = trimmedTexts();
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 7, texts.begin() + 7 + c.heading.size()),
              [&] {
                std::vector<std::string> centred;
                for (const std::string& h : c.heading) centred.push_back(zq::test::trimRight(centreIn(h, 30)));
                return centred;
              }());
    const std::string right = std::string(15, ' ');
    EXPECT_EQ(trimmedFrom(header),
              (std::vector<std::string>{
                  "Cardset 12",
                  right + "liczba    KWOTA",
                  "SALE           2     20,00 PLN",
                  "",
                  "All cardsets",
                  right + "liczba    KWOTA",
                  "SALE           5     70,00 PLN",
                  "REFUND         1    -10,00 PLN",
                  "",
                  texts[texts.size() - 4],  // date
                  texts[texts.size() - 3],  // time
                  w1250("   PROSIMY ZACHOWAĆ WYDRUK"),
                  "",
              }));
    EXPECT_EQ(printout.lines.front().pictureType, static_cast<uint32_t>(PR_PICTURE_HEADER_LOGO));
    EXPECT_EQ(printout.lines.back().pictureType, static_cast<uint32_t>(PR_PICTURE_FOOTER_LOGO));
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
  }
}

TEST_F(ReportsTest, FiscalShortSummaryNumbersEveryLineAndRestoresTheLength) {
  TerminalSimulator terminal;
  terminal.addStep(section("32", "", "Totals,SALE|3|12345,MAESTRO-CONTACTLESS|4|400"));
  start(terminal);
  ASSERT_EQ(ecr_getReportTotalSummary(ecr), ECR_OK);
  printout.normalLineLen = 40;
  printout.bigLineLen = 32;
  ASSERT_EQ(pr_prepareFiscalShortSummary(&printout, ecr), 0u);
  EXPECT_EQ(printout.normalLineLen, 40u);
  maskDigits({18, 19});
  // Normal-width lines on the fiscal width (31, right half 15), big lines on
  // the big width; every line numbered 14.
  zq::test::expectLines(
      printout.lines,
      zq::test::join(fiscalIdentityLines(31), {
          GoldenLine{std::string(31, ' '), 14},
          bigBoldLine(centreIn("ZESTAWIENIE", 32), 14),
          bigLine(centreIn(w1250("UWZGLĘDNIAJĄCE UNIEWAŻNIENIA"), 32), 14),
          bigLine(centreIn(w1250("WERSJA SKRÓCONA"), 32), 14),
          GoldenLine{std::string(31, ' '), 14},
          // The range tags are absent: 14 and 14 characters fit one line.
          GoldenLine{apartIn("OD RACH. NR: ?", "DO RACH. NR: ?", 31), 14},
          GoldenLine{std::string(31, ' '), 14},
          boldLine(leftIn("Totals", 31), 14),
          GoldenLine{std::string(16, ' ') + "liczba    KWOTA", 14},
          GoldenLine{"SALE            3    123,45 PLN", 14},
          GoldenLine{leftIn("MAESTRO-CONTACTLESS", 31), 14},
          GoldenLine{std::string(16, ' ') + "4      4,00 PLN", 14},
          GoldenLine{"", 14},
          GoldenLine{"DATA: 99.99.9999", 14},
          GoldenLine{"GODZINA: 99:99:99", 14},
          GoldenLine{centreIn(w1250("PROSIMY ZACHOWAĆ WYDRUK"), 31), 14},
      }));
  EXPECT_EQ(busCount("Unable to get tag 0x009FD224, status 0x05"), 1u);
  EXPECT_EQ(busCount("Unable to get tag 0x009FD223, status 0x05"), 1u);
}

// The host's generic fiscal line gives a fiscal report its width and its
// printer line number.
TEST_F(ReportsTest, TheHostsGenericFiscalLineLaysOutAFiscalReport) {
  TerminalSimulator terminal;
  terminal.addStep(section("32", "", "Totals,SALE|3|12345"));
  start(terminal);
  ASSERT_EQ(ecr_getReportTotalSummary(ecr), ECR_OK);
  pr_setFiscalFormatLine(PR_FISCAL_GENERIC, pr_FiscalFormatLine{15, 40});
  printout.normalLineLen = 30;
  ASSERT_EQ(pr_prepareFiscalShortSummary(&printout, ecr), 0u);
  EXPECT_EQ(printout.normalLineLen, 30u);
  ASSERT_FALSE(printout.lines.empty());
  for (const pr_Line& line : printout.lines) EXPECT_EQ(line.id, 15u) << line.text;
  const std::vector<std::string> all = texts();
  const auto has = [&](const std::string& t) {
    return std::find(all.begin(), all.end(), t) != all.end();
  };
  EXPECT_TRUE(has(leftIn("Totals", 40)));
  EXPECT_TRUE(has(std::string(40, ' ')));
  EXPECT_TRUE(has(centreIn(w1250("PROSIMY ZACHOWAĆ WYDRUK"), 40)));
}

// One step of a host: a printout call, or (without one) setting the normal
// width through the exported setter.
struct HostStep {
  HostStep(PrintoutFunction function) : call(function) {}  // NOLINT: a table of calls reads plainer
  PrintoutFunction call;
  uint32_t width = 0;
};

HostStep hostSets(uint32_t width) {
  HostStep step(nullptr);
  step.width = width;
  return step;
}

TEST_F(ReportsTest, FiscalReportsRestoreOnlyTheLengthTheirFirstStartSaved) {
  TerminalSimulator terminal;
  start(terminal);
  const struct {
    const char* name;
    uint32_t lengthBefore;
    std::vector<HostStep> steps;
    uint32_t lengthAfter;
  } cases[] = {
      {"start and finish", 40, {pr_startFiscalFullSummary, pr_finishFiscalFullSummary}, 40},
      // A repeated start keeps the length saved by the first one.
      {"two starts", 40,
       {pr_startFiscalFullSummary, pr_startFiscalFullSummary, pr_finishFiscalFullSummary}, 40},
      // Nothing was saved since the last finish (which saved 40).
      {"finish alone", 50, {pr_finishFiscalFullSummary}, 50},
      {"start alone", 40, {pr_startFiscalTransactionAnalysis}, 31},
      {"each report its own length", 40,
       {pr_startFiscalDccAnalysis, pr_startFiscalFullSummary, pr_finishFiscalDccAnalysis}, 40},
      // A report the host gave up on: the width it sets afterwards is the
      // one the next fiscal report saves and puts back.
      {"DCC analysis abandoned, then a whole one", 44,
       {pr_startFiscalDccAnalysis, hostSets(40), pr_startFiscalDccAnalysis, pr_finishFiscalDccAnalysis,
        pr_prepareShortTransactionAnalysis},
       40},
      {"long summary abandoned, then a whole one", 44,
       {pr_startFiscalFullSummary, hostSets(40), pr_startFiscalFullSummary, pr_finishFiscalFullSummary},
       40},
      {"long summary abandoned, then a short fiscal report", 44,
       {pr_startFiscalFullSummary, hostSets(40), pr_prepareFiscalShortSummary}, 40},
      // The host's width even when it is the fiscal one.
      {"abandoned, then the host sets the fiscal width itself", 44,
       {pr_startFiscalDccAnalysis, hostSets(31), pr_startFiscalDccAnalysis, pr_finishFiscalDccAnalysis},
       31},
      // A refused width changes nothing, so the saved one still comes back.
      {"a refused width keeps the saved one", 44,
       {pr_startFiscalDccAnalysis, hostSets(65), pr_finishFiscalDccAnalysis}, 44},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(pr_setNormalLineLen(&printout, c.lengthBefore), 0u);
    for (const HostStep& step : c.steps) {
      if (step.call != nullptr) {
        EXPECT_EQ(step.call(&printout, ecr), 0u);
      } else {
        pr_setNormalLineLen(&printout, step.width);
      }
    }
    EXPECT_EQ(printout.normalLineLen, c.lengthAfter);
    // What a started report left open is finished before the next case.
    pr_finishFiscalTransactionAnalysis(&printout, ecr);
    pr_finishFiscalFullSummary(&printout, ecr);
  }

  // A start without a terminal context changes nothing, not even the length.
  printout.normalLineLen = 40;
  pr_prepareShortSummary(&printout, ecr);
  const std::vector<std::string> before = texts();
  for (PrintoutFunction start : {pr_startFiscalFullSummary, pr_startFiscalTransactionAnalysis,
                                 pr_startFiscalDccAnalysis, pr_prepareFiscalShortSummary,
                                 pr_prepareFiscalShortTransactionAnalysis}) {
    EXPECT_EQ(start(&printout, nullptr), 1u);
    EXPECT_EQ(start(nullptr, ecr), 1u);
  }
  EXPECT_EQ(printout.normalLineLen, 40u);
  EXPECT_EQ(texts(), before);
  pr_finishFiscalFullSummary(&printout, ecr);
  EXPECT_EQ(printout.normalLineLen, 40u);
}

// The width a fiscal start saved goes with its context: a context made
// later at the same address (built here in the same storage, as an allocator
// may hand it out) keeps its own width through a whole fiscal report.
TEST_F(ReportsTest, AWidthSavedOnADestroyedContextNeverReachesTheNextOneAtItsAddress) {
  TerminalSimulator terminal;
  start(terminal);
  for (PrintoutFunction startFirst : {pr_startFiscalDccAnalysis, pr_startFiscalFullSummary}) {
    alignas(PrintoutCtx_s) unsigned char storage[sizeof(PrintoutCtx_s)];
    PrintoutCtx_s* a = new (storage) PrintoutCtx_s();
    ASSERT_EQ(pr_setNormalLineLen(a, 44), 0u);
    ASSERT_EQ(startFirst(a, ecr), 0u);
    a->~PrintoutCtx_s();

    PrintoutCtx_s* b = new (storage) PrintoutCtx_s();
    ASSERT_EQ(static_cast<void*>(b), static_cast<void*>(a));
    ASSERT_EQ(pr_setNormalLineLen(b, 40), 0u);
    EXPECT_EQ(pr_startFiscalDccAnalysis(b, ecr), 0u);
    EXPECT_EQ(pr_finishFiscalDccAnalysis(b, ecr), 0u);
    EXPECT_EQ(b->normalLineLen, 40u);
    EXPECT_EQ(pr_startFiscalFullSummary(b, ecr), 0u);
    EXPECT_EQ(pr_finishFiscalFullSummary(b, ecr), 0u);
    EXPECT_EQ(b->normalLineLen, 40u);
    b->~PrintoutCtx_s();
  }
}

TEST_F(ReportsTest, ASectionWithoutTitleIsLeftOutAndAnUnreadableOnePrintsTheUnknownPhrase) {
  const struct {
    const char* name;
    std::string summary;
    std::vector<std::string> body;  // between the header and the footer
  } cases[] = {
      {"no title: no lines at all", "", {}},
      {"a title too long to read", std::string(65, 'T') + ",SALE|1|100",
       {"?", std::string(15, ' ') + "liczba    KWOTA", "SALE           1      1,00 PLN", ""}},
      {"title without entries: no column header", "Nothing", {"Nothing", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    terminal.addStep(section("38", "", c.summary));
    start(terminal);
    ASSERT_EQ(ecr_getTransactionDccAnalysisTotalSummary(ecr), ECR_OK);
    printout.normalLineLen = 30;
    printout.bigLineLen = 30;
    ASSERT_EQ(pr_prepareShortTransactionAnalysis(&printout, ecr), 0u);
    const std::vector<std::string> texts = trimmedTexts();
    ASSERT_GE(texts.size(), 16u);
    // Header: logo, three address lines, two IDs, empty, title, version,
    // empty, range, empty; footer: date, time, keep-printout line, logo.
    EXPECT_EQ(texts[7], "      ANALIZA TRANSAKCJI");
    const std::vector<std::string> body(texts.begin() + 12, texts.end() - 4);
    EXPECT_EQ(body, c.body);
  }
}

TEST_F(ReportsTest, LongTransactionAnalysisKeepsTheOrderOfEntriesAndSummaries) {
  TerminalSimulator terminal;
  terminal.addStep(section("35", "", "Analysis,SALE|2|300"));
  start(terminal);
  printout.normalLineLen = 40;
  auto plantTransaction = [this](const char* receipt, const char* type) {
    setText(TAG_AUTHORIZATION_MESSAGE_NUMBER, receipt);
    setText(TAG_MASKED_PAN, "************1234");
    setText(TAG_TRANSACTION_TYPE, type);
    set(TAG_TRANSACTION_DATE, {0x26, 0x12, 0x08});
    set(TAG_TRANSACTION_TIME, {0x14, 0x05, 0x09});
    set(TAG_AMOUNT, {0x00, 0x01, 0x50});
    set(TAG_TRANSACTION_CURRENCY, {0x09, 0x85});
    set(TAG_CURRENCY_EXPONENT, {0x02});
    setText(TAG_USED_READER, "C");
    setText(TAG_AUTHORIZATION_TYPE, "1");
    setText(TAG_AUTHORIZATION_CODE, "A1B2C3");
  };
  ASSERT_EQ(pr_startTransactionAnalysis(&printout, ecr), 0u);
  const size_t header = printout.lines.size();
  plantTransaction("000017", "0");
  ASSERT_EQ(pr_addFullTransactionAnalysisEntry(&printout, ecr), 0u);
  ASSERT_EQ(ecr_getTransactionAnalysisSummary(ecr), ECR_OK);
  ASSERT_EQ(pr_addFullTransactionAnalysisSummary(&printout, ecr), 0u);
  plantTransaction("000018", "4");
  ASSERT_EQ(pr_addFullTransactionAnalysisEntry(&printout, ecr), 0u);
  ASSERT_EQ(pr_finishTransactionAnalysis(&printout, ecr), 0u);
  const std::vector<std::string> body = trimmedFrom(header);
  // The footer: date and time on one line, keep-printout line, logo.
  EXPECT_EQ(std::vector<std::string>(body.begin(), body.end() - 3),
            (std::vector<std::string>{
                "000017 ************1234   00 0812 140509",
                "K C 1 A1B2C3                    1,50 PLN",
                "",
                "Analysis",
                std::string(20, ' ') + "liczba         KWOTA",
                apartIn("SALE", apartIn("2", "3,00 PLN", 20), 40),
                "",
                "000018 ************1234   20 0812 140509",
                "K C 1 A1B2C3                    1,50 PLN",
                "",
            }));
  EXPECT_EQ(busCount("Add next report entry to long transaction analysis printout"), 2u);
  EXPECT_EQ(busCount("Add summary to long transaction analysis printout"), 1u);
  EXPECT_EQ(busCount("Finish long transaction analysis printout"), 1u);
}

TEST_F(ReportsTest, EveryReportFunctionRefusesAMissingContextAndKeepsThePreviousPrintout) {
  const PrintoutFunction functions[] = {
      pr_prepareShortSummary, pr_prepareShortTransactionAnalysis, pr_prepareFiscalShortSummary,
      pr_prepareFiscalShortTransactionAnalysis, pr_startFullSummary, pr_addFullSummaryEntry,
      pr_finishFullSummary, pr_startFiscalFullSummary, pr_addFiscalFullSummaryEntry,
      pr_finishFiscalFullSummary, pr_startTransactionAnalysis, pr_addFullTransactionAnalysisEntry,
      pr_addFullTransactionAnalysisSummary, pr_finishTransactionAnalysis,
      pr_startFiscalTransactionAnalysis, pr_addFiscalFullTransactionAnalysisEntry,
      pr_addFiscalFullTransactionAnalysisSummary, pr_finishFiscalTransactionAnalysis,
      pr_startDccAnalysis, pr_addDccAnalysisEntry, pr_finishDccAnalysis, pr_startFiscalDccAnalysis,
      pr_addFiscalDccAnalysisEntry, pr_finishFiscalDccAnalysis, pr_startClosingDay,
      pr_addClosingDayTransaction, pr_finishClosingDay, pr_startFiscalClosingDay,
      pr_addFiscalClosingDayTransaction, pr_finishFiscalClosingDay,
  };
  TerminalSimulator terminal;
  start(terminal);
  ASSERT_EQ(pr_prepareShortSummary(&printout, ecr), 0u);
  printout.nextLine = 2;
  const std::vector<std::string> before = texts();
  journal().clear();
  size_t index = 0;
  for (PrintoutFunction f : functions) {
    SCOPED_TRACE(index++);
    EXPECT_EQ(f(&printout, nullptr), 1u);
    EXPECT_EQ(f(nullptr, ecr), 1u);
    EXPECT_EQ(texts(), before);
    EXPECT_EQ(printout.nextLine, 2u);
    EXPECT_EQ(printout.normalLineLen, 64u);
    EXPECT_FALSE(printout.batch);
  }
  EXPECT_EQ(busCount("NULL CTX argument provided"), 2 * index);
}

}  // namespace

// Every terminal function holds its context from before its first log line:
// the host's log callback, called with that line, tries to destroy the
// context, and the clean-up is refused, for each function in turn. The line
// the host sees first is still the function's own (the claim logs nothing
// when it is granted). The sanitizer build would report a context freed
// under its function.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "api/EcrTestHelpers.h"
#include "core/Sleep.h"
#include "zumbra_callbacks.h"
#include "zumbra_ecr.h"

namespace {

const char kBusy[] = "ECR context busy, call refused";

struct World {
  EcrCtx_s* ctx = nullptr;
  bool armed = false;
  std::string firstLine;
  bool handleKept = false;
} g;

void onBusLine(const char* line) {
  if (!g.armed) return;
  g.armed = false;
  g.firstLine = line;
  EcrCtx_s* handle = g.ctx;
  ecr_cleanup(&handle);
  g.handleKept = handle == g.ctx;
}

bool endsWith(const std::string& line, const std::string& message) {
  const std::string tail = "- " + message + "\n";
  return line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
}

void skipPause(unsigned) {}

struct Row {
  const char* name;
  std::function<void(EcrCtx_s*)> call;
};

// Outputs NULL where a function takes them: the first line comes before
// any argument is looked at.
std::vector<Row> everyFunction() {
  const uint8_t bytes[] = {'2', '0'};
  return {
      {"ecr_setProtocol", [](EcrCtx_s* c) { ecr_setProtocol(c, 0); }},
      {"ecr_setTcpIpLink", [](EcrCtx_s* c) { ecr_setTcpIpLink(c, "127.0.0.1", zq::test::refusedPort(), 50); }},
      {"ecr_setSerialLink",
       [](EcrCtx_s* c) { ecr_setSerialLink(c, zq::test::missingSerialDevice(), COMM_8N1, COMM_BAUD_9600, 50); }},
      {"ecr_closeConnection", [](EcrCtx_s* c) { ecr_closeConnection(c); }},
      {"ecr_getLastReturnCode",
       [](EcrCtx_s* c) {
         uint32_t code = 0;
         ecr_getLastReturnCode(c, &code);
       }},
      {"ecr_setTransactionType", [](EcrCtx_s* c) { ecr_setTransactionType(c, ECR_TRANSACTION_PURCHASE); }},
      {"ecr_setTransactionAmount", [](EcrCtx_s* c) { ecr_setTransactionAmount(c, "1250"); }},
      {"ecr_setTransactionTitle", [](EcrCtx_s* c) { ecr_setTransactionTitle(c, "Title"); }},
      {"ecr_setTransactionBlikCode", [](EcrCtx_s* c) { ecr_setTransactionBlikCode(c, "123456"); }},
      {"ecr_setAdditionalPrintoutData", [](EcrCtx_s* c) { ecr_setAdditionalPrintoutData(c, "Data"); }},
      {"ecr_setEvoucherEan", [](EcrCtx_s* c) { ecr_setEvoucherEan(c, "5901234123457"); }},
      {"ecr_setNumberOfTransactionToComplete", [](EcrCtx_s* c) { ecr_setNumberOfTransactionToComplete(c, "7"); }},
      {"ecr_setNumberOfTransactionToReverse", [](EcrCtx_s* c) { ecr_setNumberOfTransactionToReverse(c, "7"); }},
      {"ecr_setTransactionId", [](EcrCtx_s* c) { ecr_setTransactionId(c, 7); }},
      {"ecr_setCardsetId", [](EcrCtx_s* c) { ecr_setCardsetId(c, 7); }},
      {"ecr_setCurrencyId", [](EcrCtx_s* c) { ecr_setCurrencyId(c, 7); }},
      {"ecr_setTerminalIndex", [](EcrCtx_s* c) { ecr_setTerminalIndex(c, 1); }},
      {"ecr_setEvoucherOperationType", [](EcrCtx_s* c) { ecr_setEvoucherOperationType(c, 1); }},
      {"ecr_setTransactionTokenGenerationEnabled", [](EcrCtx_s* c) { ecr_setTransactionTokenGenerationEnabled(c); }},
      {"ecr_setResetReport", [](EcrCtx_s* c) { ecr_setResetReport(c, true); }},
      {"ecr_setHandleTerminalRequests", [](EcrCtx_s* c) { ecr_setHandleTerminalRequests(c, 1); }},
      {"ecr_setCashRegisterId", [](EcrCtx_s* c) { ecr_setCashRegisterId(c, "1", 1); }},
      {"ecr_setTag", [bytes](EcrCtx_s* c) { ecr_setTag(c, 0x9FCD60, bytes, sizeof bytes); }},
      {"ecr_setTagToEmpty", [](EcrCtx_s* c) { ecr_setTagToEmpty(c, 0x9FCD60); }},
      {"ecr_addFleetCardProductData", [bytes](EcrCtx_s* c) { ecr_addFleetCardProductData(c, bytes, sizeof bytes); }},
      {"ecr_startTransaction", [](EcrCtx_s* c) { ecr_startTransaction(c); }},
      {"ecr_continueTransaction", [](EcrCtx_s* c) { ecr_continueTransaction(c); }},
      {"ecr_startEvoucherTransaction", [](EcrCtx_s* c) { ecr_startEvoucherTransaction(c); }},
      {"ecr_getLastTransactionData", [](EcrCtx_s* c) { ecr_getLastTransactionData(c); }},
      {"ecr_getBatchSummary", [](EcrCtx_s* c) { ecr_getBatchSummary(c); }},
      {"ecr_getSingleTransactionFromBatch", [](EcrCtx_s* c) { ecr_getSingleTransactionFromBatch(c); }},
      {"ecr_getTerminalStatus", [](EcrCtx_s* c) { ecr_getTerminalStatus(c); }},
      {"ecr_readTerminalInformationData", [](EcrCtx_s* c) { ecr_readTerminalInformationData(c); }},
      {"ecr_generateReport", [](EcrCtx_s* c) { ecr_generateReport(c); }},
      {"ecr_getReportCardsetSummary", [](EcrCtx_s* c) { ecr_getReportCardsetSummary(c); }},
      {"ecr_getReportTotalSummary", [](EcrCtx_s* c) { ecr_getReportTotalSummary(c); }},
      {"ecr_generateDccAnalysis", [](EcrCtx_s* c) { ecr_generateDccAnalysis(c); }},
      {"ecr_getTransactionDccAnalysisCurrencySummary",
       [](EcrCtx_s* c) { ecr_getTransactionDccAnalysisCurrencySummary(c); }},
      {"ecr_getTransactionDccAnalysisTotalSummary", [](EcrCtx_s* c) { ecr_getTransactionDccAnalysisTotalSummary(c); }},
      {"ecr_generateTransactionAnalysis", [](EcrCtx_s* c) { ecr_generateTransactionAnalysis(c); }},
      {"ecr_getTransactionAnalysisDetails", [](EcrCtx_s* c) { ecr_getTransactionAnalysisDetails(c); }},
      {"ecr_getTransactionAnalysisSummary", [](EcrCtx_s* c) { ecr_getTransactionAnalysisSummary(c); }},
      {"ecr_cmdExchange",
       [bytes](EcrCtx_s* c) {
         uint8_t response[16];
         size_t length = sizeof response;
         ecr_cmdExchange(c, bytes, sizeof bytes, response, &length);
       }},
      {"ecr_cancelTransaction", [](EcrCtx_s* c) { ecr_cancelTransaction(c); }},
      {"ecr_waitForStatusChange", [](EcrCtx_s* c) { ecr_waitForStatusChange(c); }},
      {"ecr_readTransactionType", [](EcrCtx_s* c) { ecr_readTransactionType(c, nullptr); }},
      {"ecr_readOriginalTransactionType", [](EcrCtx_s* c) { ecr_readOriginalTransactionType(c, nullptr); }},
      {"ecr_readUsedCardReaderType", [](EcrCtx_s* c) { ecr_readUsedCardReaderType(c, nullptr); }},
      {"ecr_readAuthorizationType", [](EcrCtx_s* c) { ecr_readAuthorizationType(c, nullptr); }},
      {"ecr_readAuthorizationMethod", [](EcrCtx_s* c) { ecr_readAuthorizationMethod(c, nullptr); }},
      {"ecr_readEmvCryptogramType", [](EcrCtx_s* c) { ecr_readEmvCryptogramType(c, nullptr); }},
      {"ecr_readIfTerminalMadePrinout", [](EcrCtx_s* c) { ecr_readIfTerminalMadePrinout(c, nullptr); }},
      {"ecr_readIfMultilanguagePrintoutIsRequired",
       [](EcrCtx_s* c) { ecr_readIfMultilanguagePrintoutIsRequired(c, nullptr); }},
      {"ecr_readIfReversalWasManual", [](EcrCtx_s* c) { ecr_readIfReversalWasManual(c, nullptr); }},
      {"ecr_readIfTransactionWasReversal", [](EcrCtx_s* c) { ecr_readIfTransactionWasReversal(c, nullptr); }},
      {"ecr_readBatchStatus", [](EcrCtx_s* c) { ecr_readBatchStatus(c, nullptr); }},
      {"ecr_readTerminalStatus", [](EcrCtx_s* c) { ecr_readTerminalStatus(c, nullptr); }},
      {"ecr_readTransactionDate", [](EcrCtx_s* c) { ecr_readTransactionDate(c, nullptr); }},
      {"ecr_readTransactionTime", [](EcrCtx_s* c) { ecr_readTransactionTime(c, nullptr); }},
      {"ecr_readTransactionCryptogram", [](EcrCtx_s* c) { ecr_readTransactionCryptogram(c, nullptr); }},
      {"ecr_readTransactionCounter", [](EcrCtx_s* c) { ecr_readTransactionCounter(c, nullptr); }},
      {"ecr_readTransactionTvr", [](EcrCtx_s* c) { ecr_readTransactionTvr(c, nullptr); }},
      {"ecr_readTransactionTsi", [](EcrCtx_s* c) { ecr_readTransactionTsi(c, nullptr); }},
      {"ecr_readTransactionAid", [](EcrCtx_s* c) { ecr_readTransactionAid(c, nullptr); }},
      {"ecr_readTransactionAmount", [](EcrCtx_s* c) { ecr_readTransactionAmount(c, nullptr); }},
      {"ecr_readTransactionAmountInTerminalCurrency",
       [](EcrCtx_s* c) { ecr_readTransactionAmountInTerminalCurrency(c, nullptr); }},
      {"ecr_readTransactionCashback", [](EcrCtx_s* c) { ecr_readTransactionCashback(c, nullptr); }},
      {"ecr_readAosa", [](EcrCtx_s* c) { ecr_readAosa(c, nullptr); }},
      {"ecr_readTransactionAmountOfTip", [](EcrCtx_s* c) { ecr_readTransactionAmountOfTip(c, nullptr); }},
      {"ecr_readAdditionalPrintoutData", [](EcrCtx_s* c) { ecr_readAdditionalPrintoutData(c, nullptr); }},
      {"ecr_readTransactionCurrencyLabel", [](EcrCtx_s* c) { ecr_readTransactionCurrencyLabel(c, nullptr); }},
      {"ecr_readTerminalCurrencyLabel", [](EcrCtx_s* c) { ecr_readTerminalCurrencyLabel(c, nullptr); }},
      {"ecr_readTransactionCurrencyCode", [](EcrCtx_s* c) { ecr_readTransactionCurrencyCode(c, nullptr); }},
      {"ecr_readTerminalCurrencyCode", [](EcrCtx_s* c) { ecr_readTerminalCurrencyCode(c, nullptr); }},
      {"ecr_readCurrencyExponent", [](EcrCtx_s* c) { ecr_readCurrencyExponent(c, nullptr); }},
      {"ecr_readTag", [](EcrCtx_s* c) { ecr_readTag(c, 0x9F02, nullptr, nullptr); }},
      {"ecr_readTerminalId", [](EcrCtx_s* c) { ecr_readTerminalId(c, nullptr, nullptr); }},
      {"ecr_readMerchantId", [](EcrCtx_s* c) { ecr_readMerchantId(c, nullptr, nullptr); }},
      {"ecr_readTerminalAddress",
       [](EcrCtx_s* c) { ecr_readTerminalAddress(c, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }},
      {"ecr_readResultTags", [](EcrCtx_s* c) { ecr_readResultTags(c, nullptr, nullptr); }},
      {"ecr_readReportTitle", [](EcrCtx_s* c) { ecr_readReportTitle(c, nullptr, nullptr); }},
      {"ecr_readReportEntry", [](EcrCtx_s* c) { ecr_readReportEntry(c, 1, nullptr, nullptr, nullptr, nullptr); }},
      {"ecr_readReportEntryValid",
       [](EcrCtx_s* c) { ecr_readReportEntryValid(c, 1, nullptr, nullptr, nullptr, nullptr, nullptr); }},
      {"ecr_readFleetCardData", [](EcrCtx_s* c) { ecr_readFleetCardData(c, 0xDF03, nullptr, nullptr); }},
      {"ecr_readFleetCardProductData", [](EcrCtx_s* c) { ecr_readFleetCardProductData(c, 1, nullptr, nullptr); }},
      {"ecr_readIfIsFleetCardIndicator", [](EcrCtx_s* c) { ecr_readIfIsFleetCardIndicator(c, nullptr); }},
      {"ecr_readIfIsFleetCardSignature", [](EcrCtx_s* c) { ecr_readIfIsFleetCardSignature(c, nullptr); }},
      {"ecr_readFleetCardProductName", [](EcrCtx_s* c) { ecr_readFleetCardProductName(c, "1", nullptr, 0); }},
      {"ecr_readTransactionResult", [](EcrCtx_s* c) { ecr_readTransactionResult(c, nullptr); }},
      // Its own clean-up refuses the one from its first line, then goes on.
      {"ecr_cleanup",
       [](EcrCtx_s* c) {
         EcrCtx_s* handle = c;
         ecr_cleanup(&handle);
         if (handle == nullptr) g.ctx = nullptr;
       }},
  };
}

TEST(EcrFirstLine, ACleanUpFromTheFirstLineOfEveryFunctionIsRefused) {
  zq::app::utils::registerCustomSleep(skipPause);
  cb_setHandleBusLog(onBusLine);
  for (const Row& row : everyFunction()) {
    SCOPED_TRACE(row.name);
    ASSERT_EQ(ecr_initialize(&g.ctx), ECR_OK);
    ecr_setProtocol(g.ctx, 0);
    // A link that is set but closed: commands fail at once, after their guard.
    ASSERT_EQ(ecr_setTcpIpLink(g.ctx, "127.0.0.1", zq::test::refusedPort(), 50), ECR_COMM_ERROR);
    g.handleKept = false;
    g.firstLine.clear();
    g.armed = true;
    row.call(g.ctx);
    g.armed = false;
    EXPECT_FALSE(g.firstLine.empty()) << "no line logged";
    EXPECT_FALSE(endsWith(g.firstLine, kBusy)) << g.firstLine;
    EXPECT_TRUE(g.handleKept);
    ecr_cleanup(&g.ctx);
  }
  zq::app::utils::registerCustomSleep(nullptr);
}

}  // namespace

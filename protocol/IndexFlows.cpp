#include "protocol/IndexFlows.h"

#include <string>
#include <vector>

#include "core/zumbra_log.h"
#include "protocol/SingleTranFromBatchMessage.h"
#include "protocol/SummaryMessage.h"
#include "protocol/TransAnalTransDetails.h"

namespace zq::app::protocols {

namespace {

// Shared by the four flows: no index, no exchange.
template <typename Message, typename View>
Result exchangeForIndex(TalvorenFlowInterface& flow, MaintenanceSubCtx& maintenanceCtx,
                        View& view, const utils::Optional<std::vector<unsigned char>>& index,
                        const char* requestLine, const char* missingIndexText) {
  if (!index.isPresent()) {
    logDevTrace("%s", missingIndexText);
    return Result(utils::RESULT_ARGUMENT_MISSING, missingIndexText);
  }
  const std::string text(index->begin(), index->end());
  logDevTrace(requestLine, text.c_str());
  TalvorenCommand command(new Message(maintenanceCtx, view));
  return flow.exchangeCommandAndCheckResult(command, TalvorenCommand::NO_DELAY);
}

}  // namespace

Result SingleTranFromBatchFlow::execute() {
  return exchangeForIndex<SingleTranFromBatchMessage>(
      *this, maintenanceCtx, transactionCtx, transactionCtx.getTransactionIndex(),
      "Read transaction %s from batch", resultTexts::kTransactionIdMissing);
}

Result TransactionAnalysisDetailsFlow::execute() {
  return exchangeForIndex<TransAnalTransDetails>(
      *this, maintenanceCtx, transactionCtx, transactionCtx.getTransactionIndex(),
      "Get transaction with index %s", resultTexts::kTransactionIdMissing);
}

Result TransactionReportCardsetsFlow::execute() {
  return exchangeForIndex<TransRepGetCardsetSummary>(
      *this, maintenanceCtx, reportCtx, reportCtx.getCardsetIndex(),
      "Get report for cardset with index %s", resultTexts::kCardsetIdMissing);
}

Result TransactionDccAnalysisCurrencyFlow::execute() {
  return exchangeForIndex<TransDccAnalCurrencySummary>(
      *this, maintenanceCtx, reportCtx, reportCtx.getCurrencyIndex(),
      "Get DCC analysis for currency with index %s", resultTexts::kCurrencyIdMissing);
}

}  // namespace zq::app::protocols

#include "protocol/TalvorenProtocol.h"

#include <cstring>
#include <vector>

#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "link/CommResult.h"
#include "protocol/GeneralReportGenerateFlow.h"
#include "protocol/GetEvoucherOpFlow.h"
#include "protocol/IndexFlows.h"
#include "protocol/PassThroughMessage.h"
#include "protocol/ReadFlows.h"
#include "protocol/StartAndPerformEvoucherTransactionFlow.h"
#include "protocol/StartAndPerformTransactionFlow.h"
#include "protocol/SummaryFlows.h"
#include "protocol/TalvorenCommand.h"

namespace zq::app::protocols {

namespace {

template <typename Flow, typename... Views>
Result runFlow(link::Link& link, Views&... views) {
  Flow flow(views...);
  return flow.setupAndExecute(link);
}

}  // namespace

// Every command is one flow on the context's views, run once on the
// caller's link and dropped.
Result TalvorenProtocol::getTerminalStatus(link::Link& link) {
  return runFlow<TerminalStatusReadFlow>(link, ctx.getMaintenanceCtx());
}
Result TalvorenProtocol::getTerminalGeneralInfo(link::Link& link) {
  return runFlow<TerminalGeneralInfoReadFlow>(link, ctx.getMaintenanceCtx());
}
Result TalvorenProtocol::getBatchSummary(link::Link& link) {
  return runFlow<BatchSummaryFlow>(link, ctx.getMaintenanceCtx(), ctx.getReportCtx());
}
Result TalvorenProtocol::getSingleTransFromSummary(link::Link& link) {
  return runFlow<SingleTranFromBatchFlow>(link, ctx.getMaintenanceCtx(), ctx.getTransactionCtx());
}
Result TalvorenProtocol::generateReport(link::Link& link) {
  return runFlow<TransactionReportGenerateFlow>(link, ctx.getMaintenanceCtx(), ctx.getReportCtx());
}
Result TalvorenProtocol::getReportCardsetSummary(link::Link& link) {
  return runFlow<TransactionReportCardsetsFlow>(link, ctx.getMaintenanceCtx(), ctx.getReportCtx());
}
Result TalvorenProtocol::getReportTotalSummary(link::Link& link) {
  return runFlow<TransactionReportTotalSummaryFlow>(link, ctx.getMaintenanceCtx(),
                                                    ctx.getReportCtx());
}
Result TalvorenProtocol::generateTransactionAnalysis(link::Link& link) {
  return runFlow<TransactionAnalysisGenerateFlow>(link, ctx.getMaintenanceCtx(),
                                                  ctx.getReportCtx());
}
Result TalvorenProtocol::getTransactionAnalysisDetails(link::Link& link) {
  return runFlow<TransactionAnalysisDetailsFlow>(link, ctx.getMaintenanceCtx(),
                                                 ctx.getTransactionCtx());
}
Result TalvorenProtocol::getTransactionAnalysisSummary(link::Link& link) {
  return runFlow<TransactionAnalysisSummaryFlow>(link, ctx.getMaintenanceCtx(), ctx.getReportCtx());
}
Result TalvorenProtocol::generateTransactionDccAnalysis(link::Link& link) {
  return runFlow<TransactionDccAnalysisGenerateFlow>(link, ctx.getMaintenanceCtx(),
                                                     ctx.getReportCtx());
}
Result TalvorenProtocol::getTransactionDccAnalysisCurrencySummary(link::Link& link) {
  return runFlow<TransactionDccAnalysisCurrencyFlow>(link, ctx.getMaintenanceCtx(),
                                                     ctx.getReportCtx());
}
Result TalvorenProtocol::getTransactionDccAnalysisTotalSummary(link::Link& link) {
  return runFlow<TransactionDccAnalysisSummaryFlow>(link, ctx.getMaintenanceCtx(),
                                                    ctx.getReportCtx());
}
Result TalvorenProtocol::startTransaction(link::Link& link) {
  TransactionSubCtx& transaction = ctx.getTransactionCtx();
  if (transaction.getContinuePreviousTransaction()) {
    ContinueTransactionFlow flow(ctx.getMaintenanceCtx(), transaction);
    return flow.setupAndExecute(link);
  }
  StartAndPerformTransactionFlow flow(ctx.getMaintenanceCtx(), transaction);
  return flow.setupAndExecute(link);
}
Result TalvorenProtocol::getLastTransactionData(link::Link& link) {
  return runFlow<LastTransactionDataFlow>(link, ctx.getMaintenanceCtx(), ctx.getTransactionCtx());
}

// The host's own bytes go out as they are and the terminal's whole reply
// comes back: no envelope, no return code, the long pause.
Result TalvorenProtocol::passThroughMessage(link::Link& link, const unsigned char* request,
                                            size_t requestLength, unsigned char* response,
                                            size_t* responseLength) {
  // Nothing is sent for pointers the reply could not be handed back through.
  if ((request == nullptr && requestLength > 0) || responseLength == nullptr ||
      (response == nullptr && *responseLength > 0)) {
    logDevError("NULL pointer provided");
    return Result(utils::RESULT_ARGUMENT_MISSING, "NULL pointer provided");
  }
  MaintenanceSubCtx& maintenance = ctx.getMaintenanceCtx();
  maintenance.setCustomData(request == nullptr
                                ? std::vector<unsigned char>()
                                : std::vector<unsigned char>(request, request + requestLength));
  TalvorenCommand command(new PassThroughMessage(maintenance));
  const comm::CommResult exchanged = command.exchange(link, TalvorenCommand::LONG_DELAY);
  if (!exchanged.isOk()) {
    logDevError("Flow stopped because of a communication error");
    return Result(utils::RESULT_COMM_ERROR, exchanged.getMessage());
  }
  logDevTrace("Message exchanged successfully");
  const std::vector<unsigned char> reply = maintenance.getCustomData();
  if (reply.size() > *responseLength) {
    logDevError("%s", resultTexts::kResponseBufferTooShort);
    return Result(utils::RESULT_UNKNOWN_RETURN_CODE, resultTexts::kResponseBufferTooShort);
  }
  if (!reply.empty()) std::memcpy(response, reply.data(), reply.size());
  *responseLength = reply.size();
  return Result(utils::RESULT_OK);
}

Result TalvorenProtocol::startEvoucherTransaction(link::Link& link) {
  TransactionSubCtx& transaction = ctx.getTransactionCtx();
  Result result;
  if (transaction.getContinuePreviousTransaction()) {
    ContinueTransactionFlow flow(ctx.getMaintenanceCtx(), transaction);
    result = flow.setupAndExecute(link);
  } else {
    StartAndPerformEvoucherTransactionFlow flow(ctx.getMaintenanceCtx(), transaction);
    result = flow.setupAndExecute(link);
  }
  // The EAN names the voucher of one sale; whatever came of it, the next
  // sale must not sell that voucher again unasked.
  ctx.getApiCtx().removeTag(TAG_EV_EAN);
  return result;
}

Result TalvorenProtocol::getEvouchOp(link::Link& link) {
  return runFlow<GetEvoucherOpFlow>(link, ctx.getMaintenanceCtx(), ctx.getTransactionCtx());
}

}  // namespace zq::app::protocols

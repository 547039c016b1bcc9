// The terminal commands: transactions, reports, analyses and maintenance.
#include "api/EcrCtx.h"
#include "api/EcrFunctionSupport.h"
#include "api/ExportGuard.h"
#include "core/zumbra_log.h"

using zq::app::api::notImplementedAfterGuard;
using zq::app::api::printable;

// ---- Terminal commands ----

ecr_status ecr_startTransaction(EcrCtx_s* ctx) {
  logBusDebug("Start transaction");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_continueTransaction(EcrCtx_s* ctx) {
  logBusDebug("Continue transaction");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_startEvoucherTransaction(EcrCtx_s* ctx) {
  logBusDebug("Start EV transaction");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_getLastTransactionData(EcrCtx_s* ctx) {
  logBusDebug("Get last transaction data");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_getBatchSummary(EcrCtx_s* ctx) {
  logBusDebug("Get batch summary");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_getSingleTransactionFromBatch(EcrCtx_s* ctx) {
  logBusDebug("Get single transaction from batch");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_getTerminalStatus(EcrCtx_s* ctx) {
  logBusDebug("Get terminal status");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTerminalInformationData(EcrCtx_s* ctx) {
  logBusDebug("Read terminal information data");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_generateReport(EcrCtx_s* ctx) {
  logBusDebug("Generate transaction report");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_getReportCardsetSummary(EcrCtx_s* ctx) {
  logBusDebug("Get transaction report cardset summary");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_getReportTotalSummary(EcrCtx_s* ctx) {
  logBusDebug("Get transaction report total summary");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_generateDccAnalysis(EcrCtx_s* ctx) {
  logBusDebug("Generate DCC Analysis");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_getTransactionDccAnalysisCurrencySummary(EcrCtx_s* ctx) {
  logBusDebug("DCC Analysis - currency summary");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_getTransactionDccAnalysisTotalSummary(EcrCtx_s* ctx) {
  logBusDebug("DCC Analysis - total summary");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_generateTransactionAnalysis(EcrCtx_s* ctx) {
  logBusDebug("Generate transaction analysis");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_getTransactionAnalysisDetails(EcrCtx_s* ctx) {
  logBusDebug("Transaction analysis - details");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_getTransactionAnalysisSummary(EcrCtx_s* ctx) {
  logBusDebug("Transaction analysis - summary");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_cmdExchange(EcrCtx_s* ctx, const uint8_t* /*request*/, size_t /*requestLength*/, uint8_t* /*response*/, size_t* /*responseLength*/) {
  logBusDebug("Exchange raw data:");
  return notImplementedAfterGuard(ctx, __func__);
}

// ---- Operations the terminal protocol does not offer (final) ----
ecr_status ecr_cancelTransaction(EcrCtx_s* ctx) {
  logBusDebug("Cancel transaction");
  return notImplementedAfterGuard(ctx, __func__);
}
ecr_status ecr_waitForStatusChange(EcrCtx_s* ctx) {
  logBusDebug("Wait for status change");
  return notImplementedAfterGuard(ctx, __func__);
}

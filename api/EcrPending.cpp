// Terminal functions whose bodies are still to come. Each already behaves
// as an exported function must: it logs what it was asked, runs the context
// guard (ECR_NOT_INITIALIZED) and then answers ECR_NOT_IMPLEMENTED, touching
// neither the terminal nor the context. The real bodies replace these one by
// one. The last two, which the terminal protocol has no operation for, are in
// their final form.
#include "api/EcrCtx.h"
#include "api/ExportGuard.h"
#include "core/zumbra_log.h"

namespace {

const char* printable(const char* text) { return text ? text : "(null)"; }

ecr_status notImplementedAfterGuard(EcrCtx_s* ctx, const char* function) noexcept {
  return zq::app::utils::guardExport(function, ECR_ERROR, [&]() -> ecr_status {
    if (!checkContext(ctx)) return ECR_NOT_INITIALIZED;
    logBusFatal("Not implemented yet");
    return ECR_NOT_IMPLEMENTED;
  });
}

}  // namespace

// ---- Transaction parameters ----

ecr_status ecr_setTransactionType(EcrCtx_s* ctx, ecr_transactionType type) {
  logBusTrace("Set transaction type to %d", static_cast<int>(type));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setTransactionAmount(EcrCtx_s* ctx, const char* amount) {
  logBusTrace("Set amount to %s", printable(amount));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setTransactionTitle(EcrCtx_s* ctx, const char* title) {
  logBusTrace("Set title to %s", printable(title));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setTransactionBlikCode(EcrCtx_s* ctx, const char* code) {
  logBusTrace("Set BLIK code to %s", printable(code));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setAdditionalPrintoutData(EcrCtx_s* ctx, const char* data) {
  logBusTrace("Set Additional Printout Data to %s", printable(data));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setEvoucherEan(EcrCtx_s* ctx, const char* ean) {
  logBusTrace("Set EAN to %s", printable(ean));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setNumberOfTransactionToComplete(EcrCtx_s* ctx, const char* number) {
  logBusTrace("Set number of transaction to complete to %s", printable(number));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setNumberOfTransactionToReverse(EcrCtx_s* ctx, const char* number) {
  logBusTrace("Set number of transaction to reverse to %s", printable(number));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setTransactionId(EcrCtx_s* ctx, uint32_t id) {
  logBusTrace("Set transaction ID to %d", static_cast<int>(id));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setCardsetId(EcrCtx_s* ctx, uint32_t id) {
  logBusTrace("Set cardset ID to %d", static_cast<int>(id));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setCurrencyId(EcrCtx_s* ctx, uint32_t id) {
  logBusTrace("Set currency ID to %d", static_cast<int>(id));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setTerminalIndex(EcrCtx_s* ctx, uint8_t index) {
  logBusTrace("Set terminal index to %u", static_cast<unsigned>(index));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setEvoucherOperationType(EcrCtx_s* ctx, uint8_t type) {
  logBusTrace("Set EV Operation Type to %u", static_cast<unsigned>(type));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setTransactionTokenGenerationEnabled(EcrCtx_s* ctx) {
  logBusTrace("Set Token Generation Enabled");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setResetReport(EcrCtx_s* ctx, bool reset) {
  logBusTrace("Set resetting report data to %s", reset ? "TRUE" : "FALSE");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setHandleTerminalRequests(EcrCtx_s* ctx, uint32_t mode) {
  logBusTrace("Set handling terminal requests to %u", static_cast<unsigned>(mode & 0xFFu));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setCashRegisterId(EcrCtx_s* ctx, const char* /*id*/, size_t /*length*/) {
  logBusTrace("Set cash register ID to");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setTag(EcrCtx_s* ctx, TlvTag tag, const uint8_t* /*value*/, size_t /*length*/) {
  logBusTrace("Set tag 0x%08X to ", static_cast<unsigned>(tag));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_setTagToEmpty(EcrCtx_s* ctx, TlvTag tag) {
  logBusTrace("Clear tag 0x%08X to ", static_cast<unsigned>(tag));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_addFleetCardProductData(EcrCtx_s* ctx, const uint8_t* /*data*/, size_t /*length*/) {
  return zq::app::utils::guardExport(__func__, ECR_ERROR, [&]() -> ecr_status {
    // This setter runs the guard before it logs anything.
    if (!checkContext(ctx)) return ECR_NOT_INITIALIZED;
    logBusTrace("Set Fleet card product data:");
    logBusFatal("Not implemented yet");
    return ECR_NOT_IMPLEMENTED;
  });
}

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

// ---- Result readers ----

ecr_status ecr_readTransactionType(EcrCtx_s* ctx, ecr_transactionType* /*type*/) {
  logBusTrace("Read transaction type");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readOriginalTransactionType(EcrCtx_s* ctx, ecr_transactionType* /*type*/) {
  logBusTrace("Read original transaction type");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readUsedCardReaderType(EcrCtx_s* ctx, CardReaderType* /*type*/) {
  logBusTrace("Read used card reader type");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readAuthorizationType(EcrCtx_s* ctx, AuthorizationType* /*type*/) {
  logBusTrace("Read authorization type");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readAuthorizationMethod(EcrCtx_s* ctx, AuthorizationMethod* /*method*/) {
  logBusTrace("Read authorization method");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readEmvCryptogramType(EcrCtx_s* ctx, EmvCryptogramType* /*type*/) {
  logBusTrace("Read EMV cryptogram type");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readIfTerminalMadePrinout(EcrCtx_s* ctx, bool* /*printed*/) {
  logBusTrace("Read if terminal made printout");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readIfMultilanguagePrintoutIsRequired(EcrCtx_s* ctx, bool* /*required*/) {
  logBusTrace("Read if multilanguage printout is required");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readIfReversalWasManual(EcrCtx_s* ctx, bool* /*manual*/) {
  logBusTrace("Read if transaction was a manual reversal");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readIfTransactionWasReversal(EcrCtx_s* ctx, bool* /*reversal*/) {
  logBusTrace("Read if transaction was a reversal");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readBatchStatus(EcrCtx_s* ctx, ecr_batchStatus* /*status*/) {
  logBusDebug("Read batch status from context");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTerminalStatus(EcrCtx_s* ctx, ecr_terminalStatus* /*status*/) {
  logBusDebug("Read terminal status from context");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionDate(EcrCtx_s* ctx, char* /*date*/) {
  logBusTrace("Read transaction date");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionTime(EcrCtx_s* ctx, char* /*time*/) {
  logBusTrace("Read transaction time");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionCryptogram(EcrCtx_s* ctx, char* /*cryptogram*/) {
  logBusTrace("Read transaction cryptogram");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionCounter(EcrCtx_s* ctx, char* /*counter*/) {
  logBusTrace("Read transaction counter");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionTvr(EcrCtx_s* ctx, char* /*tvr*/) {
  logBusTrace("Read terminal verification results");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionTsi(EcrCtx_s* ctx, char* /*tsi*/) {
  logBusTrace("Read transaction status information");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionAid(EcrCtx_s* ctx, char* /*aid*/) {
  logBusTrace("Read application identifier");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionAmount(EcrCtx_s* ctx, char* /*amount*/) {
  logBusTrace("Read transaction amount");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionAmountInTerminalCurrency(EcrCtx_s* ctx, char* /*amount*/) {
  logBusTrace("Read transaction amount in terminal currency");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionCashback(EcrCtx_s* ctx, char* /*amount*/) {
  logBusTrace("Read cashback amount");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readAosa(EcrCtx_s* ctx, char* /*amount*/) {
  logBusTrace("Read available online spending amount");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionAmountOfTip(EcrCtx_s* ctx, char* /*amount*/) {
  logBusTrace("Read amount of tip");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readAdditionalPrintoutData(EcrCtx_s* ctx, char* /*data*/) {
  logBusTrace("Read additional printout data");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionCurrencyLabel(EcrCtx_s* ctx, char* /*label*/) {
  logBusTrace("Read transaction currency label");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTerminalCurrencyLabel(EcrCtx_s* ctx, char* /*label*/) {
  logBusTrace("Read terminal currency label");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionCurrencyCode(EcrCtx_s* ctx, uint16_t* /*code*/) {
  logBusTrace("Read transaction currency code");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTerminalCurrencyCode(EcrCtx_s* ctx, uint16_t* /*code*/) {
  logBusTrace("Read terminal currency code");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readCurrencyExponent(EcrCtx_s* ctx, char* /*exponent*/) {
  logBusTrace("Read currency exponent");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTerminalId(EcrCtx_s* ctx, uint8_t* /*buffer*/, size_t* /*length*/) {
  logBusDebug("Get Terminal ID");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readMerchantId(EcrCtx_s* ctx, uint8_t* /*buffer*/, size_t* /*length*/) {
  logBusDebug("Get Merchant ID");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTerminalAddress(EcrCtx_s* ctx, uint8_t* /*line1*/, size_t* /*length1*/, uint8_t* /*line2*/, size_t* /*length2*/, uint8_t* /*line3*/, size_t* /*length3*/) {
  logBusDebug("Get Terminal Address");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readResultTags(EcrCtx_s* ctx, uint8_t* /*buffer*/, size_t* /*length*/) {
  logBusDebug("Read all result tags");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readReportTitle(EcrCtx_s* ctx, uint8_t* /*title*/, size_t* /*length*/) {
  logBusDebug("Read report title");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readFleetCardData(EcrCtx_s* ctx, TlvTag /*subTag*/, uint8_t* /*buffer*/, size_t* /*length*/) {
  logBusTrace("Read fleet card data");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readFleetCardProductData(EcrCtx_s* ctx, uint8_t /*index*/, uint8_t* /*buffer*/, size_t* /*length*/) {
  logBusTrace("Read fleet card product data");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readIfIsFleetCardIndicator(EcrCtx_s* ctx, bool* /*indicator*/) {
  logBusTrace("Read if is fleet card indicator");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readIfIsFleetCardSignature(EcrCtx_s* ctx, bool* /*signature*/) {
  logBusTrace("Read if is fleet card signature");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readFleetCardProductName(EcrCtx_s* ctx, const char* /*id*/, char* /*output*/, size_t /*outputSize*/) {
  logBusTrace("Read fleet card product name");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTransactionResult(EcrCtx_s* ctx, ecr_transactionResult* /*result*/) {
  logBusTrace("Read transaction results");
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readTag(EcrCtx_s* ctx, TlvTag tag, uint8_t* /*buffer*/, size_t* /*length*/) {
  logBusDebug("Read tag 0x%08X", static_cast<unsigned>(tag));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readReportEntryValid(EcrCtx_s* ctx, size_t id, uint8_t* /*name*/, size_t* /*nameLength*/, uint32_t* /*count*/, int64_t* /*amount*/, bool* /*valid*/) {
  logBusDebug("Read report entry %d", static_cast<int>(id));
  return notImplementedAfterGuard(ctx, __func__);
}

ecr_status ecr_readReportEntry(EcrCtx_s* ctx, size_t id, uint8_t* name, size_t* nameLength,
                               uint32_t* count, int64_t* amount) {
  return ecr_readReportEntryValid(ctx, id, name, nameLength, count, amount, nullptr);
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

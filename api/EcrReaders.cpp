// The readers of what the terminal answered.
#include "api/EcrCtx.h"
#include "api/EcrFunctionSupport.h"
#include "api/ExportGuard.h"
#include "core/zumbra_log.h"

using zq::app::api::notImplementedAfterGuard;
using zq::app::api::printable;

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

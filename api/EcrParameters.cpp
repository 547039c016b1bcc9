// The parameters of the next request: transaction kind, amount, texts, tags.
#include "api/EcrCtx.h"
#include "api/EcrFunctionSupport.h"
#include "api/ExportGuard.h"
#include "core/zumbra_log.h"

using zq::app::api::notImplementedAfterGuard;
using zq::app::api::printable;

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

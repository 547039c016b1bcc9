#include "printouts/documents/BatchPrintoutBuilder.h"

#include <memory>
#include <string>

#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "printouts/documents/Batch.h"
#include "printouts/documents/CommonDataExtractor.h"
#include "printouts/engine/PrintDictionary.h"

namespace zq::app::printouts {

namespace {

uint32_t notOpened() {
  logBusError("Closing day printout was not initiated properly");
  return PRINTOUT_NULL_CTX;
}

void addCenterPhrase(pr_Dictionary id) {
  PrintoutCtx_s::addStandardSimpleCenterLineToCtx(RawLineTexts(PrintDictionary::phrase(id)));
}

}  // namespace

void BatchPrintoutBuilder::prepareDateAndTime() {
  CommonDataExtractor reader;
  date = reader.getTag(ecr, tlv::TAG_BATCH_DATE);
  time = reader.getTag(ecr, tlv::TAG_BATCH_TIME);
}

void BatchPrintoutBuilder::handleAdditionalFooterPart() const {
  addEmptyLine();
  addCenterPhrase(PR_DICT_BALANCES_AGREED);
  addCenterPhrase(PR_DICT_KEEP_PRINTOUT);
}

void BatchPrintoutBuilder::addSlips(PrintoutCtx_s* ctx, EcrCtx_s* ecr) const {
  if (ctx->batch && !ctx->batch->getEmpty()) ReportPrintoutBuilder::addSlips(ctx, ecr);
}

uint32_t BatchPrintoutBuilder::startLongReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  logBusInfo("Start preparing closing day printout");
  const uint32_t status = init(ctx, ecr);
  if (status != PRINTOUT_OK) return status;
  if (ctx->batch) {
    logBusError("Closing day started already");
    ctx->batch->dbgDump();
    return PRINTOUT_CLOSING_DAY_REFUSED;
  }
  ctx->batch = std::make_shared<Batch>();
  return PRINTOUT_OK;
}

uint32_t BatchPrintoutBuilder::handleReportEntry() const {
  if (!ctx->batch) return notOpened();
  if (!ctx->batch->addTransaction(ecr)) {
    logBusError("Unable to add transaction to batch printout");
    return PRINTOUT_CLOSING_DAY_REFUSED;
  }
  ctx->batch->setEmpty(false);
  return PRINTOUT_OK;
}

uint32_t BatchPrintoutBuilder::finishReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  // Both contexts, and the batch, before anything is written or printed.
  uint32_t status = init(ctx, ecr);
  if (status != PRINTOUT_OK) return status;
  if (!ctx->batch) return notOpened();
  Batch& batch = *ctx->batch;
  batch.setSlips(ecr);
  status = LongReportPrintoutBuilder::startLongReport(ctx, ecr);
  if (status != PRINTOUT_OK) return status;
  if (batch.getEmpty()) {
    addCenterPhrase(PR_DICT_NO_TRANSACTIONS_TO_SETTLE);
    addCenterPhrase(PR_DICT_TERMINAL_READY);
  } else {
    batch.generateBatch(ctx, ecr);
  }
  addEmptyLine();
  return LongReportPrintoutBuilder::finishReport(ctx, ecr);
}

}  // namespace zq::app::printouts

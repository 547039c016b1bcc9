#include "printouts/documents/ReportPrintoutBuilder.h"

#include <string>

#include "core/DateTime.h"
#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "printouts/documents/CommonDataExtractor.h"
#include "printouts/documents/ReportEntriesExtractor.h"
#include "printouts/documents/TransactionEntryExtractor.h"
#include "printouts/engine/AdvancedLineBuilder.h"
#include "printouts/engine/FiscalFormat.h"
#include "printouts/engine/PrintDictionary.h"

namespace zq::app::printouts {

namespace {

void addEmptyCenterLine() { PrintoutCtx_s::addStandardSimpleCenterLineToCtx(RawLineTexts(std::string())); }

void addBigCenterPhrase(pr_Dictionary id) {
  PrintoutCtx_s::addStandardBigCenterLineToCtx(RawLineTexts(PrintDictionary::phrase(id)));
}

}  // namespace

uint32_t ReportPrintoutBuilder::startReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  const uint32_t status = preparePrintout(ctx, ecr);
  if (status != PRINTOUT_OK) return status;
  addEmptyCenterLine();
  PrintoutCtx_s::addStandardBigBoldCenterLineToCtx(RawLineTexts(PrintDictionary::phrase(getTitle())));
  handleVoidsIncluded();
  handleVersion();
  addEmptyCenterLine();
  addSlips(this->ctx, this->ecr);
  addEmptyCenterLine();
  return PRINTOUT_OK;
}

void ReportPrintoutBuilder::prepareBasicPrintoutInformation() {
  ctx->dcc = false;
  ctx->multilang = false;
}

void ReportPrintoutBuilder::prepareTidAndMidPart() {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(RawLineTexts::getPair(PR_DICT_POS_ID, tid)));
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(RawLineTexts::getPair(PR_DICT_MID, mid)));
}

void ReportPrintoutBuilder::handleAdditionalFooterPart() const {
  PrintoutCtx_s::addStandardSimpleCenterLineToCtx(RawLineTexts(PrintDictionary::phrase(PR_DICT_KEEP_PRINTOUT)));
}

void ReportPrintoutBuilder::addSlips(PrintoutCtx_s* ctx, EcrCtx_s* ecr) const {
  CommonDataExtractor reader;
  const std::string last = reader.getTag(ecr, tlv::TAG_SEQUENCE_NUMBER_LAST_TRANSACTION);
  const std::string first = reader.getTag(ecr, tlv::TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION);
  TwoEntryLineBrokenBuilder::get().buildLine(
      RawLineTexts(RawLineTexts::getPair(PR_DICT_FROM_RECEIPT_NUMBER, first),
                   RawLineTexts::getPair(PR_DICT_TO_RECEIPT_NUMBER, last)),
      ctx->normalLineLen);
}

uint32_t LongReportPrintoutBuilder::startLongReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return startReport(ctx, ecr);
}

uint32_t LongReportPrintoutBuilder::addReportEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  const uint32_t status = init(ctx, ecr);
  if (status != PRINTOUT_OK) return status;
  logBusDebug("Add next report entry to %s printout", getPrintoutName());
  return handleReportEntry();
}

uint32_t LongReportPrintoutBuilder::finishReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  const uint32_t status = init(ctx, ecr);
  if (status != PRINTOUT_OK) return status;
  logBusDebug("Finish %s printout", getPrintoutName());
  prepareDateAndTime();
  finishPrintout();
  return PRINTOUT_OK;
}

void LongReportPrintoutBuilder::handleVersion() const { addBigCenterPhrase(PR_DICT_FULL_VERSION); }

void NonbatchReportPrintoutBuilder::prepareDateAndTime() {
  date = utils::getCurrentDate();
  time = utils::getCurrentTime();
}

void NonbatchReportPrintoutBuilder::handleStandardReportEntry() const {
  const std::string title = CommonDataExtractor().getReportTitle(ecr);
  if (title.empty()) return;
  PrintoutCtx_s::addStandardBoldLeftLineToCtx(RawLineTexts(title));
  ReportEntriesExtractor().addEntriesToPrintout(ecr, ctx->normalLineLen);
  logBusTrace("Entry for %s added to printout", title.c_str());
  addEmptyLine();
}

uint32_t NonbatchReportPrintoutBuilder::addReportSection() const {
  handleStandardReportEntry();
  return PRINTOUT_OK;
}

uint32_t ShortReportPrintoutBuilder::prepareShortReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  const uint32_t status = startReport(ctx, ecr);
  if (status != PRINTOUT_OK) return status;
  handleStandardReportEntry();
  prepareDateAndTime();
  finishPrintout();
  return PRINTOUT_OK;
}

void ShortReportPrintoutBuilder::handleVersion() const { addBigCenterPhrase(PR_DICT_SHORT_VERSION); }

void SummaryPrintoutBuilder::handleVoidsIncluded() const { addBigCenterPhrase(PR_DICT_VOIDS_INCLUDED); }

uint32_t TransAnalPrintoutBuilder::addSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  const uint32_t status = init(ctx, ecr);
  if (status != PRINTOUT_OK) return status;
  logBusDebug("Add summary to %s printout", getPrintoutName());
  handleStandardReportEntry();
  return PRINTOUT_OK;
}

uint32_t TransAnalPrintoutBuilder::addTransactionEntry() const {
  TransactionEntryExtractor().addEntryToPrintout(ecr, ctx->normalLineLen);
  return PRINTOUT_OK;
}

uint32_t FiscalReportPrintoutBuilder::startReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  // Refused before anything changes: a length set here would stay in force
  // until some fiscal report is finished.
  if (ctx == nullptr || ecr == nullptr) return init(ctx, ecr);
  // A start repeated before the finish finds the fiscal width in force and
  // keeps the width saved before it.
  if (!ctx->widthBeforeFiscalReport) ctx->widthBeforeFiscalReport = ctx->normalLineLen;
  ctx->normalLineLen = FiscalFormat::getInstance().getLineWidth();
  return ReportPrintoutBuilder::startReport(ctx, ecr);
}

void FiscalReportPrintoutBuilder::finishPrintout() {
  PrintoutBuilder::finishPrintout();
  const uint32_t id = FiscalFormat::getInstance().getId(PR_FISCAL_GENERIC);
  for (pr_Line& line : ctx->lines) line.id = id;
  // Only what a start saved on this context: a finish without a start
  // leaves the width alone.
  if (!ctx->widthBeforeFiscalReport) return;
  ctx->normalLineLen = *ctx->widthBeforeFiscalReport;
  ctx->widthBeforeFiscalReport.reset();
}

}  // namespace zq::app::printouts

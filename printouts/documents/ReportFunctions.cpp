// The printout functions of the reports and the closing day. Receipts and
// short reports use a builder made for the call; the reports built over
// several calls, and the closing day, use one process-wide builder each,
// which keeps its state from the start to the finish.
#include <cstdint>

#include "printouts/documents/BatchPrintoutBuilder.h"
#include "printouts/documents/PrintoutClaim.h"
#include "printouts/documents/ReportPrintoutBuilder.h"
#include "zumbra_printout.h"

namespace zq::app::printouts {

namespace {

// Built together on the first use of any of them, in this order, and left
// alive at exit, as every process-wide object of the library is: a host may
// still print a report from its atexit handlers, also one registered before
// it opened the library.
struct LongReportBuilders {
  StandardLongSummaryPrintoutBuilder standardLongSummaryPrintoutBuilder_;
  FiscalLongSummaryPrintoutBuilder fiscalLongSummaryPrintoutBuilder_;
  StandardLongTransAnalPrintoutBuilder standardLongTransAnalPrintoutBuilder_;
  FiscalLongTransAnalPrintoutBuilder fiscalLongTransAnalPrintoutBuilder_;
  StandardDccAnalPrintoutBuilder standardDccAnalPrintoutBuilder_;
  FiscalDccAnalPrintoutBuilder fiscalDccAnalPrintoutBuilder_;
  StandardBatchPrintoutBuilder standardBatchPrintoutBuilder_;
  FiscalBatchPrintoutBuilder fiscalBatchPrintoutBuilder_;
};

LongReportBuilders& builders() {
  static LongReportBuilders& all = *new LongReportBuilders();
  return all;
}

}  // namespace

}  // namespace zq::app::printouts

namespace pr = zq::app::printouts;
// The claims of a printout, then the builder; a refusal, or whatever
// escapes the builder (it allocates lines and texts), becomes code 1.
using pr::claimedPrintout;

namespace {

template <typename Builder>
uint32_t shortReport(const char* function, PrintoutCtx_s* ctx, EcrCtx_s* ecr) noexcept {
  return claimedPrintout(function, ctx, ecr, [&] { return Builder().prepareShortReport(ctx, ecr); });
}

}  // namespace

uint32_t pr_prepareShortSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return shortReport<pr::StandardShortSummaryPrintoutBuilder>(__func__, ctx, ecr);
}
uint32_t pr_prepareShortTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return shortReport<pr::StandardShortTransAnalPrintoutBuilder>(__func__, ctx, ecr);
}
uint32_t pr_prepareFiscalShortSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return shortReport<pr::FiscalShortSummaryPrintoutBuilder>(__func__, ctx, ecr);
}
uint32_t pr_prepareFiscalShortTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return shortReport<pr::FiscalShortTransAnalPrintoutBuilder>(__func__, ctx, ecr);
}

uint32_t pr_startFullSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().standardLongSummaryPrintoutBuilder_.startLongReport(ctx, ecr); });
}
uint32_t pr_addFullSummaryEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().standardLongSummaryPrintoutBuilder_.addReportEntry(ctx, ecr); });
}
uint32_t pr_finishFullSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().standardLongSummaryPrintoutBuilder_.finishReport(ctx, ecr); });
}
uint32_t pr_startFiscalFullSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().fiscalLongSummaryPrintoutBuilder_.startLongReport(ctx, ecr); });
}
uint32_t pr_addFiscalFullSummaryEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().fiscalLongSummaryPrintoutBuilder_.addReportEntry(ctx, ecr); });
}
uint32_t pr_finishFiscalFullSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().fiscalLongSummaryPrintoutBuilder_.finishReport(ctx, ecr); });
}

uint32_t pr_startTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr,
                 [&] { return pr::builders().standardLongTransAnalPrintoutBuilder_.startLongReport(ctx, ecr); });
}
uint32_t pr_addFullTransactionAnalysisEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr,
                 [&] { return pr::builders().standardLongTransAnalPrintoutBuilder_.addReportEntry(ctx, ecr); });
}
uint32_t pr_addFullTransactionAnalysisSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().standardLongTransAnalPrintoutBuilder_.addSummary(ctx, ecr); });
}
uint32_t pr_finishTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().standardLongTransAnalPrintoutBuilder_.finishReport(ctx, ecr); });
}
uint32_t pr_startFiscalTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr,
                 [&] { return pr::builders().fiscalLongTransAnalPrintoutBuilder_.startLongReport(ctx, ecr); });
}
uint32_t pr_addFiscalFullTransactionAnalysisEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr,
                 [&] { return pr::builders().fiscalLongTransAnalPrintoutBuilder_.addReportEntry(ctx, ecr); });
}
uint32_t pr_addFiscalFullTransactionAnalysisSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().fiscalLongTransAnalPrintoutBuilder_.addSummary(ctx, ecr); });
}
uint32_t pr_finishFiscalTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().fiscalLongTransAnalPrintoutBuilder_.finishReport(ctx, ecr); });
}

uint32_t pr_startDccAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().standardDccAnalPrintoutBuilder_.startLongReport(ctx, ecr); });
}
uint32_t pr_addDccAnalysisEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().standardDccAnalPrintoutBuilder_.addReportEntry(ctx, ecr); });
}
uint32_t pr_finishDccAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().standardDccAnalPrintoutBuilder_.finishReport(ctx, ecr); });
}
uint32_t pr_startFiscalDccAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().fiscalDccAnalPrintoutBuilder_.startLongReport(ctx, ecr); });
}
uint32_t pr_addFiscalDccAnalysisEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().fiscalDccAnalPrintoutBuilder_.addReportEntry(ctx, ecr); });
}
uint32_t pr_finishFiscalDccAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().fiscalDccAnalPrintoutBuilder_.finishReport(ctx, ecr); });
}

uint32_t pr_startClosingDay(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().standardBatchPrintoutBuilder_.startLongReport(ctx, ecr); });
}
uint32_t pr_addClosingDayTransaction(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().standardBatchPrintoutBuilder_.addReportEntry(ctx, ecr); });
}
uint32_t pr_finishClosingDay(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().standardBatchPrintoutBuilder_.finishReport(ctx, ecr); });
}
uint32_t pr_startFiscalClosingDay(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().fiscalBatchPrintoutBuilder_.startLongReport(ctx, ecr); });
}
uint32_t pr_addFiscalClosingDayTransaction(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().fiscalBatchPrintoutBuilder_.addReportEntry(ctx, ecr); });
}
uint32_t pr_finishFiscalClosingDay(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  return claimedPrintout(__func__, ctx, ecr, [&] { return pr::builders().fiscalBatchPrintoutBuilder_.finishReport(ctx, ecr); });
}

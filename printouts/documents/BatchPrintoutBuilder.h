// The closing-day report: opened on a printout context, fed one transaction
// at a time, and printed from the library's own totals with the terminal's
// count, sum, sending status, date and time.
#pragma once

#include <cstdint>

#include "printouts/documents/ReportPrintoutBuilder.h"

namespace zq::app::printouts {

class BatchPrintoutBuilder : public LongReportPrintoutBuilder {
 public:
  pr_Dictionary getTitle() const override { return PR_DICT_CLOSING_DAY_TITLE; }
  void handleVoidsIncluded() const override {}
  void handleVersion() const override {}
  // The terminal's batch date and time, as it stores them.
  void prepareDateAndTime() override;
  void handleAdditionalFooterPart() const override;
  // Only when a transaction was counted.
  void addSlips(PrintoutCtx_s* ctx, EcrCtx_s* ecr) const override;
  // Opens the closing day; prints nothing.
  uint32_t startLongReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr) override;
  // The whole report; the closing day stays open on the context.
  uint32_t finishReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr) override;
  // Counts one transaction; prints nothing.
  uint32_t handleReportEntry() const override;
};

class StandardBatchPrintoutBuilder : public BatchPrintoutBuilder,
                                     public PrintoutBuilderWithLogos,
                                     public StandardEmptyLine {
 public:
  const char* getPrintoutName() const override { return "closing day"; }
};

class FiscalBatchPrintoutBuilder : public BatchPrintoutBuilder,
                                   public FiscalReportPrintoutBuilder,
                                   public FiscalEmptyLine {
 public:
  const char* getPrintoutName() const override { return "fiscal closing day"; }
};

}  // namespace zq::app::printouts

// The rows of the closing-day report: one kind of transaction with its count
// and sum, and the terminal's own total of the day.
#pragma once

#include "printouts/documents/Batch.h"
#include "printouts/documents/ExtractorWithBuildingAmountLine.h"

namespace zq::app::printouts {

class BatchEntryExtractor : public StandardExtractorWithBuildingAmountLine {
 public:
  void addEntryToPrintout(const Batch::TransactionsSummary& summary, unsigned width);
};

class BatchSummaryExtractor : public StandardExtractorWithBuildingAmountLine,
                              public ExtractorWithGettingTag {
 public:
  void addEntryToPrintout(EcrCtx_s* ecr, unsigned width);
};

}  // namespace zq::app::printouts

// The payment title the cash register gave a transaction, printed on its
// receipt when the terminal context holds one.
#pragma once

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class TransactionTitleExtractor : public ExtractorWithCheckingTag {
 public:
  ~TransactionTitleExtractor() override = default;

  // The title lines of the layout; value holds the title.
  virtual void addTitleToPrintout() = 0;

  // Nothing when the terminal context holds no title.
  void addTextToPrintout(EcrCtx_s* ecr);
};

// An empty line, the label, the title: standard left lines.
class StandardTransactionTitleExtractor : public TransactionTitleExtractor {
 public:
  void addTitleToPrintout() override;
};

// The label, the title, an empty line: fiscal lines as they are.
class FiscalTransactionTitleExtractor : public TransactionTitleExtractor {
 public:
  void addTitleToPrintout() override;
};

}  // namespace zq::app::printouts

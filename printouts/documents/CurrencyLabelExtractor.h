// The three-letter currency label printed with an amount, with the
// dictionary's default currency when the terminal sent no code.
#pragma once

#include <string>

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class CurrencyLabelExtractor : public ExtractorWithHandlingMissingData {
 public:
  ~CurrencyLabelExtractor() override = default;

  void handlePresentData() override;
  void handleMissingData() override;
  void handleReadingDataError(ecr_status status) override;
  virtual ecr_status readCurrencyLabel() = 0;

  std::string getCurrencyLabel(EcrCtx_s* ecr);

 protected:
  char rawLabel[ECR_CURRENCY_LABEL_SIZE] = {};  // as the reader writes it
  std::string label;
};

// The label of the terminal's own currency (the merchant amount of DCC).
class TerminalCurrencyLabelExtractor : public CurrencyLabelExtractor {
 public:
  ecr_status readCurrencyLabel() override;
};

// The label of the transaction currency.
class TransactionCurrencyLabelExtractor : public CurrencyLabelExtractor {
 public:
  ecr_status readCurrencyLabel() override;
};

}  // namespace zq::app::printouts

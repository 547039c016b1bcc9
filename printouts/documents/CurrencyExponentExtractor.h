// The number of decimal digits of an amount, with the dictionary's default
// exponent when the terminal sent none or an unreadable one.
#pragma once

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class CurrencyExponentExtractor : public ExtractorWithHandlingMissingData {
 public:
  ~CurrencyExponentExtractor() override = default;

  void handlePresentData() override;
  void handleMissingData() override;
  void handleReadingDataError(ecr_status status) override;

  // The digit's character code minus '0'.
  unsigned int getCurrencyExponent(EcrCtx_s* ecr);

  // The first character of the default-exponent phrase (a zero byte when the
  // phrase is empty).
  static char defaultExponentDigit();

 protected:
  char exponentDigit = 0;
};

}  // namespace zq::app::printouts

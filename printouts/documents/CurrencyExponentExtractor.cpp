#include "printouts/documents/CurrencyExponentExtractor.h"

#include <string>

#include "core/zumbra_log.h"
#include "printouts/engine/PrintDictionary.h"

namespace zq::app::printouts {

char CurrencyExponentExtractor::defaultExponentDigit() {
  const std::string phrase = PrintDictionary::phrase(PR_DICT_DEFAULT_EXPONENT);
  return phrase.empty() ? '\0' : phrase[0];
}

unsigned int CurrencyExponentExtractor::getCurrencyExponent(EcrCtx_s* ecr) {
  this->ecr = ecr;
  exponentDigit = 0;
  handleAttemptToReadData(ecr_readCurrencyExponent(ecr, &exponentDigit));
  return static_cast<unsigned int>(static_cast<unsigned char>(exponentDigit)) - 0x30u;
}

void CurrencyExponentExtractor::handlePresentData() {}

void CurrencyExponentExtractor::handleMissingData() {
  exponentDigit = defaultExponentDigit();
  logBusTrace("Currency exponent missing, use default %c", exponentDigit);
}

void CurrencyExponentExtractor::handleReadingDataError(ecr_status status) {
  exponentDigit = defaultExponentDigit();
  logBusError("Unable to read currency exponent, status 0x%02X, use default %c",
              static_cast<unsigned>(status), exponentDigit);
}

}  // namespace zq::app::printouts

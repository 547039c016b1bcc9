#include "printouts/documents/CurrencyLabelExtractor.h"

#include <cstring>

#include "core/zumbra_log.h"
#include "printouts/engine/PrintDictionary.h"

namespace zq::app::printouts {

std::string CurrencyLabelExtractor::getCurrencyLabel(EcrCtx_s* ecr) {
  this->ecr = ecr;
  std::memset(rawLabel, 0, sizeof rawLabel);
  handleAttemptToReadData(readCurrencyLabel());
  return label;
}

void CurrencyLabelExtractor::handlePresentData() {
  // Never more than three letters, whatever the reader left in the last byte.
  label.assign(rawLabel, strnlen(rawLabel, sizeof rawLabel - 1));
}

void CurrencyLabelExtractor::handleMissingData() {
  label = PrintDictionary::phrase(PR_DICT_DEFAULT_CURRENCY);
  logBusTrace("Currency label missing, use default %s", label.c_str());
}

void CurrencyLabelExtractor::handleReadingDataError(ecr_status status) {
  label = PrintDictionary::phrase(PR_DICT_UNKNOWN);
  logBusError("Unable to read currency label, status 0x%02X, use %s", static_cast<unsigned>(status),
              label.c_str());
}

ecr_status TerminalCurrencyLabelExtractor::readCurrencyLabel() {
  return ecr_readTerminalCurrencyLabel(ecr, rawLabel);
}

ecr_status TransactionCurrencyLabelExtractor::readCurrencyLabel() {
  return ecr_readTransactionCurrencyLabel(ecr, rawLabel);
}

}  // namespace zq::app::printouts

#include "printouts/documents/ExtractorWithBuildingAmountLine.h"

#include <algorithm>

#include "core/zumbra_log.h"
#include "printouts/documents/CurrencyExponentExtractor.h"
#include "printouts/documents/CurrencyLabelExtractor.h"
#include "printouts/engine/PrintDictionary.h"

namespace zq::app::printouts {

uint8_t ExtractorWithBuildingAmountLine::usableExponent(unsigned int exponent) {
  if (exponent > 9) {
    logDevWarn("Currency exponent %u is not a digit, use 2", exponent);
    return 2;
  }
  return static_cast<uint8_t>(exponent);
}

void ExtractorWithBuildingAmountLine::setDefaultCurrencyData() {
  currencyLabel = PrintDictionary::phrase(PR_DICT_DEFAULT_CURRENCY);
  const unsigned char digit =
      static_cast<unsigned char>(CurrencyExponentExtractor::defaultExponentDigit());
  exponent = usableExponent(static_cast<unsigned int>(digit) - 0x30u);
}

bool ExtractorWithBuildingAmountLine::isAmountNegative(std::string text) {
  return !text.empty() && text[0] == '-';
}

std::string ExtractorWithBuildingAmountLine::buildAmountEntry() const {
  std::string copy = amount;
  const bool negative = isAmountNegative(copy);
  if (negative) copy.erase(0, 1);
  const size_t digits = static_cast<size_t>(exponent) + 1;
  if (copy.size() < digits) copy.insert(0, digits - copy.size(), '0');
  if (negative) copy.insert(0, 1, '-');
  return orderAmountEntry(copy);
}

std::string ExtractorWithBuildingAmountLine::getMainEntryPart(const std::string& entry) const {
  // A caller's entry shorter than the exponent keeps all its characters
  // after the separator rather than reaching before its start.
  const size_t decimals = std::min<size_t>(exponent, entry.size());
  const size_t whole = entry.size() - decimals;
  return entry.substr(0, whole) + PrintDictionary::phrase(PR_DICT_DECIMAL_SEPARATOR) +
         entry.substr(whole);
}

std::string ExtractorWithBuildingAmountLine::prepareAmount() {
  char buffer[ECR_AMOUNT_SIZE] = {};
  const ecr_status status = ecr_readTransactionAmount(ecr, buffer);
  if (status != ECR_OK) {
    logBusError("Unable to get transaction amount, status 0x%02X", static_cast<unsigned>(status));
    return PrintDictionary::phrase(PR_DICT_UNKNOWN);
  }
  buffer[ECR_AMOUNT_SIZE - 1] = '\0';
  amount = buffer;
  currencyLabel = TransactionCurrencyLabelExtractor().getCurrencyLabel(ecr);
  exponent = usableExponent(CurrencyExponentExtractor().getCurrencyExponent(ecr));
  logDevTrace("Transaction amount: %s, exponent %u, currency %s", amount.c_str(),
              static_cast<unsigned>(exponent), currencyLabel.c_str());
  return buildAmountEntry();
}

std::string ExtractorWithBuildingAmountLine::prepareMerchantAmount() {
  char buffer[ECR_AMOUNT_SIZE] = {};
  const ecr_status status = ecr_readTransactionAmountInTerminalCurrency(ecr, buffer);
  if (status != ECR_OK) {
    logBusError("Unable to get transaction amount in terminal currency, status 0x%02X",
                static_cast<unsigned>(status));
    return PrintDictionary::phrase(PR_DICT_UNKNOWN);
  }
  buffer[ECR_AMOUNT_SIZE - 1] = '\0';
  amount = buffer;
  currencyLabel = TerminalCurrencyLabelExtractor().getCurrencyLabel(ecr);
  const unsigned char digit =
      static_cast<unsigned char>(CurrencyExponentExtractor::defaultExponentDigit());
  exponent = usableExponent(static_cast<unsigned int>(digit) - 0x30u);
  logDevTrace("Transaction amount in terminal currency: %s, exponent %u, currency %s",
              amount.c_str(), static_cast<unsigned>(exponent), currencyLabel.c_str());
  return buildAmountEntry();
}

std::string ExtractorWithBuildingAmountLine::getMerchantAmount(EcrCtx_s* ecr) {
  this->ecr = ecr;
  return prepareMerchantAmount();
}

std::string StandardExtractorWithBuildingAmountLine::orderAmountEntry(const std::string& entry) const {
  return getMainEntryPart(entry) + " " + currencyLabel;
}

std::string FiscalExtractorWithBuildingAmountLine::orderAmountEntry(const std::string& entry) const {
  return currencyLabel + separator + getMainEntryPart(entry);
}

void FiscalExtractorWithBuildingAmountLine::setStandardFiscalSeparator() { separator = '\x1E'; }

void FiscalExtractorWithBuildingAmountLine::setSpaceAsSeparator() { separator = ' '; }

std::string ExtractorWithBuildingAmountWithoutCurrency::orderAmountEntry(
    const std::string& entry) const {
  return getMainEntryPart(entry);
}

std::string ExtractorWithBuildingAmountWithoutCurrency::prepareAmount(std::string& text) {
  amount = text;
  currencyLabel = TransactionCurrencyLabelExtractor().getCurrencyLabel(ecr);
  exponent = usableExponent(CurrencyExponentExtractor().getCurrencyExponent(ecr));
  logDevTrace("Amount: %s, exponent %u, currency %s", amount.c_str(),
              static_cast<unsigned>(exponent), currencyLabel.c_str());
  return buildAmountEntry();
}

}  // namespace zq::app::printouts

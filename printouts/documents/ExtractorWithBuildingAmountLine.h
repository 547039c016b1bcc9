// Amounts as printouts show them: the terminal's decimal digits laid out
// with the currency's number of decimals, the dictionary's decimal separator
// and a currency label, in a standard, fiscal or label-less layout.
#pragma once

#include <cstdint>
#include <string>

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class ExtractorWithBuildingAmountLine : public virtual Extractor {
 public:
  ~ExtractorWithBuildingAmountLine() override = default;

  // Puts the formatted number and the label together.
  virtual std::string orderAmountEntry(const std::string& entry) const = 0;

  // Label and exponent from the dictionary's default phrases.
  void setDefaultCurrencyData();
  static bool isAmountNegative(std::string text);
  // amount padded to exponent + 1 digits (sign kept), laid out by the leaf.
  std::string buildAmountEntry() const;
  // entry with the decimal separator before its last exponent characters.
  std::string getMainEntryPart(const std::string& entry) const;
  // The transaction amount, formatted; the unknown phrase when unreadable.
  std::string prepareAmount();
  // The amount in the terminal's currency, formatted.
  std::string prepareMerchantAmount();
  std::string getMerchantAmount(EcrCtx_s* ecr);

  // The number of decimals to lay an amount out with. The exponent readers
  // and the default phrase give digits; anything else (a host that set the
  // default phrase to a non-digit) falls back to two decimals.
  static uint8_t usableExponent(unsigned int exponent);

 protected:
  std::string currencyLabel;
  std::string amount;
  uint8_t exponent = 0;
};

// '123,45 PLN'
class StandardExtractorWithBuildingAmountLine : public virtual ExtractorWithBuildingAmountLine {
 public:
  ~StandardExtractorWithBuildingAmountLine() override = default;
  std::string orderAmountEntry(const std::string& entry) const override;
};

// 'PLN' 0x1E '123,45', or with a blank as separator 'PLN 123,45'.
class FiscalExtractorWithBuildingAmountLine : public virtual ExtractorWithBuildingAmountLine {
 public:
  ~FiscalExtractorWithBuildingAmountLine() override = default;
  std::string orderAmountEntry(const std::string& entry) const override;
  void setStandardFiscalSeparator();
  void setSpaceAsSeparator();

 protected:
  char separator = '\x1E';
};

// '123,45'
class ExtractorWithBuildingAmountWithoutCurrency : public virtual ExtractorWithBuildingAmountLine {
 public:
  ~ExtractorWithBuildingAmountWithoutCurrency() override = default;
  std::string orderAmountEntry(const std::string& entry) const override;
  using ExtractorWithBuildingAmountLine::prepareAmount;
  // text laid out with the transaction currency's exponent, without label.
  std::string prepareAmount(std::string& text);
};

}  // namespace zq::app::printouts

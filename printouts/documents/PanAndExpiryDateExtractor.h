// The masked card number and the card's expiry date, one line on every
// transaction receipt. Four process-wide extractors, one for each receipt
// kind (standard, fiscal) and copy (customer, merchant): the copy decides
// which PAN tag is printed, the kind how the line is laid out.
#pragma once

#include <cstddef>
#include <string>

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class PanAndExpiryDateExtractor : public ExtractorWithCheckingTag,
                                  public ExtractorWithHandlingMissingData {
 public:
  ~PanAndExpiryDateExtractor() override = default;

  void handlePresentData() override;
  virtual void addPreparedPanAndExpiryDateToPrintout() const = 0;
  // False when this copy has no PAN to print; the line is then left out.
  virtual bool preparePan() = 0;
  virtual char getExpiryDateSeparator() const = 0;
  void handleMissingData() override;
  void handleReadingDataError(ecr_status status) override;

  // The PAN line, when there is a PAN; the expiry date is read only then.
  void addTextToPrintout(EcrCtx_s* ecr);
  // pan = text in groups of four characters, each followed by a blank.
  void dividePan(const std::string& text);

 protected:
  PanAndExpiryDateExtractor() = default;

  // Two blanks either side of the separator: the expiry printed when the
  // terminal sent none (or a short one).
  std::string blankExpiryDate() const;

  std::string pan;
  std::string expiryDate;
  unsigned char rawExpiryDate[10] = {};
  size_t rawExpiryDateLength = 0;
  // The instances serve every receipt of the process: this tells whether the
  // receipt being built printed a PAN line, so that nothing read for an
  // earlier receipt (another card) shows up on this one.
  bool panLinePrinted = false;
};

// The merchant copy prints the terminal's masked PAN, unless it is the
// sixteen blanks a terminal sends for "no card number".
class MerchantPanAndExpiryDateExtractor : public virtual PanAndExpiryDateExtractor {
 public:
  ~MerchantPanAndExpiryDateExtractor() override = default;
  bool preparePan() override;
  bool isPanEmpty() const;
};

// The customer copy prefers the PAN masked for the customer, and falls back
// to the merchant rule without it.
class CustomerPanAndExpiryDateExtractor : public MerchantPanAndExpiryDateExtractor {
 public:
  ~CustomerPanAndExpiryDateExtractor() override = default;
  bool preparePan() override;
};

// PAN at the left, "Valid to: MM/YY" at the right, or on two lines.
class StandardPanAndExpiryDateExtractor : public virtual PanAndExpiryDateExtractor {
 public:
  ~StandardPanAndExpiryDateExtractor() override = default;
  char getExpiryDateSeparator() const override;
  void addPreparedPanAndExpiryDateToPrintout() const override;

  void addTextToPrintout(EcrCtx_s* ecr, unsigned int width);
  // The English expiry line of a bilingual receipt; nothing when this
  // receipt printed no PAN line.
  void addMultilangExpiryDateToPrintout();

 protected:
  unsigned int lineWidth = 0;
};

// PAN, 0x1E, expiry with 0x1E between its bytes, for the fiscal printer.
class FiscalPanAndExpiryDateExtractor : public virtual PanAndExpiryDateExtractor {
 public:
  ~FiscalPanAndExpiryDateExtractor() override = default;
  char getExpiryDateSeparator() const override;
  void addPreparedPanAndExpiryDateToPrintout() const override;
};

class StandardCustomerPanAndExpiryDateExtractor : public CustomerPanAndExpiryDateExtractor,
                                                  public StandardPanAndExpiryDateExtractor {
 public:
  static StandardPanAndExpiryDateExtractor& get();
};

class StandardMerchantPanAndExpiryDateExtractor : public MerchantPanAndExpiryDateExtractor,
                                                  public StandardPanAndExpiryDateExtractor {
 public:
  static StandardPanAndExpiryDateExtractor& get();
};

class FiscalCustomerPanAndExpiryDateExtractor : public FiscalPanAndExpiryDateExtractor,
                                                public CustomerPanAndExpiryDateExtractor {
 public:
  static FiscalPanAndExpiryDateExtractor& get();
};

class FiscalMerchantPanAndExpiryDateExtractor : public FiscalPanAndExpiryDateExtractor,
                                                public MerchantPanAndExpiryDateExtractor {
 public:
  static FiscalPanAndExpiryDateExtractor& get();
};

}  // namespace zq::app::printouts

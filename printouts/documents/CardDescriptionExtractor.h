// The card description under the PAN line: the AID, the card label
// (preferred name with the BLIK code or the reader letter), the contactless
// scheme of the two schemes known by their AID, and a voucher type.
#pragma once

#include <string>

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class CardDescriptionExtractor : public ExtractorWithGettingTag, public ExtractorWithCheckingTag {
 public:
  ~CardDescriptionExtractor() override = default;

  virtual void addAidToPrintout(const std::string& aid) const = 0;
  virtual void addCardLabelToPrintout(const std::string& label) const = 0;
  virtual void addPaypassLineToPrintout() const = 0;
  virtual void addPaywaveLineToPrintout() const = 0;
  virtual void addErzsebetVoucherTypeToPrintout() const = 0;

  void addTextToPrintout(EcrCtx_s* ecr);
  std::string getCardLabel() const;
  // Empty when the terminal sent no BLIK code.
  std::string getBlikCode() const;
  bool isPaypass(const std::string& aid) const;
  bool isPaywave(const std::string& aid) const;
};

class StandardCardDescriptionExtractor : public CardDescriptionExtractor {
 public:
  void addAidToPrintout(const std::string& aid) const override;
  void addCardLabelToPrintout(const std::string& label) const override;
  void addPaypassLineToPrintout() const override;
  void addPaywaveLineToPrintout() const override;
  void addErzsebetVoucherTypeToPrintout() const override;
};

class FiscalCardDescriptionExtractor : public CardDescriptionExtractor {
 public:
  void addAidToPrintout(const std::string& aid) const override;
  void addCardLabelToPrintout(const std::string& label) const override;
  void addPaypassLineToPrintout() const override;
  void addPaywaveLineToPrintout() const override;
  void addErzsebetVoucherTypeToPrintout() const override;
};

}  // namespace zq::app::printouts

// The EMV application cryptogram of a receipt with its type, or for a BLIK
// transaction the BLIK reference code and the operator line instead.
#pragma once

#include <string>

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class AcExtractor : public ExtractorWithCheckingTag {
 public:
  ~AcExtractor() override = default;

  virtual void addReferenceCodeToPrintout(const std::string& code) const = 0;
  virtual void addBlikOperatorToPrintout(const std::string& text) const = 0;
  virtual void addAcToPrintout(const std::string& cryptogram, EmvCryptogramType type) const = 0;

  void addTextToPrintout(EcrCtx_s* ecr, bool isBlik);
  // The cryptogram line, only when both the cryptogram and its type are known.
  void handleCryptogram();
};

class StandardAcExtractor : public AcExtractor {
 public:
  void addReferenceCodeToPrintout(const std::string& code) const override;
  void addBlikOperatorToPrintout(const std::string& text) const override;
  void addAcToPrintout(const std::string& cryptogram, EmvCryptogramType type) const override;
};

class FiscalAcExtractor : public AcExtractor {
 public:
  void addReferenceCodeToPrintout(const std::string& code) const override;
  void addBlikOperatorToPrintout(const std::string& text) const override;
  void addAcToPrintout(const std::string& cryptogram, EmvCryptogramType type) const override;
};

}  // namespace zq::app::printouts

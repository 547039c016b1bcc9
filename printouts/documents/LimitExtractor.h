// The card's available balance on a customer copy, when the terminal
// returned one: one line, standard or fiscal.
#pragma once

#include <string>

#include "printouts/documents/ExtractorWithBuildingAmountLine.h"

namespace zq::app::printouts {

class LimitExtractor : public virtual ExtractorWithBuildingAmountLine,
                       public ExtractorWithCheckingTag {
 public:
  ~LimitExtractor() override = default;

  virtual void addLimitToPrintout(const std::string& text) = 0;

  // Nothing is printed when the limit cannot be read.
  void addTextToPrintout(EcrCtx_s* ecr);
};

class StandardLimitExtractor : public LimitExtractor,
                               public StandardExtractorWithBuildingAmountLine {
 public:
  void addLimitToPrintout(const std::string& text) override;
};

class FiscalLimitExtractor : public LimitExtractor, public FiscalExtractorWithBuildingAmountLine {
 public:
  FiscalLimitExtractor() { setSpaceAsSeparator(); }
  void addLimitToPrintout(const std::string& text) override;
};

}  // namespace zq::app::printouts

// DCC text 1 of a DCC receipt: the terminal's free text, word-wrapped and
// left-aligned ("?" when the terminal sent none).
#pragma once

#include <string>

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class DccText1Extractor : public ExtractorWithBuildingMultipleLines, public ExtractorWithGettingTag {
 public:
  ~DccText1Extractor() override = default;

  void addBuildedLine(const std::string& line) override;
  void addTextToPrintout(EcrCtx_s* ecr, const unsigned int& width);
};

class FiscalDccText1Extractor : public DccText1Extractor {
 public:
  void addBuildedLine(const std::string& line) override;
  using DccText1Extractor::addTextToPrintout;
  // On the fiscal width.
  void addTextToPrintout(EcrCtx_s* ecr);
};

}  // namespace zq::app::printouts

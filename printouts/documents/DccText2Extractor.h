// DCC text 2 of a DCC receipt, after an empty line: the terminal breaks it
// into lines with a backslash and one more character, which is not printed;
// each piece is word-wrapped and centred. Nothing when the terminal sent none.
#pragma once

#include <string>

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class DccText2Extractor : public ExtractorWithBuildingMultipleLines, public ExtractorWithCheckingTag {
 public:
  ~DccText2Extractor() override = default;

  void addBuildedLine(const std::string& line) override;
  virtual void addEmptyLine() const;

  void addTextToPrintout(EcrCtx_s* ecr, const unsigned int& width);
};

class FiscalDccText2Extractor : public DccText2Extractor {
 public:
  void addBuildedLine(const std::string& line) override;
  void addEmptyLine() const override;
  using DccText2Extractor::addTextToPrintout;
  // On the fiscal width.
  void addTextToPrintout(EcrCtx_s* ecr);
};

}  // namespace zq::app::printouts

#include "printouts/documents/DccText2Extractor.h"

#include <vector>

#include "core/Converters.h"
#include "core/TagNames.h"
#include "printouts/engine/FiscalFormat.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

void DccText2Extractor::addTextToPrintout(EcrCtx_s* ecr, const unsigned int& width) {
  this->ecr = ecr;
  if (!checkStandardTag(TAG_DCC_TEXT_2)) return;
  addEmptyLine();
  const std::vector<std::string> pieces = utils::csvToFields(value, '\\');
  for (size_t i = 0; i < pieces.size(); ++i) {
    // Every later piece starts with the character that followed its
    // backslash. Two backslashes in a row leave an empty piece without one:
    // it stays an empty line.
    const std::string& piece = pieces[i];
    buildLines(i == 0 || piece.empty() ? piece : piece.substr(1), width);
  }
}

void DccText2Extractor::addBuildedLine(const std::string& line) {
  PrintoutCtx_s::addStandardSimpleCenterLineToCtx(RawLineTexts(line));
}

void DccText2Extractor::addEmptyLine() const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts());
}

void FiscalDccText2Extractor::addTextToPrintout(EcrCtx_s* ecr) {
  DccText2Extractor::addTextToPrintout(ecr, FiscalFormat::getInstance().getLineWidth());
}

void FiscalDccText2Extractor::addBuildedLine(const std::string& line) {
  PrintoutCtx_s::addFiscalSimpleCenterLineToCtx(RawLineTexts(line), PR_FISCAL_GENERIC);
}

void FiscalDccText2Extractor::addEmptyLine() const {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(), PR_FISCAL_GENERIC);
}

}  // namespace zq::app::printouts

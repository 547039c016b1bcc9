#include "printouts/documents/DccText1Extractor.h"

#include "core/TagNames.h"
#include "printouts/engine/FiscalFormat.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

void DccText1Extractor::addTextToPrintout(EcrCtx_s* ecr, const unsigned int& width) {
  this->ecr = ecr;
  buildLines(getTag(TAG_DCC_TEXT_1), width);
}

void DccText1Extractor::addBuildedLine(const std::string& line) {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(line));
}

void FiscalDccText1Extractor::addTextToPrintout(EcrCtx_s* ecr) {
  DccText1Extractor::addTextToPrintout(ecr, FiscalFormat::getInstance().getLineWidth());
}

void FiscalDccText1Extractor::addBuildedLine(const std::string& line) {
  PrintoutCtx_s::addFiscalSimpleLeftLineToCtx(RawLineTexts(line), PR_FISCAL_GENERIC);
}

}  // namespace zq::app::printouts

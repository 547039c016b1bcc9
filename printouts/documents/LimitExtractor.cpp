#include "printouts/documents/LimitExtractor.h"

#include "core/TagNames.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

void LimitExtractor::addTextToPrintout(EcrCtx_s* ecr) {
  this->ecr = ecr;
  if (!checkHexTag(TAG_VLP_LIMIT)) return;
  // The balance is in the terminal's default currency, not the transaction's.
  setDefaultCurrencyData();
  // Packed decimal digits: the hexadecimal text is the number itself.
  amount = value;
  addLimitToPrintout(buildAmountEntry());
}

void StandardLimitExtractor::addLimitToPrintout(const std::string& text) {
  PrintoutCtx_s::addStandardSimpleTwoTextsLineToCtx(RawLineTexts(PR_DICT_CARD_BALANCE, text));
}

void FiscalLimitExtractor::addLimitToPrintout(const std::string& text) {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(text), PR_FISCAL_LIMIT);
}

}  // namespace zq::app::printouts

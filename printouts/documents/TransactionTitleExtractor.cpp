#include "printouts/documents/TransactionTitleExtractor.h"

#include <string>

#include "core/TagNames.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

void TransactionTitleExtractor::addTextToPrintout(EcrCtx_s* ecr) {
  this->ecr = ecr;
  if (checkStandardTag(tlv::TAG_TRANSACTION_TITLE)) addTitleToPrintout();
}

void StandardTransactionTitleExtractor::addTitleToPrintout() {
  for (const std::string& text : {std::string(), PrintDictionary::phrase(PR_DICT_PAYMENT_TITLE), value}) {
    PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(text));
  }
}

void FiscalTransactionTitleExtractor::addTitleToPrintout() {
  for (const std::string& text : {PrintDictionary::phrase(PR_DICT_PAYMENT_TITLE), value, std::string()}) {
    PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(text), PR_FISCAL_GENERIC);
  }
}

}  // namespace zq::app::printouts

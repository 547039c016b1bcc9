#include "printouts/documents/DeclineTextExtractor.h"

#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "printouts/engine/FiscalFormat.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

void DeclineTextExtractor::addTextToPrintout(EcrCtx_s* ecr, const unsigned int& width) {
  this->ecr = ecr;
  if (checkStandardTag(TAG_SERVER_ERROR_MESSAGE)) {
    buildLines(value, width);
  } else if (wasTransactionInterruptedByConnectionProblems()) {
    buildLines(PrintDictionary::phrase(PR_DICT_CONNECTION_PROBLEM), width);
  }
  if (isStandardDeclineLineNecessary()) addStandardDeclineLineToPrintout();
}

bool DeclineTextExtractor::wasTransactionInterruptedByConnectionProblems() const {
  ecr_transactionResult result = ECR_TRANSACTION_RESULT_1;
  if (ecr_readTransactionResult(ecr, &result) != ECR_OK) {
    logBusError("Unable to get transaction status");
    return false;
  }
  return result == ECR_TRANSACTION_RESULT_2;
}

// ---- standard and bilingual ----

void StandardDeclineTextExtractor::addBuildedLine(const std::string& line) {
  PrintoutCtx_s::addStandardNegativeBigBoldCenterLineToCtx(RawLineTexts(line));
  linesBuilt = true;
}

bool StandardDeclineTextExtractor::isStandardDeclineLineNecessary() const { return true; }

void StandardDeclineTextExtractor::addDeclinePhrases(std::initializer_list<pr_Dictionary> phrases) {
  // Under reason lines the phrase steps back to normal bold; on its own it
  // is the block's headline.
  for (const pr_Dictionary id : phrases) {
    const RawLineTexts line(PrintDictionary::phrase(id));
    if (linesBuilt) {
      PrintoutCtx_s::addStandardBoldCenterLineToCtx(line);
    } else {
      PrintoutCtx_s::addStandardNegativeBigBoldCenterLineToCtx(line);
    }
  }
  linesBuilt = false;
}

void StandardDeclineTextExtractor::addStandardDeclineLineToPrintout() {
  addDeclinePhrases({PR_DICT_DECLINE});
}

void MultilangDeclineTextExtractor::addStandardDeclineLineToPrintout() {
  addDeclinePhrases({PR_DICT_DECLINE, PR_DICT_DECLINE_EN});
}

// ---- fiscal ----

void FiscalDeclineTextExtractor::addTextToPrintout(EcrCtx_s* ecr, bool dcc) {
  this->dcc = dcc;
  DeclineTextExtractor::addTextToPrintout(ecr, FiscalFormat::getInstance().getLineWidth());
}

void FiscalDeclineTextExtractor::addBuildedLine(const std::string& line) {
  PrintoutCtx_s::addFiscalSimpleCenterLineToCtx(RawLineTexts(line), PR_FISCAL_GENERIC);
}

bool FiscalDeclineTextExtractor::isStandardDeclineLineNecessary() const { return true; }

void FiscalDeclineTextExtractor::addStandardDeclineLineToPrintout() {
  if (dcc) {
    PrintoutCtx_s::addFiscalSimpleLeftLineToCtx(RawLineTexts(PrintDictionary::phrase(PR_DICT_DECLINE_EN)),
                                                PR_FISCAL_GENERIC);
  } else {
    // The fiscal printer prints its own decline text for this marker line.
    PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(), PR_FISCAL_DECLINE);
  }
}

}  // namespace zq::app::printouts

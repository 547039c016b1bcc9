#include "printouts/documents/AcExtractor.h"

#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

void AcExtractor::addTextToPrintout(EcrCtx_s* ecr, bool isBlik) {
  this->ecr = ecr;
  if (!isBlik) {
    handleCryptogram();
    return;
  }
  // A BLIK payment has no card cryptogram: its evidence is the reference.
  if (checkStandardTag(TAG_BLIK_REFERENCE_CODE)) {
    logBusDebug("BLIK transaction, print reference code %s instead of cryptogram", value.c_str());
    addReferenceCodeToPrintout(value);
  }
  addBlikOperatorToPrintout(PrintDictionary::phrase(PR_DICT_OPERATOR));
}

void AcExtractor::handleCryptogram() {
  char cryptogram[ECR_CRYPTOGRAM_SIZE] = {};
  const ecr_status cryptogramStatus = ecr_readTransactionCryptogram(ecr, cryptogram);
  EmvCryptogramType type = EMV_CRYPTOGRAM_NONE;
  const ecr_status typeStatus = ecr_readEmvCryptogramType(ecr, &type);
  if (cryptogramStatus != ECR_OK && typeStatus != ECR_OK) {
    logDevTrace("Application cryptogram not generated");
    return;
  }
  if (cryptogramStatus == ECR_OK && typeStatus == ECR_OK && type != EMV_CRYPTOGRAM_NONE) {
    cryptogram[sizeof cryptogram - 1] = '\0';
    addAcToPrintout(cryptogram, type);
    return;
  }
  logBusError(
      "Error occurred on cryptogram extraction, cryptogram status: 0x%02X, cryptogram type status 0x%02X",
      static_cast<unsigned>(cryptogramStatus), static_cast<unsigned>(typeStatus));
}

// ---- standard ----

void StandardAcExtractor::addReferenceCodeToPrintout(const std::string& code) const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(RawLineTexts::getPair(PR_DICT_REFERENCE_CODE, code)));
}

void StandardAcExtractor::addBlikOperatorToPrintout(const std::string& text) const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(text));
}

void StandardAcExtractor::addAcToPrintout(const std::string& cryptogram, EmvCryptogramType type) const {
  pr_Dictionary label = PR_DICT_UNKNOWN;
  switch (type) {
    case EMV_CRYPTOGRAM_AAC: label = PR_DICT_AAC; break;
    case EMV_CRYPTOGRAM_TC: label = PR_DICT_TC; break;
    case EMV_CRYPTOGRAM_ARQC: label = PR_DICT_ARQC; break;
    default: break;
  }
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(RawLineTexts::getPair(label, cryptogram)));
}

// ---- fiscal ----

void FiscalAcExtractor::addReferenceCodeToPrintout(const std::string& code) const {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(
      RawLineTexts(RawLineTexts::getPair(PR_DICT_REFERENCE_CODE, std::string())), PR_FISCAL_GENERIC);
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(code), PR_FISCAL_GENERIC);
}

void FiscalAcExtractor::addBlikOperatorToPrintout(const std::string& text) const {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(text), PR_FISCAL_GENERIC);
}

void FiscalAcExtractor::addAcToPrintout(const std::string& cryptogram, EmvCryptogramType type) const {
  pr_FiscalFormatId id = PR_FISCAL_CRYPTOGRAM_TC;
  if (type == EMV_CRYPTOGRAM_AAC) id = PR_FISCAL_CRYPTOGRAM_AAC;
  if (type == EMV_CRYPTOGRAM_ARQC) id = PR_FISCAL_CRYPTOGRAM_ARQC;
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(cryptogram), id);
}

}  // namespace zq::app::printouts

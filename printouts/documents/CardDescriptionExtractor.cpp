#include "printouts/documents/CardDescriptionExtractor.h"

#include "core/TagNames.h"
#include "printouts/documents/CommonDataExtractor.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

namespace {

bool startsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

}  // namespace

void CardDescriptionExtractor::addTextToPrintout(EcrCtx_s* ecr) {
  this->ecr = ecr;
  char buffer[ECR_AID_SIZE] = {};
  std::string aid;
  if (ecr_readTransactionAid(ecr, buffer) == ECR_OK) {
    buffer[sizeof buffer - 1] = '\0';
    aid = buffer;
    addAidToPrintout(aid);
  }
  addCardLabelToPrintout(getCardLabel());
  if (CommonDataExtractor().getCardReaderType(ecr) == CARD_READER_CONTACTLESS) {
    if (isPaypass(aid)) {
      addPaypassLineToPrintout();
    } else if (isPaywave(aid)) {
      addPaywaveLineToPrintout();
    }
  }
  if (checkStandardTag(TAG_ERZSEBET_VOUCHER_TYPE)) addErzsebetVoucherTypeToPrintout();
}

bool CardDescriptionExtractor::isPaypass(const std::string& aid) const {
  return startsWith(aid, "A000000004");
}

bool CardDescriptionExtractor::isPaywave(const std::string& aid) const {
  return startsWith(aid, "A000000003");
}

std::string CardDescriptionExtractor::getCardLabel() const {
  std::string label = getTag(TAG_APP_PREFERRED_NAME) + " ";
  const std::string blik = getBlikCode();
  if (!blik.empty()) return label + blik;
  return label + "(" + CommonDataExtractor().getCardReaderName(ecr) + ")";
}

std::string CardDescriptionExtractor::getBlikCode() const {
  const std::string code = getTag(TAG_BLIK_ENTERED_CODE);
  if (code == PrintDictionary::phrase(PR_DICT_UNKNOWN)) return std::string();
  return code;
}

// ---- standard ----

void StandardCardDescriptionExtractor::addAidToPrintout(const std::string& aid) const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(RawLineTexts::getPair(PR_DICT_AID, aid)));
}

void StandardCardDescriptionExtractor::addCardLabelToPrintout(const std::string& label) const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(label));
}

void StandardCardDescriptionExtractor::addPaypassLineToPrintout() const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(PrintDictionary::phrase(PR_DICT_PAYPASS)));
}

void StandardCardDescriptionExtractor::addPaywaveLineToPrintout() const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(PrintDictionary::phrase(PR_DICT_PAYWAVE)));
}

void StandardCardDescriptionExtractor::addErzsebetVoucherTypeToPrintout() const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(value));
}

// ---- fiscal ----

void FiscalCardDescriptionExtractor::addAidToPrintout(const std::string& aid) const {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(aid), PR_FISCAL_AID);
}

void FiscalCardDescriptionExtractor::addCardLabelToPrintout(const std::string& label) const {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(label), PR_FISCAL_CARD_LABEL);
}

void FiscalCardDescriptionExtractor::addPaypassLineToPrintout() const {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(
      RawLineTexts(PrintDictionary::phrase(PR_DICT_PAYPASS)), PR_FISCAL_GENERIC);
}

void FiscalCardDescriptionExtractor::addPaywaveLineToPrintout() const {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(
      RawLineTexts(PrintDictionary::phrase(PR_DICT_PAYWAVE)), PR_FISCAL_GENERIC);
}

void FiscalCardDescriptionExtractor::addErzsebetVoucherTypeToPrintout() const {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(value), PR_FISCAL_GENERIC);
}

}  // namespace zq::app::printouts

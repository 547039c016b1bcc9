#include "printouts/documents/AuthCodeExtractor.h"

#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

void AuthCodeExtractor::addTextToPrintout(EcrCtx_s* ecr) {
  const ecr_status status = readAuthTypeFromContext(ecr);
  if (status != ECR_OK) {
    logBusError("Unable to get authorization type, status 0x%02X", static_cast<unsigned>(status));
    return;
  }
  if (!checkStandardTag(TAG_AUTHORIZATION_CODE)) return;
  if (authType == AUTHORIZATION_TYPE_4) addVoiceAuthorizationToPrintout();
  addAuthCodeToPrintout("(" + getAuthTypeName() + ") " + value);
}

ecr_status AuthCodeExtractor::readAuthTypeFromContext(EcrCtx_s* ecr) {
  this->ecr = ecr;
  return ecr_readAuthorizationType(ecr, &authType);
}

std::string AuthCodeExtractor::getAuthTypeName() const {
  switch (authType) {
    case AUTHORIZATION_TYPE_1: return PrintDictionary::phrase(PR_DICT_AUTH_TYPE_1);
    case AUTHORIZATION_TYPE_3: return PrintDictionary::phrase(PR_DICT_AUTH_TYPE_2);
    case AUTHORIZATION_TYPE_4: return PrintDictionary::phrase(PR_DICT_AUTH_TYPE_3);
    default: return PrintDictionary::phrase(PR_DICT_UNKNOWN);
  }
}

std::string AuthCodeExtractor::getAuthTypeName(EcrCtx_s* ecr) {
  readAuthTypeFromContext(ecr);
  return getAuthTypeName();
}

// ---- standard ----

void StandardAuthCodeExtractor::addVoiceAuthorizationToPrintout() const {
  PrintoutCtx_s::addStandardSimpleCenterLineToCtx(
      RawLineTexts(PrintDictionary::phrase(PR_DICT_VOICE_AUTHORIZATION)));
}

void StandardAuthCodeExtractor::addAuthCodeToPrintout(const std::string& text) const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(RawLineTexts::getPair(PR_DICT_AUTH_CODE, text)));
}

// ---- bilingual ----

void MultilangAuthCodeExtractor::addVoiceAuthorizationToPrintout() const {
  PrintoutCtx_s::addStandardSimpleCenterLineToCtx(
      RawLineTexts(PrintDictionary::phrase(PR_DICT_VOICE_AUTHORIZATION)));
  PrintoutCtx_s::addStandardSimpleCenterLineToCtx(
      RawLineTexts(PrintDictionary::phrase(PR_DICT_VOICE_AUTHORIZATION_EN)));
}

void MultilangAuthCodeExtractor::addAuthCodeToPrintout(const std::string& text) const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(RawLineTexts::getPair(PR_DICT_AUTH_CODE, text)));
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(
      RawLineTexts(RawLineTexts::getPair(PR_DICT_AUTH_CODE_EN, text)));
}

// ---- fiscal ----

void FiscalAuthCodeExtractor::addVoiceAuthorizationToPrintout() const {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(
      RawLineTexts(PrintDictionary::phrase(PR_DICT_VOICE_AUTHORIZATION)), PR_FISCAL_GENERIC);
}

void FiscalAuthCodeExtractor::addAuthCodeToPrintout(const std::string& text) const {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(text), PR_FISCAL_AUTH_CODE);
}

}  // namespace zq::app::printouts

// The issuer's authorisation code of a receipt, with the authorisation type
// in brackets and a voice-authorisation line when the issuer authorised by
// phone; in standard, bilingual and fiscal form.
#pragma once

#include <string>

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class AuthCodeExtractor : public ExtractorWithCheckingTag {
 public:
  ~AuthCodeExtractor() override = default;

  virtual void addVoiceAuthorizationToPrintout() const = 0;
  virtual void addAuthCodeToPrintout(const std::string& text) const = 0;

  // Nothing is printed when the type or the code cannot be read.
  void addTextToPrintout(EcrCtx_s* ecr);
  ecr_status readAuthTypeFromContext(EcrCtx_s* ecr);
  // The phrase naming authType ("1", "3", "4" by default; "?" for none).
  std::string getAuthTypeName() const;
  // The name of the context's authorisation type, whether or not it was read.
  std::string getAuthTypeName(EcrCtx_s* ecr);

 protected:
  AuthorizationType authType = AUTHORIZATION_TYPE_NONE;
};

class StandardAuthCodeExtractor : public AuthCodeExtractor {
 public:
  void addVoiceAuthorizationToPrintout() const override;
  void addAuthCodeToPrintout(const std::string& text) const override;
};

// Each line in Polish, then in English.
class MultilangAuthCodeExtractor : public AuthCodeExtractor {
 public:
  void addVoiceAuthorizationToPrintout() const override;
  void addAuthCodeToPrintout(const std::string& text) const override;
};

class FiscalAuthCodeExtractor : public AuthCodeExtractor {
 public:
  void addVoiceAuthorizationToPrintout() const override;
  void addAuthCodeToPrintout(const std::string& text) const override;
};

}  // namespace zq::app::printouts

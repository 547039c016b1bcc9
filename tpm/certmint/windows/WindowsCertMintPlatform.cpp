// The platform of the Windows build: CNG, COM and CryptoAPI, and the process's
// standard output.
#include <iostream>

#include "certmint/CertMintPlatform.h"
#include "certmint/windows/ComAutomation.h"
#include "certmint/windows/CryptoApiCertificateStore.h"
#include "certmint/windows/NcryptKeyStorage.h"

namespace zq::tpm::certmint {

namespace {

class WindowsCertMintPlatform final : public CertMintPlatform {
 public:
  KeyStorage& keyStorage() override { return keys_; }
  Automation& automation() override { return com_; }
  CertificateStore& certificateStore() override { return store_; }
  std::ostream& console() override { return std::cout; }

 private:
  NcryptKeyStorage keys_;
  ComAutomation com_;
  CryptoApiCertificateStore store_;
};

}  // namespace

std::unique_ptr<CertMintPlatform> makeCertMintPlatform() { return std::make_unique<WindowsCertMintPlatform>(); }

}  // namespace zq::tpm::certmint

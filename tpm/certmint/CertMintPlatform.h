// What one certmint call works with: the key storage, the enrollment classes,
// the certificate store and the console.
#ifndef ZQ_TPM_CERTMINT_CERTMINT_PLATFORM_H
#define ZQ_TPM_CERTMINT_CERTMINT_PLATFORM_H

#include <memory>
#include <ostream>

#include "certmint/Automation.h"
#include "certmint/CertificateStore.h"
#include "certmint/KeyStorage.h"

namespace zq::tpm::certmint {

class CertMintPlatform {
 public:
  virtual ~CertMintPlatform() = default;
  virtual KeyStorage& keyStorage() = 0;
  virtual Automation& automation() = 0;
  virtual CertificateStore& certificateStore() = 0;
  virtual std::ostream& console() = 0;
};

// Made anew for every Java call: the library keeps no state between calls.
// The Windows build defines it over CNG, COM and CryptoAPI; the tests over fakes.
std::unique_ptr<CertMintPlatform> makeCertMintPlatform();

}  // namespace zq::tpm::certmint

#endif

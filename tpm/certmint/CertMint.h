// certmint: a TPM-held RSA key with its PKCS#10 request, and the issued
// certificate installed in the user's store bound to that key. The Java
// methods are a thin skin over genKeyCsr and importCert.
#ifndef ZQ_TPM_CERTMINT_CERTMINT_H
#define ZQ_TPM_CERTMINT_CERTMINT_H

#include <optional>
#include <ostream>
#include <string>

#include "certmint/CertMintPlatform.h"
#include "certmint/FailureDetail.h"

namespace zq::tpm::certmint {

// The key storage provider of the TPM, for the key and for the certificate's
// key-provider information.
constexpr char16_t kPlatformCryptoProvider[] = u"Microsoft Platform Crypto Provider";

// The Polish texts before the detail, in Windows-1250.
extern const char kKeyCreationPrefix[];
extern const char kRequestCreationPrefix[];
extern const char kImportPrefix[];

// The key under keyName, replacing one of that name, with its UI policy, finalised.
bool createTpmKey(KeyStorage& keys, std::ostream& console, const char16_t* keyName, FailureDetail& detail);
// The Base64 PKCS#10 request for the key under keyName, with the given X.500 subject.
bool createCsr(Automation& com, const char16_t* keyName, const char16_t* subject, std::u16string* request,
               FailureDetail& detail);
// The certificate, in any text form the decoder accepts, into the user's "MY" store,
// bound to the key under keyName.
bool installCertificate(CertificateStore& store, const char16_t* keyName, const char16_t* certificate,
                        FailureDetail& detail);

// The message of the exception to throw, or nothing when the call succeeded.
using Failure = std::optional<std::string>;

Failure genKeyCsr(CertMintPlatform& platform, const char16_t* keyName, const char16_t* subject,
                  std::u16string* request);
Failure importCert(CertMintPlatform& platform, const char16_t* keyName, const char16_t* certificate);

}  // namespace zq::tpm::certmint

#endif

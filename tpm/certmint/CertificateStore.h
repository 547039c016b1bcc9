// The CryptoAPI calls that install a certificate, one method a call. An
// implementation keeps the store and certificate context it opened and the
// system error code of its last failure.
#ifndef ZQ_TPM_CERTMINT_CERTIFICATE_STORE_H
#define ZQ_TPM_CERTMINT_CERTIFICATE_STORE_H

#include <cstdint>

namespace zq::tpm::certmint {

// CRYPT_STRING_ANY
constexpr std::uint32_t kCryptStringAny = 7;
// X509_ASN_ENCODING
constexpr std::uint32_t kX509AsnEncoding = 1;
// CERT_STORE_ADD_ALWAYS
constexpr std::uint32_t kStoreAddAlways = 4;
// CERT_CLOSE_STORE_FORCE_FLAG
constexpr std::uint32_t kCloseStoreForceFlag = 1;

// CRYPT_KEY_PROV_INFO without provider parameters.
struct KeyProviderInfo {
  const char16_t* containerName;
  const char16_t* providerName;
  std::uint32_t providerType;
  std::uint32_t flags;
  std::uint32_t keySpec;
};

class CertificateStore {
 public:
  virtual ~CertificateStore() = default;

  // Each answers false on failure, with the reason in lastError().
  // CryptStringToBinaryW of NUL-terminated text; *size: the buffer's size in,
  // the decoded length out.
  virtual bool decodeString(const char16_t* text, std::uint32_t flags, std::uint8_t* buffer,
                            std::uint32_t* size) = 0;
  virtual bool openSystemStore(const char* name) = 0;
  virtual bool createCertificateContext(std::uint32_t encoding, const std::uint8_t* encoded,
                                        std::uint32_t size) = 0;
  // CERT_KEY_PROV_INFO_PROP_ID of the context, flags 0.
  virtual bool setKeyProviderInfo(const KeyProviderInfo& info) = 0;
  virtual bool addCertificateToStore(std::uint32_t disposition) = 0;
  virtual bool freeCertificateContext() = 0;
  virtual bool closeStore(std::uint32_t flags) = 0;
  // GetLastError as the last failing call left it.
  virtual std::uint32_t lastError() const = 0;
};

}  // namespace zq::tpm::certmint

#endif

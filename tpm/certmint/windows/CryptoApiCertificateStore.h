// CertificateStore over the CryptoAPI certificate functions.
#ifndef ZQ_TPM_CERTMINT_CRYPTO_API_CERTIFICATE_STORE_H
#define ZQ_TPM_CERTMINT_CRYPTO_API_CERTIFICATE_STORE_H

#include <windows.h>
#include <wincrypt.h>

#include "certmint/CertificateStore.h"

namespace zq::tpm::certmint {

class CryptoApiCertificateStore final : public CertificateStore {
 public:
  CryptoApiCertificateStore() = default;
  // Frees a context and closes a store still open; the import does both itself.
  ~CryptoApiCertificateStore() override;
  CryptoApiCertificateStore(const CryptoApiCertificateStore&) = delete;
  CryptoApiCertificateStore& operator=(const CryptoApiCertificateStore&) = delete;

  bool decodeString(const char16_t* text, std::uint32_t flags, std::uint8_t* buffer, std::uint32_t* size) override;
  bool openSystemStore(const char* name) override;
  bool createCertificateContext(std::uint32_t encoding, const std::uint8_t* encoded, std::uint32_t size) override;
  bool setKeyProviderInfo(const KeyProviderInfo& info) override;
  bool addCertificateToStore(std::uint32_t disposition) override;
  bool freeCertificateContext() override;
  bool closeStore(std::uint32_t flags) override;
  std::uint32_t lastError() const override { return error_; }

 private:
  // Keeps GetLastError before any other call can change it; answers false.
  bool fail();

  HCERTSTORE store_ = nullptr;
  PCCERT_CONTEXT context_ = nullptr;
  DWORD error_ = ERROR_SUCCESS;
};

}  // namespace zq::tpm::certmint

#endif

// KeyStorage over CNG's key storage functions.
#ifndef ZQ_TPM_CERTMINT_NCRYPT_KEY_STORAGE_H
#define ZQ_TPM_CERTMINT_NCRYPT_KEY_STORAGE_H

#include <windows.h>
#include <ncrypt.h>

#include "certmint/KeyStorage.h"

namespace zq::tpm::certmint {

class NcryptKeyStorage final : public KeyStorage {
 public:
  NcryptKeyStorage() = default;
  // Frees a handle still open; the key creation frees both itself.
  ~NcryptKeyStorage() override;
  NcryptKeyStorage(const NcryptKeyStorage&) = delete;
  NcryptKeyStorage& operator=(const NcryptKeyStorage&) = delete;

  HResult openStorageProvider(const char16_t* provider) override;
  HResult createPersistedKey(const char16_t* algorithm, const char16_t* keyName, std::uint32_t legacyKeySpec,
                             std::uint32_t flags) override;
  HResult setUiPolicy(const UiPolicy& policy, std::uint32_t flags) override;
  HResult finalizeKey(std::uint32_t flags) override;
  HResult freeKey() override;
  HResult freeProvider() override;

 private:
  NCRYPT_PROV_HANDLE provider_ = 0;
  NCRYPT_KEY_HANDLE key_ = 0;
};

}  // namespace zq::tpm::certmint

#endif

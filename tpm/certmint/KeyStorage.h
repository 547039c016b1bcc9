// The CNG key-storage calls of certmint, one method a call. An implementation
// keeps the provider and key handles it opened; each free method closes the
// one it names.
#ifndef ZQ_TPM_CERTMINT_KEY_STORAGE_H
#define ZQ_TPM_CERTMINT_KEY_STORAGE_H

#include <cstdint>

#include "common/HResult.h"

namespace zq::tpm::certmint {

// NCRYPT_OVERWRITE_KEY_FLAG
constexpr std::uint32_t kOverwriteKeyFlag = 0x80;
// NCRYPT_UI_FORCE_HIGH_PROTECTION_FLAG
constexpr std::uint32_t kUiForceHighProtectionFlag = 0x2;
// NCRYPT_PERSIST_FLAG
constexpr std::uint32_t kPersistFlag = 0x80000000;

// NCRYPT_UI_POLICY; null texts stay unset.
struct UiPolicy {
  std::uint32_t version;
  std::uint32_t flags;
  const char16_t* creationTitle;
  const char16_t* friendlyName;
  const char16_t* description;
};

class KeyStorage {
 public:
  virtual ~KeyStorage() = default;

  // Each answers a SECURITY_STATUS: 0 done, anything else failed.
  virtual HResult openStorageProvider(const char16_t* provider) = 0;
  virtual HResult createPersistedKey(const char16_t* algorithm, const char16_t* keyName,
                                     std::uint32_t legacyKeySpec, std::uint32_t flags) = 0;
  // NCryptSetProperty of the key's "UI Policy".
  virtual HResult setUiPolicy(const UiPolicy& policy, std::uint32_t flags) = 0;
  virtual HResult finalizeKey(std::uint32_t flags) = 0;
  virtual HResult freeKey() = 0;
  virtual HResult freeProvider() = 0;
};

}  // namespace zq::tpm::certmint

#endif

#include "certmint/windows/NcryptKeyStorage.h"

#include "common/windows/WideText.h"

namespace zq::tpm::certmint {

static_assert(kOverwriteKeyFlag == NCRYPT_OVERWRITE_KEY_FLAG, "overwrite flag");
static_assert(kUiForceHighProtectionFlag == NCRYPT_UI_FORCE_HIGH_PROTECTION_FLAG, "UI protection flag");
static_assert(kPersistFlag == NCRYPT_PERSIST_FLAG, "persist flag");

namespace {

template <typename Handle>
HResult freeHandle(Handle& handle) {
  const SECURITY_STATUS status = NCryptFreeObject(handle);
  handle = 0;
  return status;
}

}  // namespace

NcryptKeyStorage::~NcryptKeyStorage() {
  if (key_) freeHandle(key_);
  if (provider_) freeHandle(provider_);
}

HResult NcryptKeyStorage::openStorageProvider(const char16_t* provider) {
  return NCryptOpenStorageProvider(&provider_, asWide(provider), 0);
}

HResult NcryptKeyStorage::createPersistedKey(const char16_t* algorithm, const char16_t* keyName,
                                             std::uint32_t legacyKeySpec, std::uint32_t flags) {
  return NCryptCreatePersistedKey(provider_, &key_, asWide(algorithm), asWide(keyName), legacyKeySpec, flags);
}

HResult NcryptKeyStorage::setUiPolicy(const UiPolicy& policy, std::uint32_t flags) {
  NCRYPT_UI_POLICY value{};
  value.dwVersion = policy.version;
  value.dwFlags = policy.flags;
  value.pszCreationTitle = asWide(policy.creationTitle);
  value.pszFriendlyName = asWide(policy.friendlyName);
  value.pszDescription = asWide(policy.description);
  return NCryptSetProperty(key_, NCRYPT_UI_POLICY_PROPERTY, reinterpret_cast<PBYTE>(&value), sizeof value, flags);
}

HResult NcryptKeyStorage::finalizeKey(std::uint32_t flags) { return NCryptFinalizeKey(key_, flags); }

HResult NcryptKeyStorage::freeKey() { return freeHandle(key_); }

HResult NcryptKeyStorage::freeProvider() { return freeHandle(provider_); }

}  // namespace zq::tpm::certmint

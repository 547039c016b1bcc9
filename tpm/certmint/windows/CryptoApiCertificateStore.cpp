#include "certmint/windows/CryptoApiCertificateStore.h"

#include "common/windows/WideText.h"

namespace zq::tpm::certmint {

static_assert(kCryptStringAny == CRYPT_STRING_ANY, "string decoder flags");
static_assert(kX509AsnEncoding == X509_ASN_ENCODING, "certificate encoding");
static_assert(kStoreAddAlways == CERT_STORE_ADD_ALWAYS, "store disposition");
static_assert(kCloseStoreForceFlag == CERT_CLOSE_STORE_FORCE_FLAG, "store close flag");

CryptoApiCertificateStore::~CryptoApiCertificateStore() {
  if (context_) CertFreeCertificateContext(context_);
  if (store_) CertCloseStore(store_, 0);
}

bool CryptoApiCertificateStore::fail() {
  error_ = GetLastError();
  return false;
}

bool CryptoApiCertificateStore::decodeString(const char16_t* text, std::uint32_t flags, std::uint8_t* buffer,
                                             std::uint32_t* size) {
  // A null string from Java has nothing to decode.
  if (!text) {
    error_ = ERROR_INVALID_PARAMETER;
    return false;
  }
  DWORD length = *size;
  if (!CryptStringToBinaryW(asWide(text), 0, flags, buffer, &length, nullptr, nullptr)) return fail();
  *size = length;
  return true;
}

bool CryptoApiCertificateStore::openSystemStore(const char* name) {
  store_ = CertOpenSystemStoreA(0, name);
  return store_ != nullptr || fail();
}

bool CryptoApiCertificateStore::createCertificateContext(std::uint32_t encoding, const std::uint8_t* encoded,
                                                         std::uint32_t size) {
  context_ = CertCreateCertificateContext(encoding, encoded, size);
  return context_ != nullptr || fail();
}

bool CryptoApiCertificateStore::setKeyProviderInfo(const KeyProviderInfo& info) {
  CRYPT_KEY_PROV_INFO value{};
  value.pwszContainerName = const_cast<LPWSTR>(asWide(info.containerName));
  value.pwszProvName = const_cast<LPWSTR>(asWide(info.providerName));
  value.dwProvType = info.providerType;
  value.dwFlags = info.flags;
  value.cProvParam = 0;
  value.rgProvParam = nullptr;
  value.dwKeySpec = info.keySpec;
  return CertSetCertificateContextProperty(context_, CERT_KEY_PROV_INFO_PROP_ID, 0, &value) || fail();
}

bool CryptoApiCertificateStore::addCertificateToStore(std::uint32_t disposition) {
  return CertAddCertificateContextToStore(store_, context_, disposition, nullptr) || fail();
}

bool CryptoApiCertificateStore::freeCertificateContext() {
  const BOOL freed = CertFreeCertificateContext(context_);
  context_ = nullptr;
  return freed || fail();
}

bool CryptoApiCertificateStore::closeStore(std::uint32_t flags) {
  const BOOL closed = CertCloseStore(store_, flags);
  store_ = nullptr;
  return closed || fail();
}

}  // namespace zq::tpm::certmint

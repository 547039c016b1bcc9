#include "certmint/CertMint.h"

#include <cstdint>
#include <vector>

#include "common/ConsoleReport.h"
#include "common/ScopeExit.h"

namespace zq::tpm::certmint {

// The question marks stand where the Java application has always received them.
const char kKeyCreationPrefix[] = "Generowanie klucza nie powiod?o si?; ";
const char kRequestCreationPrefix[] = "Generowanie ??dania (CSR) nie powiod?o si?; ";
const char kImportPrefix[] = "Import certyfikatu nie powi\xF3" "d? si?; ";

namespace {

constexpr char16_t kRsaAlgorithm[] = u"RSA";
constexpr char16_t kKeyDescription[] = u"Has\u0142o do certyfikatu VOSTREL";

constexpr char16_t kPrivateKeyClass[] = u"X509Enrollment.CX509PrivateKey.1";
constexpr char16_t kRequestPkcs10Class[] = u"X509Enrollment.CX509CertificateRequestPkcs10.1";
constexpr char16_t kKeyUsageClass[] = u"X509Enrollment.CX509ExtensionKeyUsage.1";
constexpr char16_t kObjectIdClass[] = u"X509Enrollment.CObjectId.1";
constexpr char16_t kObjectIdsClass[] = u"X509Enrollment.CObjectIds.1";
constexpr char16_t kEnhancedKeyUsageClass[] = u"X509Enrollment.CX509ExtensionEnhancedKeyUsage.1";
constexpr char16_t kDistinguishedNameClass[] = u"X509Enrollment.CX500DistinguishedName.1";
constexpr char16_t kEnrollmentClass[] = u"X509Enrollment.CX509Enrollment.1";

// ContextUser
constexpr std::int32_t kContextUser = 1;
// Digital signature, non-repudiation, key and data encipherment, key agreement.
constexpr std::int32_t kKeyUsageBits = 0xF8;
// XCN_CERT_X500_NAME_STR
constexpr std::int32_t kX500NameString = 3;
// XCN_CRYPT_STRING_BASE64
constexpr std::int32_t kBase64 = 1;
constexpr char16_t kClientAuthenticationOid[] = u"1.3.6.1.5.5.7.3.2";
constexpr char16_t kSha256Oid[] = u"2.16.840.1.101.3.4.2.1";

constexpr std::uint32_t kCertificateBufferSize = 4096;

std::uint32_t code(HResult status) { return static_cast<std::uint32_t>(status); }

bool addBoundCertificate(CertificateStore& store, const char16_t* keyName, const std::uint8_t* encoded,
                         std::uint32_t size, FailureDetail& detail) {
  if (!store.createCertificateContext(kX509AsnEncoding, encoded, size))
    return detail.fail("CertCreateCertificateContext error: 0x%X", store.lastError());
  const KeyProviderInfo binding{keyName, kPlatformCryptoProvider, 0, 0, 0};
  bool added = store.setKeyProviderInfo(binding) ||
               detail.fail("CertSetCertificateContextProperty error: 0x%X", store.lastError());
  if (added)
    added = store.addCertificateToStore(kStoreAddAlways) ||
            detail.fail("CertAddCertificateContextToStore error: 0x%X", store.lastError());
  if (!store.freeCertificateContext()) added = detail.fail("CertFreeCertificateContext error: 0x%X", store.lastError());
  return added;
}

}  // namespace

bool createTpmKey(KeyStorage& keys, std::ostream& console, const char16_t* keyName, FailureDetail& detail) {
  HResult status = keys.openStorageProvider(kPlatformCryptoProvider);
  if (status != kOk) return detail.fail("NCryptOpenStorageProvider error: 0x%X", code(status));
  // A failed free leaves a created key created.
  ScopeExit provider([&] {
    if (HResult freed = keys.freeProvider(); freed != kOk) detail.fail("NCryptFreeObject error: 0x%X", code(freed));
  });

  // Each step runs only when the one before went through, so the detail names
  // the step that really failed.
  status = keys.createPersistedKey(kRsaAlgorithm, keyName, 0, kOverwriteKeyFlag);
  if (status != kOk) return detail.fail("NCryptCreatePersistedKey error: 0x%X", code(status));
  // The handle is ours only; a finalised key stays in the provider after it.
  ScopeExit key([&] {
    if (HResult freed = keys.freeKey(); freed != kOk) detail.fail("NCryptFreeObject error: 0x%X", code(freed));
  });

  const UiPolicy policy{1, kUiForceHighProtectionFlag, nullptr, nullptr, kKeyDescription};
  status = keys.setUiPolicy(policy, kPersistFlag);
  if (status != kOk) {
    reportFailure(console, "NCryptSetProperty Error code = 0x", status);
    return detail.fail("NCryptSetProperty error: 0x%X", code(status));
  }

  status = keys.finalizeKey(0);
  if (status != kOk) return detail.fail("NCryptFinalizeKey error: 0x%X", code(status));
  return true;
}

bool createCsr(Automation& com, const char16_t* keyName, const char16_t* subject, std::u16string* request,
               FailureDetail& detail) {
  auto done = [&detail](HResult hr, const char* format) { return !failed(hr) || detail.fail(format, code(hr)); };

  if (!done(com.initialize(), "Failed to initialize COM library; error: 0x%X")) return false;
  ScopeExit apartment([&] { com.uninitialize(); });
  // Declared after the apartment and in the order they are made, so they are
  // released in reverse order before it ends, on every path.
  std::unique_ptr<DispatchObject> privateKey, pkcs10, keyUsage, extensions, objectId, objectIds,
      enhancedKeyUsage, distinguishedName, enroll, hashId;

  if (!done(com.create(kPrivateKeyClass, &privateKey), "_privateKey.CoCreateInstance error: 0x%X") ||
      !done(privateKey->put(u"ContainerName", keyName), "_privateKey->put_ContainerName error: 0x%X") ||
      !done(privateKey->put(u"ProviderName", kPlatformCryptoProvider), "_privateKey->put_ProviderName error: 0x%X"))
    return false;
  // A key that will not open makes the request's initialisation fail below.
  privateKey->call(u"Open", {}, nullptr);

  if (!done(com.create(kRequestPkcs10Class, &pkcs10), "_csrquestpkcs10.CoCreateInstance error: 0x%X") ||
      !done(pkcs10->call(u"InitializeFromPrivateKey", {kContextUser, privateKey.get(), u""}, nullptr),
            "_csrquestpkcs10->InitializeFromPrivateKey error: 0x%X") ||
      !done(com.create(kKeyUsageClass, &keyUsage), "_extensionKeyUsage.CoCreateInstance error: 0x%X") ||
      !done(keyUsage->call(u"InitializeEncode", {kKeyUsageBits}, nullptr),
            "_extensionKeyUsage->InitializeEncode error: 0x%X") ||
      !done(pkcs10->getObject(u"X509Extensions", &extensions), "_csrquestpkcs10->get_X509Extensions error: 0x%X") ||
      !done(com.create(kObjectIdClass, &objectId), "_objectId.CoCreateInstance error: 0x%X"))
    return false;

  // The client-authentication usage is prepared but, as the certificates
  // issued so far were requested, not put into the request.
  objectId->call(u"InitializeFromValue", {kClientAuthenticationOid}, nullptr);
  if (!done(com.create(kObjectIdsClass, &objectIds), "_objectIds.CoCreateInstance error: 0x%X")) return false;
  objectIds->call(u"Add", {objectId.get()}, nullptr);
  if (!done(com.create(kEnhancedKeyUsageClass, &enhancedKeyUsage),
            "_enhancedKeyUsageExtension.CoCreateInstance error: 0x%X"))
    return false;
  enhancedKeyUsage->call(u"InitializeEncode", {objectIds.get()}, nullptr);

  std::u16string text;
  if (!done(extensions->call(u"Add", {keyUsage.get()}, nullptr), "_x509Extensions->Add error: 0x%X") ||
      !done(com.create(kDistinguishedNameClass, &distinguishedName), "_distinguishName.CoCreateInstance error: 0x%X") ||
      !done(distinguishedName->call(u"Encode", {subject, kX500NameString}, nullptr),
            "_distinguishName->Encode error: 0x%X") ||
      !done(pkcs10->put(u"Subject", distinguishedName.get()), "_csrquestpkcs10->put_Subject error: 0x%X") ||
      !done(com.create(kEnrollmentClass, &enroll), "_enroll.CoCreateInstance error: 0x%X") ||
      !done(com.create(kObjectIdClass, &hashId), "_objectIdHash.CoCreateInstance error: 0x%X") ||
      !done(hashId->call(u"InitializeFromValue", {kSha256Oid}, nullptr),
            "_objectIdHash->InitializeFromValue error: 0x%X") ||
      !done(pkcs10->put(u"HashAlgorithm", hashId.get()), "_csrquestpkcs10->put_HashAlgorithm error: 0x%X") ||
      !done(enroll->call(u"InitializeFromRequest", {pkcs10.get()}, nullptr),
            "_enroll->InitializeFromRequest error: 0x%X") ||
      !done(enroll->call(u"CreateRequest", {kBase64}, &text), "_enroll->CreateRequest error: 0x%X"))
    return false;
  *request = std::move(text);
  return true;
}

bool installCertificate(CertificateStore& store, const char16_t* keyName, const char16_t* certificate,
                        FailureDetail& detail) {
  std::vector<std::uint8_t> encoded(kCertificateBufferSize);
  std::uint32_t size = kCertificateBufferSize;
  if (!store.decodeString(certificate, kCryptStringAny, encoded.data(), &size))
    return detail.fail("CryptStringToBinary error: 0x%X", store.lastError());
  if (!store.openSystemStore("MY")) return detail.fail("CertOpenSystemStoreA error");
  bool installed = addBoundCertificate(store, keyName, encoded.data(), size, detail);
  if (!store.closeStore(kCloseStoreForceFlag)) installed = detail.fail("CertCloseStore error: 0x%X", store.lastError());
  return installed;
}

Failure genKeyCsr(CertMintPlatform& platform, const char16_t* keyName, const char16_t* subject,
                  std::u16string* request) {
  FailureDetail keyDetail;
  if (!createTpmKey(platform.keyStorage(), platform.console(), keyName, keyDetail))
    return kKeyCreationPrefix + keyDetail.text();
  // A failed free after a created key does not count against the request.
  FailureDetail requestDetail;
  if (!createCsr(platform.automation(), keyName, subject, request, requestDetail))
    return kRequestCreationPrefix + requestDetail.text();
  return std::nullopt;
}

Failure importCert(CertMintPlatform& platform, const char16_t* keyName, const char16_t* certificate) {
  FailureDetail detail;
  if (!installCertificate(platform.certificateStore(), keyName, certificate, detail))
    return kImportPrefix + detail.text();
  return std::nullopt;
}

}  // namespace zq::tpm::certmint

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "CallLog.h"
#include "FakeCertMintPlatform.h"
#include "certmint/CertMint.h"

namespace zq::tpm::testing {
namespace {

using namespace certmint;
using Calls = std::vector<std::string>;

constexpr std::int32_t kFailure = static_cast<std::int32_t>(0x80090016);
const char16_t kKeyName[] = u"klucz-\u0142";
const std::string kKeyNameUtf8 = "klucz-\xC5\x82";
const std::string kCreateKey = "NCryptCreatePersistedKey RSA " + kKeyNameUtf8 + " 0 0x80";
const std::string kSetPolicy =
    "NCryptSetProperty UI Policy {1, 0x2, (null), (null), Has\xC5\x82o do certyfikatu VOSTREL} 0x80000000";

// --- the TPM key ---------------------------------------------------------

struct KeyRun {
  bool created;
  std::string detail;
  std::string console;
  Calls calls;
};

KeyRun createKey(CallLog& log) {
  FakeKeyStorage keys(log);
  std::ostringstream console;
  FailureDetail detail;
  const bool created = createTpmKey(keys, console, kKeyName, detail);
  return {created, detail.text(), console.str(), log.calls()};
}

TEST(CertMintKey, CreatesFinalisesAndFreesBothHandles) {
  CallLog log;
  const KeyRun run = createKey(log);
  EXPECT_TRUE(run.created);
  EXPECT_EQ((Calls{"NCryptOpenStorageProvider Microsoft Platform Crypto Provider", kCreateKey, kSetPolicy,
                   "NCryptFinalizeKey 0x0", "NCryptFreeObject key", "NCryptFreeObject provider"}),
            run.calls);
  EXPECT_EQ("", run.console);
}

// A failing step ends the creation: the detail names it, not a later step
// that failed only because of it; every handle opened is freed.
TEST(CertMintKey, FailingStepStopsAndFreesWhatWasOpened) {
  struct Case {
    const char* call;
    const char* detail;
    const char* console;
    Calls calls;
  };
  const std::string open = "NCryptOpenStorageProvider Microsoft Platform Crypto Provider";
  const Case cases[] = {
      {"NCryptOpenStorageProvider", "NCryptOpenStorageProvider error: 0x80090016", "", {open}},
      {"NCryptCreatePersistedKey", "NCryptCreatePersistedKey error: 0x80090016", "",
       {open, kCreateKey, "NCryptFreeObject provider"}},
      {"NCryptSetProperty", "NCryptSetProperty error: 0x80090016", "NCryptSetProperty Error code = 0x80090016\n",
       {open, kCreateKey, kSetPolicy, "NCryptFreeObject key", "NCryptFreeObject provider"}},
      {"NCryptFinalizeKey", "NCryptFinalizeKey error: 0x80090016", "",
       {open, kCreateKey, kSetPolicy, "NCryptFinalizeKey 0x0", "NCryptFreeObject key", "NCryptFreeObject provider"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    CallLog log;
    log.failAt(c.call, kFailure);
    const KeyRun run = createKey(log);
    EXPECT_FALSE(run.created);
    EXPECT_EQ(c.detail, run.detail);
    EXPECT_EQ(c.console, run.console);
    EXPECT_EQ(c.calls, run.calls);
  }
}

TEST(CertMintKey, FailedFreeNeitherHidesTheFirstFailureNorUndoesASuccess) {
  CallLog afterFailure;
  afterFailure.failAt("NCryptFinalizeKey", kFailure);
  afterFailure.failAt("NCryptFreeObject key", 6);
  afterFailure.failAt("NCryptFreeObject provider", 6);
  const KeyRun failed = createKey(afterFailure);
  EXPECT_FALSE(failed.created);
  EXPECT_EQ("NCryptFinalizeKey error: 0x80090016", failed.detail);

  CallLog afterSuccess;
  afterSuccess.failAt("NCryptFreeObject provider", 6);
  const KeyRun created = createKey(afterSuccess);
  EXPECT_TRUE(created.created);
  EXPECT_EQ("NCryptFreeObject error: 0x6", created.detail);
}

// --- the certificate request -------------------------------------------

struct CsrRun {
  bool created;
  std::u16string request;
  std::string detail;
  Calls calls;
  ObjectLedger ledger;
};

CsrRun createRequest(CallLog& log, const char16_t* subject = u"CN=Jan Kowalski, O=Vostrel") {
  CsrRun run;
  {
    FakeAutomation com(log, run.ledger);
    FailureDetail detail;
    run.created = createCsr(com, kKeyName, subject, &run.request, detail);
    run.detail = detail.text();
  }
  run.calls = log.calls();
  return run;
}

// Everything made is released, last made first, then COM is uninitialised:
// on success as on failure.
void expectCleanUp(const CsrRun& run) {
  std::vector<std::string> reversed(run.ledger.made.rbegin(), run.ledger.made.rend());
  EXPECT_EQ(reversed, run.ledger.released);
  ASSERT_FALSE(run.calls.empty());
  EXPECT_EQ("CoUninitialize", run.calls.back());
}

TEST(CertMintRequest, BuildsTheRequestAndReleasesEverything) {
  CallLog log;
  const CsrRun run = createRequest(log);
  ASSERT_TRUE(run.created) << run.detail;
  EXPECT_EQ(u"MIICfakeRequest==", run.request);
  const std::string name = kKeyNameUtf8;
  EXPECT_EQ((Calls{
                "CoInitializeEx",
                "CoCreateInstance X509Enrollment.CX509PrivateKey.1",
                "CX509PrivateKey.ContainerName = \"" + name + "\"",
                "CX509PrivateKey.ProviderName = \"Microsoft Platform Crypto Provider\"",
                "CX509PrivateKey.Open ()",
                "CoCreateInstance X509Enrollment.CX509CertificateRequestPkcs10.1",
                "CX509CertificateRequestPkcs10.InitializeFromPrivateKey (1, CX509PrivateKey, \"\")",
                "CoCreateInstance X509Enrollment.CX509ExtensionKeyUsage.1",
                "CX509ExtensionKeyUsage.InitializeEncode (248)",
                "CX509CertificateRequestPkcs10.X509Extensions",
                "CoCreateInstance X509Enrollment.CObjectId.1",
                "CObjectId.InitializeFromValue (\"1.3.6.1.5.5.7.3.2\")",
                "CoCreateInstance X509Enrollment.CObjectIds.1",
                "CObjectIds.Add (CObjectId)",
                "CoCreateInstance X509Enrollment.CX509ExtensionEnhancedKeyUsage.1",
                "CX509ExtensionEnhancedKeyUsage.InitializeEncode (CObjectIds)",
                "X509Extensions.Add (CX509ExtensionKeyUsage)",
                "CoCreateInstance X509Enrollment.CX500DistinguishedName.1",
                "CX500DistinguishedName.Encode (\"CN=Jan Kowalski, O=Vostrel\", 3)",
                "CX509CertificateRequestPkcs10.Subject = CX500DistinguishedName",
                "CoCreateInstance X509Enrollment.CX509Enrollment.1",
                "CoCreateInstance X509Enrollment.CObjectId.1",
                "CObjectId.InitializeFromValue (\"2.16.840.1.101.3.4.2.1\")",
                "CX509CertificateRequestPkcs10.HashAlgorithm = CObjectId",
                "CX509Enrollment.InitializeFromRequest (CX509CertificateRequestPkcs10)",
                "CX509Enrollment.CreateRequest (1)",
                "Release CObjectId",
                "Release CX509Enrollment",
                "Release CX500DistinguishedName",
                "Release CX509ExtensionEnhancedKeyUsage",
                "Release CObjectIds",
                "Release CObjectId",
                "Release X509Extensions",
                "Release CX509ExtensionKeyUsage",
                "Release CX509CertificateRequestPkcs10",
                "Release CX509PrivateKey",
                "CoUninitialize",
            }),
            run.calls);
}

TEST(CertMintRequest, EachFailingStepNamesItselfAndCleansUp) {
  struct Case {
    const char* call;
    int nth;
    const char* detail;
  };
  const Case cases[] = {
      {"CoCreateInstance X509Enrollment.CX509PrivateKey.1", 1, "_privateKey.CoCreateInstance error: 0x80090016"},
      {"CX509PrivateKey.ContainerName", 1, "_privateKey->put_ContainerName error: 0x80090016"},
      {"CX509PrivateKey.ProviderName", 1, "_privateKey->put_ProviderName error: 0x80090016"},
      {"CoCreateInstance X509Enrollment.CX509CertificateRequestPkcs10.1", 1,
       "_csrquestpkcs10.CoCreateInstance error: 0x80090016"},
      {"CX509CertificateRequestPkcs10.InitializeFromPrivateKey", 1,
       "_csrquestpkcs10->InitializeFromPrivateKey error: 0x80090016"},
      {"CoCreateInstance X509Enrollment.CX509ExtensionKeyUsage.1", 1,
       "_extensionKeyUsage.CoCreateInstance error: 0x80090016"},
      {"CX509ExtensionKeyUsage.InitializeEncode", 1, "_extensionKeyUsage->InitializeEncode error: 0x80090016"},
      {"CX509CertificateRequestPkcs10.X509Extensions", 1, "_csrquestpkcs10->get_X509Extensions error: 0x80090016"},
      {"CoCreateInstance X509Enrollment.CObjectId.1", 1, "_objectId.CoCreateInstance error: 0x80090016"},
      {"CoCreateInstance X509Enrollment.CObjectIds.1", 1, "_objectIds.CoCreateInstance error: 0x80090016"},
      {"CoCreateInstance X509Enrollment.CX509ExtensionEnhancedKeyUsage.1", 1,
       "_enhancedKeyUsageExtension.CoCreateInstance error: 0x80090016"},
      {"X509Extensions.Add", 1, "_x509Extensions->Add error: 0x80090016"},
      {"CoCreateInstance X509Enrollment.CX500DistinguishedName.1", 1,
       "_distinguishName.CoCreateInstance error: 0x80090016"},
      {"CX500DistinguishedName.Encode", 1, "_distinguishName->Encode error: 0x80090016"},
      {"CX509CertificateRequestPkcs10.Subject", 1, "_csrquestpkcs10->put_Subject error: 0x80090016"},
      {"CoCreateInstance X509Enrollment.CX509Enrollment.1", 1, "_enroll.CoCreateInstance error: 0x80090016"},
      {"CoCreateInstance X509Enrollment.CObjectId.1", 2, "_objectIdHash.CoCreateInstance error: 0x80090016"},
      {"CObjectId.InitializeFromValue", 2, "_objectIdHash->InitializeFromValue error: 0x80090016"},
      {"CX509CertificateRequestPkcs10.HashAlgorithm", 1, "_csrquestpkcs10->put_HashAlgorithm error: 0x80090016"},
      {"CX509Enrollment.InitializeFromRequest", 1, "_enroll->InitializeFromRequest error: 0x80090016"},
      {"CX509Enrollment.CreateRequest", 1, "_enroll->CreateRequest error: 0x80090016"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.detail);
    CallLog log;
    log.failAt(c.call, kFailure, c.nth);
    const CsrRun run = createRequest(log);
    EXPECT_FALSE(run.created);
    EXPECT_EQ(c.detail, run.detail);
    EXPECT_EQ(u"", run.request);
    expectCleanUp(run);
    // Nothing but the clean-up follows the failing call.
    ASSERT_GE(log.firstFailure(), 0);
    for (std::size_t i = log.firstFailure() + 1; i < run.calls.size(); ++i)
      EXPECT_TRUE(run.calls[i].rfind("Release ", 0) == 0 || run.calls[i] == "CoUninitialize") << run.calls[i];
  }
}

TEST(CertMintRequest, ComThatWillNotStartIsNotUninitialised) {
  CallLog log;
  log.failAt("CoInitializeEx", static_cast<std::int32_t>(0x80010106));
  const CsrRun run = createRequest(log);
  EXPECT_FALSE(run.created);
  EXPECT_EQ("Failed to initialize COM library; error: 0x80010106", run.detail);
  EXPECT_EQ((Calls{"CoInitializeEx"}), run.calls);
}

// Opening the key and preparing the client-authentication usage are not
// checked: the request is made all the same.
TEST(CertMintRequest, UncheckedStepsDoNotStopTheRequest) {
  const std::pair<const char*, int> unchecked[] = {{"CX509PrivateKey.Open", 1},
                                                   {"CObjectId.InitializeFromValue", 1},
                                                   {"CObjectIds.Add", 1},
                                                   {"CX509ExtensionEnhancedKeyUsage.InitializeEncode", 1}};
  for (const auto& [call, nth] : unchecked) {
    SCOPED_TRACE(call);
    CallLog log;
    log.failAt(call, kFailure, nth);
    const CsrRun run = createRequest(log);
    EXPECT_TRUE(run.created) << run.detail;
    EXPECT_EQ(u"MIICfakeRequest==", run.request);
    expectCleanUp(run);
  }
}

// --- the certificate import -------------------------------------------

struct ImportRun {
  bool installed;
  std::string detail;
  Calls calls;
};

ImportRun install(CallLog& log, const char16_t* certificate = u"MIIBcert") {
  FakeCertificateStore store(log);
  FailureDetail detail;
  const bool installed = installCertificate(store, kKeyName, certificate, detail);
  return {installed, detail.text(), log.calls()};
}

const std::string kDecode = "CryptStringToBinaryW 0x7 into 4096";
const std::string kOpenStore = "CertOpenSystemStoreA MY";
const std::string kCreateContext = "CertCreateCertificateContext 0x1 \"MIIBcert\"";
const std::string kBind = "CertSetCertificateContextProperty KEY_PROV_INFO {" + kKeyNameUtf8 +
                          ", Microsoft Platform Crypto Provider, 0, 0, 0}";
const std::string kAdd = "CertAddCertificateContextToStore 4";
const std::string kFree = "CertFreeCertificateContext";
const std::string kClose = "CertCloseStore 0x1";

TEST(CertMintImport, InstallsBoundToTheKeyAndClosesTheStore) {
  CallLog log;
  const ImportRun run = install(log);
  EXPECT_TRUE(run.installed) << run.detail;
  EXPECT_EQ((Calls{kDecode, kOpenStore, kCreateContext, kBind, kAdd, kFree, kClose}), run.calls);
}

TEST(CertMintImport, FailuresKeepTheFirstDetailAndReleaseWhatWasOpened) {
  struct Case {
    std::vector<std::pair<const char*, std::int32_t>> failures;
    const char* detail;
    Calls calls;
  };
  const Case cases[] = {
      {{{"CryptStringToBinaryW", 13}}, "CryptStringToBinary error: 0xD", {kDecode}},
      {{{"CertOpenSystemStoreA", 5}}, "CertOpenSystemStoreA error", {kDecode, kOpenStore}},
      {{{"CertCreateCertificateContext", static_cast<std::int32_t>(0x8009310B)}},
       "CertCreateCertificateContext error: 0x8009310B",
       {kDecode, kOpenStore, kCreateContext, kClose}},
      {{{"CertSetCertificateContextProperty", 87}}, "CertSetCertificateContextProperty error: 0x57",
       {kDecode, kOpenStore, kCreateContext, kBind, kFree, kClose}},
      {{{"CertAddCertificateContextToStore", 5}}, "CertAddCertificateContextToStore error: 0x5",
       {kDecode, kOpenStore, kCreateContext, kBind, kAdd, kFree, kClose}},
      // A clean-up that fails after a success makes the import fail ...
      {{{"CertFreeCertificateContext", 6}}, "CertFreeCertificateContext error: 0x6",
       {kDecode, kOpenStore, kCreateContext, kBind, kAdd, kFree, kClose}},
      {{{"CertCloseStore", 6}}, "CertCloseStore error: 0x6",
       {kDecode, kOpenStore, kCreateContext, kBind, kAdd, kFree, kClose}},
      // ... but never hides the failure before it.
      {{{"CertCreateCertificateContext", static_cast<std::int32_t>(0x8009310B)}, {"CertCloseStore", 6}},
       "CertCreateCertificateContext error: 0x8009310B",
       {kDecode, kOpenStore, kCreateContext, kClose}},
      {{{"CertAddCertificateContextToStore", 5}, {"CertFreeCertificateContext", 6}, {"CertCloseStore", 6}},
       "CertAddCertificateContextToStore error: 0x5",
       {kDecode, kOpenStore, kCreateContext, kBind, kAdd, kFree, kClose}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.detail);
    CallLog log;
    for (const auto& [call, code] : c.failures) log.failAt(call, code);
    const ImportRun run = install(log);
    EXPECT_FALSE(run.installed);
    EXPECT_EQ(c.detail, run.detail);
    EXPECT_EQ(c.calls, run.calls);
  }
}

TEST(CertMintImport, DecodedCertificateMustFitFourKilobytes) {
  const std::u16string fits(4096, u'A');
  CallLog fitting;
  EXPECT_TRUE(install(fitting, fits.c_str()).installed);

  const std::u16string tooLong(4097, u'A');
  CallLog overflowing;
  const ImportRun run = install(overflowing, tooLong.c_str());
  EXPECT_FALSE(run.installed);
  EXPECT_EQ("CryptStringToBinary error: 0xEA", run.detail);
  EXPECT_EQ((Calls{kDecode}), run.calls);
}

// --- the two operations as Java sees them -----------------------------

class CertMintOperations : public ::testing::Test {
 protected:
  CallLog log_;
  ObjectLedger ledger_;
  std::ostringstream console_;
  FakeCertMintPlatform platform_{log_, ledger_, console_};

  bool called(const std::string& prefix) const {
    return std::any_of(log_.calls().begin(), log_.calls().end(),
                       [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
  }
};

TEST_F(CertMintOperations, GenKeyCsrAnswersTheRequest) {
  std::u16string request;
  EXPECT_EQ(std::nullopt, genKeyCsr(platform_, kKeyName, u"CN=x", &request));
  EXPECT_EQ(u"MIICfakeRequest==", request);
}

TEST_F(CertMintOperations, KeyFailureSkipsTheRequest) {
  log_.failAt("NCryptFinalizeKey", kFailure);
  std::u16string request;
  EXPECT_EQ(std::string("Generowanie klucza nie powiod?o si?; NCryptFinalizeKey error: 0x80090016"),
            genKeyCsr(platform_, kKeyName, u"CN=x", &request));
  EXPECT_FALSE(called("CoInitializeEx"));
}

// The request's detail is its own: a failed free after the key was made
// does not stand in for it.
TEST_F(CertMintOperations, RequestFailureCarriesTheRequestDetail) {
  log_.failAt("NCryptFreeObject provider", 6);
  log_.failAt("CX500DistinguishedName.Encode", static_cast<std::int32_t>(0x80092023));
  std::u16string request;
  EXPECT_EQ(std::string("Generowanie ??dania (CSR) nie powiod?o si?; _distinguishName->Encode error: 0x80092023"),
            genKeyCsr(platform_, kKeyName, u"not an X.500 name", &request));
}

TEST_F(CertMintOperations, ImportFailureHasTheWindows1250Prefix) {
  EXPECT_EQ(std::nullopt, importCert(platform_, kKeyName, u"MIIBcert"));
  log_.failAt("CertCreateCertificateContext", static_cast<std::int32_t>(0x8009310B), 2);
  EXPECT_EQ(std::string("Import certyfikatu nie powi\xF3" "d? si?; CertCreateCertificateContext error: 0x8009310B"),
            importCert(platform_, kKeyName, u"MIIBcert"));
}

}  // namespace
}  // namespace zq::tpm::testing

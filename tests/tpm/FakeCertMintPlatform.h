// certmint's platform without Windows: every call goes to one CallLog, which
// can make any of them fail. Objects of the enrollment classes note when they
// are made and released.
#ifndef ZQ_TESTS_TPM_FAKE_CERTMINT_PLATFORM_H
#define ZQ_TESTS_TPM_FAKE_CERTMINT_PLATFORM_H

#include <sstream>
#include <string>
#include <vector>

#include "CallLog.h"
#include "certmint/CertMintPlatform.h"

namespace zq::tpm::testing {

class FakeKeyStorage final : public certmint::KeyStorage {
 public:
  explicit FakeKeyStorage(CallLog& log) : log_(log) {}
  HResult openStorageProvider(const char16_t* provider) override;
  HResult createPersistedKey(const char16_t* algorithm, const char16_t* keyName, std::uint32_t legacyKeySpec,
                             std::uint32_t flags) override;
  HResult setUiPolicy(const certmint::UiPolicy& policy, std::uint32_t flags) override;
  HResult finalizeKey(std::uint32_t flags) override;
  HResult freeKey() override;
  HResult freeProvider() override;

 private:
  CallLog& log_;
};

// The enrollment objects made and released, by class name, in order.
struct ObjectLedger {
  std::vector<std::string> made;
  std::vector<std::string> released;
};

class FakeAutomation final : public certmint::Automation {
 public:
  FakeAutomation(CallLog& log, ObjectLedger& ledger) : log_(log), ledger_(ledger) {}
  HResult initialize() override;
  void uninitialize() override;
  HResult create(const char16_t* progId, std::unique_ptr<certmint::DispatchObject>* object) override;

  // What CreateRequest answers.
  std::u16string request = u"MIICfakeRequest==";

 private:
  CallLog& log_;
  ObjectLedger& ledger_;
};

class FakeCertificateStore final : public certmint::CertificateStore {
 public:
  explicit FakeCertificateStore(CallLog& log) : log_(log) {}
  // "Decodes" by taking the low byte of each unit, failing with
  // ERROR_MORE_DATA when that does not fit the buffer.
  bool decodeString(const char16_t* text, std::uint32_t flags, std::uint8_t* buffer, std::uint32_t* size) override;
  bool openSystemStore(const char* name) override;
  bool createCertificateContext(std::uint32_t encoding, const std::uint8_t* encoded, std::uint32_t size) override;
  bool setKeyProviderInfo(const certmint::KeyProviderInfo& info) override;
  bool addCertificateToStore(std::uint32_t disposition) override;
  bool freeCertificateContext() override;
  bool closeStore(std::uint32_t flags) override;
  std::uint32_t lastError() const override { return error_; }

 private:
  bool answer(std::int32_t injected);

  CallLog& log_;
  std::uint32_t error_ = 0;
};

class FakeCertMintPlatform final : public certmint::CertMintPlatform {
 public:
  FakeCertMintPlatform(CallLog& log, ObjectLedger& ledger, std::ostream& console)
      : keys_(log), com_(log, ledger), store_(log), console_(console) {}
  certmint::KeyStorage& keyStorage() override { return keys_; }
  certmint::Automation& automation() override { return com_; }
  certmint::CertificateStore& certificateStore() override { return store_; }
  std::ostream& console() override { return console_; }

 private:
  FakeKeyStorage keys_;
  FakeAutomation com_;
  FakeCertificateStore store_;
  std::ostream& console_;
};

}  // namespace zq::tpm::testing

#endif

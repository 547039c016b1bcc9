#include "FakeCertMintPlatform.h"

#include <variant>

namespace zq::tpm::testing {

namespace {

constexpr std::uint32_t kErrorMoreData = 234;
constexpr std::uint32_t kErrorInvalidParameter = 87;

class FakeDispatchObject final : public certmint::DispatchObject {
 public:
  FakeDispatchObject(CallLog& log, ObjectLedger& ledger, std::string name, const std::u16string& request)
      : log_(log), ledger_(ledger), name_(std::move(name)), request_(request) {
    ledger_.made.push_back(name_);
  }
  ~FakeDispatchObject() override {
    ledger_.released.push_back(name_);
    log_.record("Release", name_);
  }

  const std::string& name() const { return name_; }

  HResult put(const char16_t* property, const certmint::Argument& value) override {
    return log_.record(name_ + "." + utf8(property), "= " + describe(value));
  }

  HResult getObject(const char16_t* property, std::unique_ptr<certmint::DispatchObject>* value) override {
    const HResult hr = log_.record(name_ + "." + utf8(property));
    if (hr == 0) *value = std::make_unique<FakeDispatchObject>(log_, ledger_, utf8(property), request_);
    return hr;
  }

  HResult call(const char16_t* method, const std::vector<certmint::Argument>& arguments,
               std::u16string* text) override {
    std::string list;
    for (const certmint::Argument& argument : arguments) list += (list.empty() ? "" : ", ") + describe(argument);
    const HResult hr = log_.record(name_ + "." + utf8(method), "(" + list + ")");
    if (hr == 0 && text) *text = request_;
    return hr;
  }

 private:
  static std::string describe(const certmint::Argument& argument) {
    if (const auto* number = std::get_if<std::int32_t>(&argument)) return std::to_string(*number);
    if (const auto* text = std::get_if<const char16_t*>(&argument))
      return *text ? "\"" + utf8(*text) + "\"" : "(null)";
    const auto* object = static_cast<FakeDispatchObject*>(std::get<certmint::DispatchObject*>(argument));
    return object ? object->name() : "(null)";
  }

  CallLog& log_;
  ObjectLedger& ledger_;
  std::string name_;
  const std::u16string& request_;
};

// "X509Enrollment.CObjectId.1" is a CObjectId.
std::string className(const std::string& progId) {
  const std::size_t first = progId.find('.');
  const std::size_t last = progId.rfind('.');
  return first == std::string::npos || last == first ? progId : progId.substr(first + 1, last - first - 1);
}

}  // namespace

HResult FakeKeyStorage::openStorageProvider(const char16_t* provider) {
  return log_.record("NCryptOpenStorageProvider", utf8(provider));
}

HResult FakeKeyStorage::createPersistedKey(const char16_t* algorithm, const char16_t* keyName,
                                           std::uint32_t legacyKeySpec, std::uint32_t flags) {
  return log_.record("NCryptCreatePersistedKey",
                     utf8(algorithm) + " " + utf8(keyName) + " " + std::to_string(legacyKeySpec) + " " + hex(flags));
}

HResult FakeKeyStorage::setUiPolicy(const certmint::UiPolicy& policy, std::uint32_t flags) {
  return log_.record("NCryptSetProperty", "UI Policy {" + std::to_string(policy.version) + ", " + hex(policy.flags) +
                                              ", " + utf8(policy.creationTitle) + ", " + utf8(policy.friendlyName) +
                                              ", " + utf8(policy.description) + "} " + hex(flags));
}

HResult FakeKeyStorage::finalizeKey(std::uint32_t flags) { return log_.record("NCryptFinalizeKey", hex(flags)); }

HResult FakeKeyStorage::freeKey() { return log_.record("NCryptFreeObject key"); }

HResult FakeKeyStorage::freeProvider() { return log_.record("NCryptFreeObject provider"); }

HResult FakeAutomation::initialize() { return log_.record("CoInitializeEx"); }

void FakeAutomation::uninitialize() { log_.record("CoUninitialize"); }

HResult FakeAutomation::create(const char16_t* progId, std::unique_ptr<certmint::DispatchObject>* object) {
  const HResult hr = log_.record("CoCreateInstance " + utf8(progId));
  if (hr == 0) *object = std::make_unique<FakeDispatchObject>(log_, ledger_, className(utf8(progId)), request);
  return hr;
}

bool FakeCertificateStore::answer(std::int32_t injected) {
  error_ = static_cast<std::uint32_t>(injected);
  return injected == 0;
}

bool FakeCertificateStore::decodeString(const char16_t* text, std::uint32_t flags, std::uint8_t* buffer,
                                        std::uint32_t* size) {
  if (!answer(log_.record("CryptStringToBinaryW", hex(flags) + " into " + std::to_string(*size)))) return false;
  if (!text) return answer(kErrorInvalidParameter);
  const std::u16string units(text);
  if (units.size() > *size) return answer(kErrorMoreData);
  for (std::size_t i = 0; i < units.size(); ++i) buffer[i] = static_cast<std::uint8_t>(units[i]);
  *size = static_cast<std::uint32_t>(units.size());
  return true;
}

bool FakeCertificateStore::openSystemStore(const char* name) {
  return answer(log_.record("CertOpenSystemStoreA", name));
}

bool FakeCertificateStore::createCertificateContext(std::uint32_t encoding, const std::uint8_t* encoded,
                                                    std::uint32_t size) {
  return answer(log_.record("CertCreateCertificateContext",
                            hex(encoding) + " \"" + std::string(encoded, encoded + size) + "\""));
}

bool FakeCertificateStore::setKeyProviderInfo(const certmint::KeyProviderInfo& info) {
  return answer(log_.record("CertSetCertificateContextProperty",
                            "KEY_PROV_INFO {" + utf8(info.containerName) + ", " + utf8(info.providerName) + ", " +
                                std::to_string(info.providerType) + ", " + std::to_string(info.flags) + ", " +
                                std::to_string(info.keySpec) + "}"));
}

bool FakeCertificateStore::addCertificateToStore(std::uint32_t disposition) {
  return answer(log_.record("CertAddCertificateContextToStore", std::to_string(disposition)));
}

bool FakeCertificateStore::freeCertificateContext() { return answer(log_.record("CertFreeCertificateContext")); }

bool FakeCertificateStore::closeStore(std::uint32_t flags) { return answer(log_.record("CertCloseStore", hex(flags))); }

}  // namespace zq::tpm::testing

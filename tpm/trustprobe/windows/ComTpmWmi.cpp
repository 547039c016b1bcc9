#include "trustprobe/windows/ComTpmWmi.h"

#include <objbase.h>
#include <oleauto.h>

#include <memory>

#include "common/windows/Bstr.h"
#include "common/windows/WideText.h"

namespace zq::tpm::trustprobe {

static_assert((WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY) == kWqlQueryFlags, "WQL query flags");
static_assert(static_cast<HResult>(WBEM_E_ACCESS_DENIED) == kWbemAccessDenied, "WMI access denied");

namespace {

template <typename Interface>
void release(Interface*& held) {
  if (held) held->Release();
  held = nullptr;
}

}  // namespace

ComTpmWmi::~ComTpmWmi() {
  release(object_);
  release(enumerator_);
  release(services_);
  release(locator_);
}

HResult ComTpmWmi::initializeCom() { return CoInitializeEx(nullptr, COINIT_MULTITHREADED); }

HResult ComTpmWmi::initializeSecurity() {
  return CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
}

HResult ComTpmWmi::createLocator() {
  return CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                          reinterpret_cast<void**>(&locator_));
}

HResult ComTpmWmi::connectServer(const char16_t* wmiNamespace) {
  Bstr resource(wmiNamespace);
  if (!resource.allocated(wmiNamespace)) return E_OUTOFMEMORY;
  return locator_->ConnectServer(resource.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services_);
}

HResult ComTpmWmi::setProxyBlanket() {
  return CoSetProxyBlanket(services_, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                           RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

HResult ComTpmWmi::execQuery(const char16_t* language, const char16_t* query, std::int32_t flags) {
  Bstr queryLanguage(language);
  Bstr queryText(query);
  if (!queryLanguage.allocated(language) || !queryText.allocated(query)) return E_OUTOFMEMORY;
  return services_->ExecQuery(queryLanguage.get(), queryText.get(), flags, nullptr, &enumerator_);
}

std::uint32_t ComTpmWmi::nextObject() {
  ULONG returned = 0;
  // Its code tells no more than the count does: no object is no object.
  enumerator_->Next(WBEM_INFINITE, 1, &object_, &returned);
  if (returned == 0) object_ = nullptr;
  return returned;
}

HResult ComTpmWmi::getObjectText(std::u16string* text) {
  BSTR mof = nullptr;
  HRESULT hr = object_->GetObjectText(0, &mof);
  if (FAILED(hr)) return hr;
  // Success without a text is no description either.
  if (!mof) return E_POINTER;
  std::unique_ptr<OLECHAR, decltype(&SysFreeString)> owned(mof, &SysFreeString);
  *text = fromWide(mof, SysStringLen(mof));
  return S_OK;
}

void ComTpmWmi::releaseObject() { release(object_); }
void ComTpmWmi::releaseEnumerator() { release(enumerator_); }
void ComTpmWmi::releaseServices() { release(services_); }
void ComTpmWmi::releaseLocator() { release(locator_); }
void ComTpmWmi::uninitializeCom() { CoUninitialize(); }

}  // namespace zq::tpm::trustprobe

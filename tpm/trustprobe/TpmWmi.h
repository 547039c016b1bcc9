// The COM and WMI calls that trustprobe makes, one method a call, so that the
// query's order of calls, its messages and its clean-up are plain C++ that
// also runs against a fake. An implementation keeps the interfaces it
// obtained; each release method drops the one it names.
#ifndef ZQ_TPM_TRUSTPROBE_TPM_WMI_H
#define ZQ_TPM_TRUSTPROBE_TPM_WMI_H

#include <cstdint>
#include <string>

#include "common/HResult.h"

namespace zq::tpm::trustprobe {

// WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY
constexpr std::int32_t kWqlQueryFlags = 0x30;
// WBEM_E_ACCESS_DENIED
constexpr HResult kWbemAccessDenied = static_cast<HResult>(0x80041003);

class TpmWmi {
 public:
  virtual ~TpmWmi() = default;

  // CoInitializeEx in the multithreaded apartment.
  virtual HResult initializeCom() = 0;
  // CoInitializeSecurity: default authentication, impersonation, no capabilities.
  virtual HResult initializeSecurity() = 0;
  // The WbemLocator object, in-process, as IWbemLocator.
  virtual HResult createLocator() = 0;
  // IWbemLocator::ConnectServer with no user, password, locale, authority or context.
  virtual HResult connectServer(const char16_t* wmiNamespace) = 0;
  // CoSetProxyBlanket on the services: NTLM, call-level authentication, impersonation.
  virtual HResult setProxyBlanket() = 0;
  virtual HResult execQuery(const char16_t* language, const char16_t* query, std::int32_t flags) = 0;
  // IEnumWbemClassObject::Next for one object without a time limit; answers
  // how many objects came.
  virtual std::uint32_t nextObject() = 0;
  // IWbemClassObject::GetObjectText of the object that nextObject gave.
  virtual HResult getObjectText(std::u16string* text) = 0;

  virtual void releaseObject() = 0;
  virtual void releaseEnumerator() = 0;
  virtual void releaseServices() = 0;
  virtual void releaseLocator() = 0;
  virtual void uninitializeCom() = 0;
};

}  // namespace zq::tpm::trustprobe

#endif

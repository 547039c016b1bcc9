// TpmWmi over the real COM runtime and the WMI service.
#ifndef ZQ_TPM_TRUSTPROBE_COM_TPM_WMI_H
#define ZQ_TPM_TRUSTPROBE_COM_TPM_WMI_H

#include <wbemidl.h>

#include "trustprobe/TpmWmi.h"

namespace zq::tpm::trustprobe {

class ComTpmWmi final : public TpmWmi {
 public:
  ComTpmWmi() = default;
  // Drops whatever interface is still held; the query releases them itself.
  ~ComTpmWmi() override;
  ComTpmWmi(const ComTpmWmi&) = delete;
  ComTpmWmi& operator=(const ComTpmWmi&) = delete;

  HResult initializeCom() override;
  HResult initializeSecurity() override;
  HResult createLocator() override;
  HResult connectServer(const char16_t* wmiNamespace) override;
  HResult setProxyBlanket() override;
  HResult execQuery(const char16_t* language, const char16_t* query, std::int32_t flags) override;
  std::uint32_t nextObject() override;
  HResult getObjectText(std::u16string* text) override;

  void releaseObject() override;
  void releaseEnumerator() override;
  void releaseServices() override;
  void releaseLocator() override;
  void uninitializeCom() override;

 private:
  IWbemLocator* locator_ = nullptr;
  IWbemServices* services_ = nullptr;
  IEnumWbemClassObject* enumerator_ = nullptr;
  IWbemClassObject* object_ = nullptr;
};

}  // namespace zq::tpm::trustprobe

#endif

// Automation over COM: objects by ProgID, members by name through IDispatch.
#ifndef ZQ_TPM_CERTMINT_COM_AUTOMATION_H
#define ZQ_TPM_CERTMINT_COM_AUTOMATION_H

#include <windows.h>
#include <oaidl.h>

#include "certmint/Automation.h"

namespace zq::tpm::certmint {

class ComDispatchObject final : public DispatchObject {
 public:
  // Takes over the reference.
  explicit ComDispatchObject(IDispatch* dispatch) : dispatch_(dispatch) {}
  ~ComDispatchObject() override { dispatch_->Release(); }
  ComDispatchObject(const ComDispatchObject&) = delete;
  ComDispatchObject& operator=(const ComDispatchObject&) = delete;

  IDispatch* dispatch() const { return dispatch_; }

  HResult put(const char16_t* property, const Argument& value) override;
  HResult getObject(const char16_t* property, std::unique_ptr<DispatchObject>* value) override;
  HResult call(const char16_t* method, const std::vector<Argument>& arguments, std::u16string* text) override;

 private:
  HRESULT invoke(const char16_t* member, WORD kind, const std::vector<Argument>& arguments, VARIANT* result);

  IDispatch* dispatch_;
};

class ComAutomation final : public Automation {
 public:
  HResult initialize() override;
  void uninitialize() override;
  HResult create(const char16_t* progId, std::unique_ptr<DispatchObject>* object) override;
};

}  // namespace zq::tpm::certmint

#endif

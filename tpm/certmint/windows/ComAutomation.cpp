#include "certmint/windows/ComAutomation.h"

#include <objbase.h>
#include <oleauto.h>

#include <new>

#include "common/windows/Bstr.h"
#include "common/windows/WideText.h"

namespace zq::tpm::certmint {

namespace {

// The arguments of one Invoke, last first as IDispatch wants them. Strings are
// owned here; objects are only lent.
class InvokeArguments {
 public:
  explicit InvokeArguments(const std::vector<Argument>& arguments) : values_(arguments.size()) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
      VARIANTARG& value = values_[arguments.size() - 1 - i];
      VariantInit(&value);
      if (const auto* number = std::get_if<std::int32_t>(&arguments[i])) {
        value.vt = VT_I4;
        value.lVal = *number;
      } else if (const auto* text = std::get_if<const char16_t*>(&arguments[i])) {
        Bstr owned(*text);
        complete_ = complete_ && owned.allocated(*text);
        value.vt = VT_BSTR;
        value.bstrVal = owned.release();
      } else {
        auto* object = static_cast<ComDispatchObject*>(std::get<DispatchObject*>(arguments[i]));
        value.vt = VT_DISPATCH;
        value.pdispVal = object ? object->dispatch() : nullptr;
      }
    }
  }
  ~InvokeArguments() {
    for (VARIANTARG& value : values_)
      if (value.vt == VT_BSTR) VariantClear(&value);
  }
  InvokeArguments(const InvokeArguments&) = delete;
  InvokeArguments& operator=(const InvokeArguments&) = delete;

  bool complete() const { return complete_; }
  VARIANTARG* data() { return values_.empty() ? nullptr : values_.data(); }
  UINT count() const { return static_cast<UINT>(values_.size()); }

 private:
  std::vector<VARIANTARG> values_;
  bool complete_ = true;
};

// Invoke reports a failing member as DISP_E_EXCEPTION; the member's own code
// is in the exception information, and that is the code worth reporting.
HRESULT memberCode(HRESULT hr, EXCEPINFO& exception) {
  if (hr == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    if (FAILED(exception.scode)) hr = exception.scode;
  }
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

}  // namespace

HRESULT ComDispatchObject::invoke(const char16_t* member, WORD kind, const std::vector<Argument>& arguments,
                                  VARIANT* result) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(asWide(member))};
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;

  InvokeArguments values(arguments);
  if (!values.complete()) return E_OUTOFMEMORY;
  DISPID propertyPut = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{values.data(), nullptr, values.count(), 0};
  if (kind == DISPATCH_PROPERTYPUT) {
    parameters.rgdispidNamedArgs = &propertyPut;
    parameters.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, &exception, nullptr);
  return memberCode(hr, exception);
}

HResult ComDispatchObject::put(const char16_t* property, const Argument& value) {
  return invoke(property, DISPATCH_PROPERTYPUT, {value}, nullptr);
}

HResult ComDispatchObject::getObject(const char16_t* property, std::unique_ptr<DispatchObject>* value) {
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = invoke(property, DISPATCH_PROPERTYGET, {}, &result);
  if (FAILED(hr)) return hr;
  if (result.vt != VT_DISPATCH || !result.pdispVal) {
    VariantClear(&result);
    return DISP_E_TYPEMISMATCH;
  }
  value->reset(new (std::nothrow) ComDispatchObject(result.pdispVal));
  if (!*value) {
    VariantClear(&result);
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HResult ComDispatchObject::call(const char16_t* method, const std::vector<Argument>& arguments,
                                std::u16string* text) {
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = invoke(method, DISPATCH_METHOD, arguments, &result);
  if (SUCCEEDED(hr) && text) {
    if (result.vt == VT_BSTR && result.bstrVal)
      *text = fromWide(result.bstrVal, SysStringLen(result.bstrVal));
    else
      hr = DISP_E_TYPEMISMATCH;
  }
  VariantClear(&result);
  return hr;
}

HResult ComAutomation::initialize() { return CoInitializeEx(nullptr, COINIT_MULTITHREADED); }

void ComAutomation::uninitialize() { CoUninitialize(); }

HResult ComAutomation::create(const char16_t* progId, std::unique_ptr<DispatchObject>* object) {
  CLSID classId;
  HRESULT hr = CLSIDFromProgID(asWide(progId), &classId);
  if (FAILED(hr)) return hr;
  IDispatch* dispatch = nullptr;
  hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  if (FAILED(hr)) return hr;
  object->reset(new (std::nothrow) ComDispatchObject(dispatch));
  if (!*object) {
    dispatch->Release();
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace zq::tpm::certmint

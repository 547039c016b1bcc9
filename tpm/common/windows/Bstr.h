// An owned BSTR: COM methods that take a BSTR get a real one, with its length
// prefix, never a bare wide literal.
#ifndef ZQ_TPM_BSTR_H
#define ZQ_TPM_BSTR_H

#include <oleauto.h>

#include "common/windows/WideText.h"

namespace zq::tpm {

class Bstr {
 public:
  // A null text stays a null BSTR, which COM reads as the empty string.
  explicit Bstr(const char16_t* text) : value_(text ? SysAllocString(asWide(text)) : nullptr) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  BSTR get() const { return value_; }
  // False when a non-null text could not be allocated.
  bool allocated(const char16_t* text) const { return value_ != nullptr || text == nullptr; }
  // Gives the string up to a VARIANT that frees it.
  BSTR release() {
    BSTR value = value_;
    value_ = nullptr;
    return value;
  }

 private:
  BSTR value_;
};

}  // namespace zq::tpm

#endif

// The technical detail of a failed operation, which follows the Polish text
// of the exception. Only the first failure is kept: a clean-up that fails
// after it does not hide what went wrong.
#ifndef ZQ_TPM_CERTMINT_FAILURE_DETAIL_H
#define ZQ_TPM_CERTMINT_FAILURE_DETAIL_H

#include <cstdint>
#include <string>

namespace zq::tpm::certmint {

class FailureDetail {
 public:
  // Each records its text unless a failure is already recorded, and answers false.
  // format holds one "%X" for the code.
  bool fail(const char* format, std::uint32_t code);
  bool fail(const char* text);

  bool empty() const { return text_.empty(); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace zq::tpm::certmint

#endif

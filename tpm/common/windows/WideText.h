// The portable code keeps UTF-16 text as char16_t; Windows spells the same
// code units wchar_t. Only the Windows implementations include this.
#ifndef ZQ_TPM_WIDE_TEXT_H
#define ZQ_TPM_WIDE_TEXT_H

#include <string>

namespace zq::tpm {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 code units");

inline const wchar_t* asWide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

inline std::u16string fromWide(const wchar_t* text, std::size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace zq::tpm

#endif

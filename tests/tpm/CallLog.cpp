#include "CallLog.h"

#include <cstdio>

namespace zq::tpm::testing {

void CallLog::failAt(const std::string& name, std::int32_t code, int nth) { failures_[{name, nth}] = code; }

std::int32_t CallLog::record(const std::string& name, const std::string& detail) {
  calls_.push_back(detail.empty() ? name : name + " " + detail);
  const auto failure = failures_.find({name, ++counts_[name]});
  if (failure == failures_.end()) return 0;
  if (firstFailure_ < 0) firstFailure_ = static_cast<int>(calls_.size()) - 1;
  return failure->second;
}

void CallLog::clear() { *this = CallLog(); }

std::string utf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size())
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string utf8(const char16_t* text) { return text ? utf8(std::u16string(text)) : "(null)"; }

std::string hex(std::uint32_t value) {
  char text[12];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

}  // namespace zq::tpm::testing

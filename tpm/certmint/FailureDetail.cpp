#include "certmint/FailureDetail.h"

#include <cstdio>

namespace zq::tpm::certmint {

bool FailureDetail::fail(const char* format, std::uint32_t code) {
  if (!text_.empty()) return false;
  char line[128];
  std::snprintf(line, sizeof line, format, static_cast<unsigned>(code));
  text_ = line;
  return false;
}

bool FailureDetail::fail(const char* text) {
  if (text_.empty()) text_ = text;
  return false;
}

}  // namespace zq::tpm::certmint

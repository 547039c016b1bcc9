#include "common/ConsoleReport.h"

#include <cstdint>
#include <cstdio>

namespace zq::tpm {

bool reportFailure(std::ostream& console, const char* message, HResult code) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(static_cast<std::uint32_t>(code)));
  console << message << hex << std::endl;
  return false;
}

}  // namespace zq::tpm

#include "core/DateTime.h"

#include <ctime>

namespace zq::app::utils {

namespace {

std::string formatNow(const char* format) {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) {
    return std::string();
  }
  char buffer[80] = {0};
  if (std::strftime(buffer, sizeof buffer, format, local) == 0) {
    return std::string();
  }
  return std::string(buffer);
}

}  // namespace

std::string getCurrentDate() { return formatNow("%d.%m.%Y"); }

std::string getCurrentTime() { return formatNow("%H:%M:%S"); }

}  // namespace zq::app::utils

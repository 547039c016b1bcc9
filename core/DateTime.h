// The current local date and time, as printed on reports.
#pragma once

#include <string>

namespace zq::app::utils {

// The local date as "%d.%m.%Y", e.g. 08.12.2026.
std::string getCurrentDate();
// The local time as "%H:%M:%S", e.g. 23:05:09.
std::string getCurrentTime();

}  // namespace zq::app::utils

// The exported functions return codes, never exceptions: a C host (or the
// Java binding) has no way to catch one, and an exception leaving the library
// would end the host process.
#pragma once

#include <exception>

#include "core/zumbra_log.h"

namespace zq::app::utils {

// Runs body; an exception becomes onFailure once failed has reported it,
// with the std::exception caught (NULL for anything else thrown). failed
// must not throw: it runs where nothing catches.
template <typename R, typename Body, typename Failed>
R guardExportReporting(R onFailure, Body&& body, Failed&& failed) noexcept {
  try {
    return body();
  } catch (const std::exception& e) {
    failed(&e);
  } catch (...) {
    failed(nullptr);
  }
  return onFailure;
}

// The business error line of the exported functions that have no line of
// their own for a failure.
inline void logExportFailure(const char* function, const std::exception* e) noexcept {
  if (e != nullptr) {
    logBusError("%s failed: %s", function, e->what());
  } else {
    logBusError("%s failed: unexpected exception", function);
  }
}

// Runs body; an exception becomes onFailure, with a business error line
// naming the function.
template <typename R, typename Body>
R guardExport(const char* function, R onFailure, Body&& body) noexcept {
  return guardExportReporting(onFailure, body,
                              [function](const std::exception* e) { logExportFailure(function, e); });
}

// The same for the functions that return nothing.
template <typename Body>
void guardExportVoid(const char* function, Body&& body) noexcept {
  guardExportReporting(
      0,
      [&]() {
        body();
        return 0;
      },
      [function](const std::exception* e) { logExportFailure(function, e); });
}

}  // namespace zq::app::utils

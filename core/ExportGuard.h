// The exported functions return codes, never exceptions: a C host (or the
// Java binding) has no way to catch one, and an exception leaving the library
// would end the host process.
#pragma once

#include <exception>

#include "core/zumbra_log.h"

namespace zq::app::utils {

// Runs body; an exception becomes onFailure, with a business error line
// naming the function.
template <typename R, typename Body>
R guardExport(const char* function, R onFailure, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::exception& e) {
    logBusError("%s failed: %s", function, e.what());
  } catch (...) {
    logBusError("%s failed: unexpected exception", function);
  }
  return onFailure;
}

// The same for the functions that return nothing.
template <typename Body>
void guardExportVoid(const char* function, Body&& body) noexcept {
  try {
    body();
  } catch (const std::exception& e) {
    logBusError("%s failed: %s", function, e.what());
  } catch (...) {
    logBusError("%s failed: unexpected exception", function);
  }
}

}  // namespace zq::app::utils

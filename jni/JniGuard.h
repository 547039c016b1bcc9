// Every native method answers the virtual machine with a value: a C++
// exception unwinding into a Java frame would end the virtual machine. Each
// entry point runs its body under the library's export guard and answers as
// a failed call of its kind when the body throws.
#pragma once

#include <jni.h>

#include <type_traits>
#include <utility>

#include "core/ExportGuard.h"
#include "jni/HandleGuard.h"
#include "jni/JniFrame.h"

namespace zq::app::jni {

// The answer of a native method whose body threw: -1 for an int, as for an
// argument that cannot be had; null for an object; 0 or false otherwise.
template <typename R>
constexpr R failedAnswer() {
  if constexpr (std::is_same_v<R, jint>) {
    return kArgumentUnavailable;
  } else {
    return R{};
  }
}

// Runs the body of the native method `method` (its __func__), which logs the
// failure under that name.
template <typename Body>
auto guardJni(const char* method, Body&& body) noexcept -> decltype(body()) {
  using Answer = decltype(body());
  if constexpr (std::is_void_v<Answer>) {
    utils::guardExportVoid(method, std::forward<Body>(body));
  } else {
    return utils::guardExport(method, failedAnswer<Answer>(), std::forward<Body>(body));
  }
}

// guardJni for a method on the terminal context: body(EcrCtx_s*) gets the
// context held for the call (HandleGuard.h), or NULL.
template <typename Body>
auto guardTerminal(const char* method, Body&& body) noexcept
    -> decltype(body(static_cast<EcrCtx_s*>(nullptr))) {
  return guardJni(method, [&] {
    const HandleUse terminal(Handle::TERMINAL);
    return body(terminal.terminal());
  });
}

// guardJni for a method on the printout context: body(PrintoutCtx_s*).
template <typename Body>
auto guardPrintout(const char* method, Body&& body) noexcept
    -> decltype(body(static_cast<PrintoutCtx_s*>(nullptr))) {
  return guardJni(method, [&] {
    const HandleUse printout(Handle::PRINTOUT);
    return body(printout.printout());
  });
}

// guardJni for a printout of the terminal context's data: both held,
// body(PrintoutCtx_s*, EcrCtx_s*).
template <typename Body>
auto guardPrintoutOfTerminal(const char* method, Body&& body) noexcept
    -> decltype(body(static_cast<PrintoutCtx_s*>(nullptr), static_cast<EcrCtx_s*>(nullptr))) {
  return guardJni(method, [&] {
    const HandleUse printout(Handle::PRINTOUT);
    const HandleUse terminal(Handle::TERMINAL);
    return body(printout.printout(), terminal.terminal());
  });
}

}  // namespace zq::app::jni

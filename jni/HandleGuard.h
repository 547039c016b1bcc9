// The guard around the binding's two process-wide handles, ecrCtx and
// printoutCtx. Java threads call the native methods in any order: a call on
// one thread must never meet a context that a cleanup on another thread has
// freed between reading the handle and using it. The library's own claims
// protect a context that is alive when it is claimed; this guard keeps the
// handle itself alive for the whole call.
//
// Every native method that works on a handle holds it for its call
// (HandleUse), shared with the other threads' calls. The four lifecycle
// methods replace it (HandleReplacement) only when no call holds it, and
// refuse otherwise: they never wait, so a lifecycle call from a callback of
// a running call (which holds the handle on the same thread) is refused
// instead of waiting for itself. A call never waits either: while another
// thread replaces the handle, it goes on without it, as a call before
// initialize does.
#pragma once

#include <cstddef>

#include "core/NonAssignable.h"
#include "jni/JniFrame.h"

namespace zq::app::jni {

enum class Handle : std::size_t { TERMINAL = 0, PRINTOUT = 1 };

// One handle held for one call of a native method.
class HandleUse : public utils::NonAssignable {
 public:
  explicit HandleUse(Handle handle) noexcept;
  ~HandleUse();
  HandleUse(const HandleUse&) = delete;

  // The handle for this call: alive until the use ends, or NULL when there
  // is none or another thread is replacing it. A call raised from a callback
  // of a lifecycle call on this thread sees the handle as that call leaves
  // it: the library refuses a context its clean-up still claims.
  EcrCtx_s* terminal() const;
  PrintoutCtx_s* printout() const;

 private:
  const Handle handle_;
  bool held_ = false;
  // Whether this use is the outermost of its thread, the one counted.
  bool counted_ = false;
};

// initialize, cleanup, initializePrintout or cleanupPrintout: the handle to
// itself, or refused while a call of any thread holds it.
class HandleReplacement : public utils::NonAssignable {
 public:
  explicit HandleReplacement(Handle handle) noexcept;
  ~HandleReplacement();
  HandleReplacement(const HandleReplacement&) = delete;

  // True when refused, after logging the library's busy line for the
  // handle's context.
  bool refused() const;

 private:
  const Handle handle_;
  bool held_ = false;
};

}  // namespace zq::app::jni

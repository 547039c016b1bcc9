// The terminal context behind every terminal function, the guard they run
// first, the claim that keeps two calls from using one context at once, and
// the mapping of protocol results onto their return codes.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "link/Link.h"
#include "protocol/ProtocolInterface.h"
#include "protocol/Result.h"
#include "zumbra_ecr.h"

namespace zq::app::api {

// How a call uses the context while it runs.
enum class CtxUse {
  // Setters and readers: also from a callback of a command running on the
  // same thread, which is how a host looks at data mid-transaction.
  SHARED,
  // Commands: they hand the link and the protocol to a flow that runs the
  // host's callbacks, so nothing else may start on the context meanwhile.
  COMMAND,
  // The calls that replace, close or destroy the link or the protocol: only
  // on a context nothing else is using, and nothing may run inside them.
  REPLACE,
  // A printout building from the context: it reads it through the readers
  // and may run the one command it needs itself (see PrintoutOwnCommand);
  // nothing may replace or destroy the context under it. A printout started
  // inside another call on the context only reads.
  PRINTOUT,
};

}  // namespace zq::app::api

struct EcrCtx_s {
  EcrCtx_s() = default;
  EcrCtx_s(const EcrCtx_s&) = delete;
  EcrCtx_s& operator=(const EcrCtx_s&) = delete;
  // Members go in reverse order: the last result, the protocol, then the link
  // (which says goodbye to the terminal and closes its transport), and the
  // claim last, so that a call from a log callback of that goodbye still
  // finds the context held by the clean-up and is refused.
  virtual ~EcrCtx_s() = default;

  // Both a link and a protocol are set; otherwise logs why not.
  bool contextInitialized() const;
  void logInitializationStatus() const;

  // The thread inside a call on this context, if any (see EcrCtxClaim). The
  // other fields belong to that thread alone.
  std::atomic<std::thread::id> user{std::thread::id()};
  unsigned nesting = 0;
  zq::app::api::CtxUse heldFor = zq::app::api::CtxUse::SHARED;
  // Set while the printout holding the context starts its own command.
  bool printoutCommand = false;

  std::unique_ptr<zq::app::link::Link> link;
  std::unique_ptr<zq::app::protocols::ProtocolInterface> protocol;
  zq::app::protocols::Result lastResult;
};

namespace zq::app::api {

// Claims a context for the length of one call. A context serves one thread
// at a time: a call from another thread while it is claimed is refused, and
// so is a nested call that could pull the link or the protocol from under
// the call that runs (a second command, a replacement). The claim is one
// atomic owner, taken without waiting, so a refused call never blocks and
// no lock is held around a transaction. A NULL context needs no claim.
//
// A function claims before its first log line: the host's log callback may
// call back into the library on that line, and must find the context held.
// The claim itself logs nothing, so that the first line stays the first
// thing the host sees; a refusal is logged when the function asks refused().
class EcrCtxClaim {
 public:
  EcrCtxClaim(EcrCtx_s* ctx, CtxUse use) noexcept;
  ~EcrCtxClaim();
  EcrCtxClaim(const EcrCtxClaim&) = delete;
  EcrCtxClaim& operator=(const EcrCtxClaim&) = delete;

  // True when refused, after logging "ECR context busy, call refused".
  bool refused() const;
  // The context claimed (NULL stays NULL).
  EcrCtx_s* context() const { return ctx_; }
  // The context is about to be destroyed under its claim: nothing to release.
  void forget() { held_ = false; }

 private:
  EcrCtx_s* const ctx_;
  bool granted_ = true;
  bool held_ = false;
};

// Opens the way for the one command a printout runs itself (the terminal's
// general information, when its identity is missing): while this object
// lives, a command on a context that a printout of this thread holds is
// admitted once. Without it a command inside a printout is refused, as a
// second command from a callback always is. Does nothing on a context the
// thread does not hold for a printout.
class PrintoutOwnCommand {
 public:
  explicit PrintoutOwnCommand(EcrCtx_s* ctx) noexcept;
  ~PrintoutOwnCommand();
  PrintoutOwnCommand(const PrintoutOwnCommand&) = delete;
  PrintoutOwnCommand& operator=(const PrintoutOwnCommand&) = delete;

 private:
  EcrCtx_s* ctx_ = nullptr;
};

}  // namespace zq::app::api

// Starts the loggers if needed; false (without a line of its own) for a NULL
// context or loggers that are down, else the context's contextInitialized.
bool checkContext(EcrCtx_s* ctx);

// Logs the outcome and maps it: 0 -> ECR_OK, 1 -> ECR_COMM_ERROR,
// 2 -> ECR_NO_DATA, 9 -> ECR_EMPTY, anything else -> ECR_ERROR.
ecr_status resultToStatus(const zq::app::protocols::Result& result);

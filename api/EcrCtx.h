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
};

}  // namespace zq::app::api

struct EcrCtx_s {
  EcrCtx_s() = default;
  EcrCtx_s(const EcrCtx_s&) = delete;
  EcrCtx_s& operator=(const EcrCtx_s&) = delete;
  // Members go in reverse order: the last result, the protocol, then the link
  // (which says goodbye to the terminal and closes its transport).
  virtual ~EcrCtx_s() = default;

  // Both a link and a protocol are set; otherwise logs why not.
  bool contextInitialized() const;
  void logInitializationStatus() const;

  std::unique_ptr<zq::app::link::Link> link;
  std::unique_ptr<zq::app::protocols::ProtocolInterface> protocol;
  zq::app::protocols::Result lastResult;

  // The thread inside a call on this context, if any (see EcrCtxClaim). The
  // other two fields belong to that thread alone.
  std::atomic<std::thread::id> user{std::thread::id()};
  unsigned nesting = 0;
  zq::app::api::CtxUse heldFor = zq::app::api::CtxUse::SHARED;
};

namespace zq::app::api {

// Claims a context for the length of one call. A context serves one thread
// at a time: a call from another thread while it is claimed is refused, and
// so is a nested call that could pull the link or the protocol from under
// the call that runs (a second command, a replacement). The claim is one
// atomic owner, taken without waiting, so a refused call never blocks and
// no lock is held around a transaction. A NULL context needs no claim.
class EcrCtxClaim {
 public:
  EcrCtxClaim(EcrCtx_s* ctx, CtxUse use);
  ~EcrCtxClaim();
  EcrCtxClaim(const EcrCtxClaim&) = delete;
  EcrCtxClaim& operator=(const EcrCtxClaim&) = delete;

  // False when refused; the refusal has been logged.
  bool granted() const { return granted_; }
  // The context is about to be destroyed under its claim: nothing to release.
  void forget() { ctx_ = nullptr; }

 private:
  EcrCtx_s* ctx_;
  bool granted_ = true;
};

}  // namespace zq::app::api

// Starts the loggers if needed; false (without a line of its own) for a NULL
// context or loggers that are down, else the context's contextInitialized.
bool checkContext(EcrCtx_s* ctx);

// Logs the outcome and maps it: 0 -> ECR_OK, 1 -> ECR_COMM_ERROR,
// 2 -> ECR_NO_DATA, 9 -> ECR_EMPTY, anything else -> ECR_ERROR.
ecr_status resultToStatus(const zq::app::protocols::Result& result);

#include "api/EcrCtx.h"

#include "api/LoggerManager.h"
#include "core/zumbra_log.h"

bool EcrCtx_s::contextInitialized() const {
  if (link && protocol) return true;
  logBusError("ECR context not initialized");
  logInitializationStatus();
  return false;
}

void EcrCtx_s::logInitializationStatus() const {
  const char* linkStatus = !link ? "uninitialized" : (link->isOpen() ? "opened" : "closed");
  logBusDebug("Communication link status: %s", linkStatus);
  logBusDebug("Protocol status: %s", protocol ? "initialized" : "uninitialized");
}

namespace zq::app::api {

namespace {

// What may run inside a call that this thread already makes on the context:
// setters and readers (a printout started there only reads), and the one
// command a printout opened the way for; never anything inside a
// replacement.
bool admitsNested(EcrCtx_s& ctx, CtxUse use) {
  if (ctx.heldFor == CtxUse::REPLACE) return false;
  switch (use) {
    case CtxUse::SHARED:
    case CtxUse::PRINTOUT:
      return true;
    case CtxUse::COMMAND:
      if (!ctx.printoutCommand) return false;
      // Once: a command from a callback of that command meets the usual rule.
      ctx.printoutCommand = false;
      return true;
    case CtxUse::REPLACE:
      break;
  }
  return false;
}

}  // namespace

EcrCtxClaim::EcrCtxClaim(EcrCtx_s* ctx, CtxUse use) noexcept : ctx_(ctx) {
  if (ctx_ == nullptr) return;
  const std::thread::id self = std::this_thread::get_id();
  std::thread::id holder;
  if (ctx_->user.compare_exchange_strong(holder, self, std::memory_order_acquire)) {
    ctx_->nesting = 1;
    ctx_->heldFor = use;
    ctx_->printoutCommand = false;
    held_ = true;
    return;
  }
  if (holder == self && admitsNested(*ctx_, use)) {
    ++ctx_->nesting;
    held_ = true;
    return;
  }
  granted_ = false;
}

EcrCtxClaim::~EcrCtxClaim() {
  if (held_ && --ctx_->nesting == 0) ctx_->user.store(std::thread::id(), std::memory_order_release);
}

bool EcrCtxClaim::refused() const {
  if (granted_) return false;
  logBusError("ECR context busy, call refused");
  return true;
}

PrintoutOwnCommand::PrintoutOwnCommand(EcrCtx_s* ctx) noexcept {
  if (ctx == nullptr || ctx->user.load(std::memory_order_relaxed) != std::this_thread::get_id() ||
      ctx->heldFor != CtxUse::PRINTOUT)
    return;
  ctx_ = ctx;
  ctx_->printoutCommand = true;
}

PrintoutOwnCommand::~PrintoutOwnCommand() {
  if (ctx_ != nullptr) ctx_->printoutCommand = false;
}

}  // namespace zq::app::api

bool checkContext(EcrCtx_s* ctx) {
  const bool loggersUp = zq::app::logging::LoggerManager::getInstance().ensureStarted();
  if (ctx == nullptr || !loggersUp) return false;
  return ctx->contextInitialized();
}

ecr_status resultToStatus(const zq::app::protocols::Result& result) {
  using namespace zq::app::utils;
  const EcrTransactionResult status = result.getStatus();
  if (status == RESULT_OK) {
    logBusTrace("Command executed successfully");
    return ECR_OK;
  }
  logBusError("Flow error: %u, reported reason: %s", static_cast<unsigned>(status),
              result.getMessage().c_str());
  switch (status) {
    case RESULT_COMM_ERROR:
      return ECR_COMM_ERROR;
    case RESULT_ARGUMENT_MISSING:
      return ECR_NO_DATA;
    case RESULT_NO_DATA:
      return ECR_EMPTY;
    default:
      return ECR_ERROR;
  }
}

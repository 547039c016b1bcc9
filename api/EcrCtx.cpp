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

EcrCtxClaim::EcrCtxClaim(EcrCtx_s* ctx, CtxUse use) : ctx_(ctx) {
  if (ctx_ == nullptr) return;
  const std::thread::id self = std::this_thread::get_id();
  std::thread::id holder;
  if (ctx_->user.compare_exchange_strong(holder, self, std::memory_order_acquire)) {
    ctx_->nesting = 1;
    ctx_->heldFor = use;
    return;
  }
  // A setter or reader from a callback of this thread's own command (or
  // inside another setter or reader) runs; anything else would change the
  // context under the call that holds it.
  if (holder == self && use == CtxUse::SHARED && ctx_->heldFor != CtxUse::REPLACE) {
    ++ctx_->nesting;
    return;
  }
  logBusError("ECR context busy, call refused");
  granted_ = false;
  ctx_ = nullptr;
}

EcrCtxClaim::~EcrCtxClaim() {
  if (ctx_ != nullptr && --ctx_->nesting == 0) ctx_->user.store(std::thread::id(), std::memory_order_release);
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

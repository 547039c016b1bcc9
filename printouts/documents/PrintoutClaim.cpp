#include "printouts/documents/PrintoutClaim.h"

#include <atomic>
#include <thread>

namespace zq::app::printouts {

namespace {

// The thread that builds a printout now, if any. Made on first use, as the
// library's process-wide objects are (nothing of it runs at load).
std::atomic<std::thread::id>& machineryUser() {
  static std::atomic<std::thread::id> user{std::thread::id()};
  return user;
}

}  // namespace

PrintoutClaim::PrintoutClaim(PrintoutCtx_s* ctx, EcrCtx_s* ecr) noexcept {
  if (ctx == nullptr || ecr == nullptr) return;
  std::thread::id nobody;
  machineryHeld_ = machineryUser().compare_exchange_strong(nobody, std::this_thread::get_id(),
                                                         std::memory_order_acquire);
  if (!machineryHeld_) {
    machineryRefused_ = true;
    return;
  }
  printout_.emplace(ctx);
  if (!printout_->granted()) return;
  terminal_.emplace(ecr, api::CtxUse::PRINTOUT);
}

PrintoutClaim::~PrintoutClaim() {
  // The contexts first, then the machinery that was claimed before them.
  terminal_.reset();
  printout_.reset();
  if (machineryHeld_) machineryUser().store(std::thread::id(), std::memory_order_release);
}

bool PrintoutClaim::refused() const {
  if (machineryRefused_) {
    logPrintoutBusy();
    return true;
  }
  if (printout_ && printout_->refused()) return true;
  return terminal_ && terminal_->refused();
}

}  // namespace zq::app::printouts

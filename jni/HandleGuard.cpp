#include "jni/HandleGuard.h"

#include <atomic>

#include "api/LoggerManager.h"
#include "core/zumbra_log.h"

namespace zq::app::jni {

namespace {

constexpr std::size_t kHandles = 2;
// The state of a handle: the number of threads whose calls hold it, or
// kReplacing while a lifecycle call has it to itself.
constexpr int kReplacing = -1;
std::atomic<int> handleState[kHandles];

// This thread's own share of each handle: calls inside one another (a
// callback calling a native method) are counted once in the shared state, so
// that the outermost call's end releases the thread's hold.
thread_local unsigned usesHere[kHandles] = {};
thread_local bool replacingHere[kHandles] = {};

std::size_t slot(Handle handle) { return static_cast<std::size_t>(handle); }

}  // namespace

HandleUse::HandleUse(Handle handle) noexcept : handle_(handle) {
  const std::size_t i = slot(handle_);
  if (replacingHere[i] || usesHere[i] > 0) {
    // Inside a call of this thread that already holds or replaces the handle.
    held_ = true;
    return;
  }
  int state = handleState[i].load();
  while (state != kReplacing) {
    if (handleState[i].compare_exchange_weak(state, state + 1)) {
      held_ = true;
      counted_ = true;
      ++usesHere[i];
      return;
    }
  }
}

HandleUse::~HandleUse() {
  if (!counted_) return;
  const std::size_t i = slot(handle_);
  if (--usesHere[i] == 0) handleState[i].fetch_sub(1);
}

EcrCtx_s* HandleUse::terminal() const {
  return held_ && handle_ == Handle::TERMINAL ? ecrCtx : nullptr;
}

PrintoutCtx_s* HandleUse::printout() const {
  return held_ && handle_ == Handle::PRINTOUT ? printoutCtx : nullptr;
}

HandleReplacement::HandleReplacement(Handle handle) noexcept : handle_(handle) {
  const std::size_t i = slot(handle_);
  // A call of this thread holds it: a lifecycle call from its callback.
  if (replacingHere[i] || usesHere[i] > 0) return;
  int idle = 0;
  if (!handleState[i].compare_exchange_strong(idle, kReplacing)) return;
  held_ = true;
  replacingHere[i] = true;
}

HandleReplacement::~HandleReplacement() {
  if (!held_) return;
  const std::size_t i = slot(handle_);
  replacingHere[i] = false;
  handleState[i].store(0);
}

bool HandleReplacement::refused() const {
  if (held_) return false;
  // The lines the library's own clean-ups give for a context in use. A
  // refused initialize may be the process's first terminal call: the loggers
  // start first, as ecr_initialize starts them, so that the host sees the line.
  if (handle_ == Handle::TERMINAL) {
    logging::LoggerManager::getInstance().ensureStarted();
    logBusError("ECR context busy, call refused");
  } else {
    logBusError("Printout context busy, call refused");
  }
  return true;
}

}  // namespace zq::app::jni

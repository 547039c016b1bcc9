// The loggers of the library start on the first terminal call that needs
// them and stay up until the process ends.
#pragma once

#include <atomic>

namespace zq::app::logging {

class LoggerManager {
 public:
  // Created on first use; its destructor at process exit stops the loggers.
  static LoggerManager& getInstance();

  // Starts the loggers if they are down (and tries again on every call while
  // starting fails), logging the version line after each attempt. True when
  // they are up. Threads that arrive together make one start and one
  // version line between them.
  bool ensureStarted();
  bool isStarted() const { return started.load(std::memory_order_acquire); }

  LoggerManager(const LoggerManager&) = delete;
  LoggerManager& operator=(const LoggerManager&) = delete;

 private:
  LoggerManager() = default;
  ~LoggerManager();

  std::atomic<bool> started{false};
};

}  // namespace zq::app::logging

#include "api/LoggerManager.h"

#include "api/EcrVersion.h"
#include "core/Logger.h"
#include "core/zumbra_log.h"

namespace zq::app::logging {

LoggerManager& LoggerManager::getInstance() {
  // The library's one process-wide object that is destroyed at exit, on
  // purpose: its destructor closes the loggers, so that log4c flushes and
  // closes the log files. Every other one is left alive, so that a host can
  // call the library from its atexit handlers and the destructors of its
  // globals; after this one every log call does nothing.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wexit-time-destructors"
#endif
  static LoggerManager instance;
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
  return instance;
}

LoggerManager::~LoggerManager() { closeLoggers(); }

bool LoggerManager::ensureStarted() {
  if (started.load(std::memory_order_acquire)) return true;
  // initializeLoggers serialises the start itself: of threads that arrive
  // together one starts log4c and the others find it running. Only the one
  // that raises the flag writes the version line.
  const bool up = initializeLoggers();
  bool wasStarted = false;
  if (up && !started.compare_exchange_strong(wasStarted, true, std::memory_order_acq_rel)) return true;
  // Written whether or not the start succeeded: a file appender that did come
  // up still tells which library version failed.
  logDevInfo("Logging started, library version: %d.%d.%d.%d", utils::kVersionMajor, utils::kVersionMinor,
             utils::kVersionPatch, utils::kVersionBuild);
  logBusInfo("Logging started, library version: %d.%d.%d.%d", utils::kVersionMajor, utils::kVersionMinor,
             utils::kVersionPatch, utils::kVersionBuild);
  logCommInfo("Logging started, library version: %d.%d.%d.%d", utils::kVersionMajor,
              utils::kVersionMinor, utils::kVersionPatch, utils::kVersionBuild);
  return up;
}

}  // namespace zq::app::logging

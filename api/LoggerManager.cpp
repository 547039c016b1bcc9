#include "api/LoggerManager.h"

#include "api/EcrVersion.h"
#include "core/Logger.h"
#include "core/zumbra_log.h"

namespace zq::app::logging {

LoggerManager& LoggerManager::getInstance() {
  static LoggerManager instance;
  return instance;
}

LoggerManager::~LoggerManager() { closeLoggers(); }

bool LoggerManager::ensureStarted() {
  if (started) return true;
  started = initializeLoggers();
  // Written whether or not the start succeeded: a file appender that did come
  // up still tells which library version failed.
  logDevInfo("Logging started, library version: %d.%d.%d.%d", utils::kVersionMajor, utils::kVersionMinor,
             utils::kVersionPatch, utils::kVersionBuild);
  logBusInfo("Logging started, library version: %d.%d.%d.%d", utils::kVersionMajor, utils::kVersionMinor,
             utils::kVersionPatch, utils::kVersionBuild);
  logCommInfo("Logging started, library version: %d.%d.%d.%d", utils::kVersionMajor,
              utils::kVersionMinor, utils::kVersionPatch, utils::kVersionBuild);
  return started;
}

}  // namespace zq::app::logging

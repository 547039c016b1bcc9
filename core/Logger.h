// Start and stop of the logging facade; the log functions themselves are the
// exported C functions of zumbra_log.h.
#pragma once

#include "zumbra_log.h"

namespace zq::app::logging {

// Starts log4c (which reads its log4crc now) and attaches the three inner
// appenders that forward lines to the host. False when log4c refuses to start.
bool initializeLoggers();

// Stops log4c; afterwards every log call does nothing.
bool closeLoggers();

}  // namespace zq::app::logging

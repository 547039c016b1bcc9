// A till for the benchmark programs: one terminal context with its TCP link
// to a scripted terminal on loopback, kept for all iterations as a real till
// keeps it, with the library's pauses skipped through its replaceable sleep.
//
//   Till till;                                   // LOG4C_RCPATH: the tests' fixture unless set
//   till.setLogLevel(LogLevel::ErrorsOnly);      // what the errors-only fixture configures
//   till.load(zq::test::purchaseScript());
//   ecr_startTransaction(till.ctx());
//
// Till(port) drives a terminal of another process instead (zq_terminal_simulator
// with its script loaded beforehand), so that this process holds nothing but
// the library and its host: what a heap measurement should see.
//
// The log level is set on log4c's six categories after the library has read
// its log4crc: the same priorities as the fixtures give, so one process can
// measure both levels.
#pragma once

#include <log4c.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/Sleep.h"
#include "support/TerminalSimulator.h"
#include "zumbra_callbacks.h"
#include "zumbra_ecr.h"

namespace zq::bench {

enum class LogLevel { Trace, ErrorsOnly };

inline const char* levelName(LogLevel level) { return level == LogLevel::Trace ? "trace" : "errors-only"; }

class Till {
 public:
  Till() : terminal_(std::make_unique<zq::test::TerminalSimulator>()) { start(terminal_->port()); }
  explicit Till(uint16_t port) { start(port); }
  ~Till() {
    ecr_cleanup(&ctx_);
    zq::app::utils::registerCustomSleep(nullptr);
  }
  Till(const Till&) = delete;
  Till& operator=(const Till&) = delete;

  bool ok() const { return ok_; }
  EcrCtx_s* ctx() { return ctx_; }
  // The terminal of this process; only for a till made without a port.
  zq::test::TerminalSimulator& terminal() { return *terminal_; }

  // The terminal's script for the next operation, replacing what is left;
  // nothing for a terminal of another process, which has its script.
  void load(const std::vector<zq::test::PeerStep>& script) {
    if (!terminal_) return;
    terminal_->clearScript();
    for (const zq::test::PeerStep& step : script) terminal_->addStep(step);
  }

  static void setLogLevel(LogLevel level) {
    const int priority = level == LogLevel::Trace ? LOG4C_PRIORITY_TRACE : LOG4C_PRIORITY_ERROR;
    for (const char* name : {"developerFile", "communicationFile", "businessFile", "developerInner",
                             "communicationInner", "businessInner"}) {
      log4c_category_set_priority(log4c_category_get(name), priority);
    }
  }

 private:
  void start(uint16_t port) {
    // Without a log4crc log4c would print every line on stderr.
    setenv("LOG4C_RCPATH", ZQ_BENCH_LOG4CRC_DIR, 0);
    zq::app::utils::registerCustomSleep(ignorePause);
    // What a till registers: it takes every log line and status change, and
    // answers the purchase's prompts.
    cb_setHandleDevLog(seen);
    cb_setHandleCommLog(seen);
    cb_setHandleBusLog(seen);
    cb_setHandleStatusChange(statusSeen);
    cb_setWaitForCard(yes);
    cb_setWaitForPin(yes);
    cb_setShowPromptScreen(seen);
    cb_setWaitForCardRemoval(seen);
    ok_ = ecr_initialize(&ctx_) == ECR_OK;
    if (!ok_) return;
    ecr_setProtocol(ctx_, 0);
    ok_ = ecr_setTcpIpLink(ctx_, "127.0.0.1", port, 2000) == ECR_OK &&
          ecr_setCashRegisterId(ctx_, "1", 1) == ECR_OK;
  }

  static void ignorePause(unsigned) {}
  static bool yes(const char*) { return true; }
  static void seen(const char*) {}
  static void statusSeen(ecr_terminalStatus) {}

  std::unique_ptr<zq::test::TerminalSimulator> terminal_;
  EcrCtx_s* ctx_ = nullptr;
  bool ok_ = false;
};

}  // namespace zq::bench

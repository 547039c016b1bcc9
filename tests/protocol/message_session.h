// Shared by the message tests: the library's side of one terminal
// connection (a real TCP link to the scripted terminal on loopback, cash
// register '1'), a flow that exchanges one given message, host callbacks
// that answer from a script and record what they were asked, and the
// developer log lines of the real log4c.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/CallbacksManager.h"
#include "core/LogRecorder.h"
#include "core/Logger.h"
#include "core/Sleep.h"
#include "link/CommPlatform.h"
#include "link/Link.h"
#include "link/StxEtxLinkLayer.h"
#include "protocol/SimpleFlow.h"
#include "protocol/TalvorenCtx.h"
#include "support/TerminalSimulator.h"

namespace zq::app::protocols::testing {

using Bytes = std::vector<unsigned char>;
using zq::test::TerminalSimulator;

inline Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The host's side of the terminal's questions.
struct HostScript {
  bool yes = true;
  unsigned choice = 0;
  std::string text;
};

class RecordingCallbacks : public callbacks::CallbacksManager::Callbacks {
 public:
  RecordingCallbacks(HostScript& script, std::vector<std::string>& calls,
                     std::vector<ecr_terminalStatus>& statuses)
      : script(script), calls(calls), statuses(statuses) {}

  bool askForSignature(const std::string& prompt) override {
    calls.push_back("askForSignature(" + prompt + ")");
    return script.yes;
  }
  bool askForCopy(const std::string& prompt) override {
    calls.push_back("askForCopy(" + prompt + ")");
    return script.yes;
  }
  bool askForCurrency(unsigned& selected, const std::vector<std::string>& labels) override {
    calls.push_back("askForCurrency(" + joined(labels) + ")");
    selected = script.choice;
    return script.yes;
  }
  bool waitForSelection(unsigned& selected, const std::vector<std::string>& options,
                        const std::string& title) override {
    calls.push_back("waitForSelection(" + title + ";" + joined(options) + ")");
    selected = script.choice;
    return script.yes;
  }
  bool waitForCard(const std::string& prompt) override {
    calls.push_back("waitForCard(" + prompt + ")");
    return script.yes;
  }
  void waitForCardRemoval(const std::string& prompt) override {
    calls.push_back("waitForCardRemoval(" + prompt + ")");
  }
  bool waitForPin(const std::string& prompt) override {
    calls.push_back("waitForPin(" + prompt + ")");
    return script.yes;
  }
  void waitForUserActionNoOutput(const std::string& prompt) override {
    calls.push_back("waitForUserActionNoOutput(" + prompt + ")");
  }
  bool waitForUserActionYesNoQuestion(const std::string& prompt) override {
    calls.push_back("waitForUserActionYesNoQuestion(" + prompt + ")");
    return script.yes;
  }
  void showPrompt(const std::string& prompt) override {
    calls.push_back("showPrompt(" + prompt + ")");
  }
  void handleStatusChange(ecr_terminalStatus status) override { statuses.push_back(status); }
  std::string getCashbackAmount(const std::string& prompt, uint8_t minLength,
                                uint8_t maxLength) override {
    calls.push_back("getCashbackAmount(" + prompt + bounds(minLength, maxLength) + ")");
    return script.text;
  }
  std::string getAuthorizationCode(const std::string& prompt, uint8_t minLength,
                                   uint8_t maxLength) override {
    calls.push_back("getAuthorizationCode(" + prompt + bounds(minLength, maxLength) + ")");
    return script.text;
  }
  std::string waitForUserActionProvideData(const std::string& prompt,
                                           TalvorenAllowedCharacters allowed, uint8_t minLength,
                                           uint8_t maxLength) override {
    calls.push_back("waitForUserActionProvideData(" + prompt + "," +
                    std::to_string(static_cast<unsigned>(allowed)) +
                    bounds(minLength, maxLength) + ")");
    return script.text;
  }
  std::string waitForAmount(const std::string& prompt, uint8_t minLength,
                            uint8_t maxLength) override {
    calls.push_back("waitForAmount(" + prompt + bounds(minLength, maxLength) + ")");
    return script.text;
  }
  void handleDevLog(const std::string&) override {}
  void handleCommLog(const std::string&) override {}
  void handleBusLog(const std::string&) override {}

 private:
  static std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "|" : "") + items[i];
    return out;
  }
  static std::string bounds(uint8_t minLength, uint8_t maxLength) {
    return "," + std::to_string(minLength) + "," + std::to_string(maxLength);
  }

  HostScript& script;
  std::vector<std::string>& calls;
  std::vector<ecr_terminalStatus>& statuses;
};

// Exchanges the one message it is given, without pause.
class OneMessageFlow : public SimpleFlow {
 public:
  OneMessageFlow(MaintenanceSubCtx& ctx, std::function<TalvorenMessageInterface*()> make)
      : SimpleFlow(ctx, TalvorenCommand::NO_DELAY), make(std::move(make)) {}
  TalvorenMessageInterface* prepareMessage() override { return make(); }

 private:
  std::function<TalvorenMessageInterface*()> make;
};

inline void ignorePause(unsigned) {}

constexpr int kErrorPriority = 300;
constexpr int kWarnPriority = 400;

class Session {
 public:
  explicit Session(const TerminalSimulator& terminal)
      : link(new link::Link(new link::StxEtxLrcNoAckLinkLayer(),
                            comm::makeTcpClient("127.0.0.1", terminal.port(), 300).release(), 65536)) {
    utils::registerCustomSleep(ignorePause);
    ctx.getApiCtx().setCashRegisterNumber('1');
    callbacks::CallbacksManager::getInstance().setup(
        new RecordingCallbacks(script, calls, statuses));
    EXPECT_TRUE(link->open().isOk());
    zq::test::journal().clear();
  }
  ~Session() {
    callbacks::CallbacksManager::getInstance().setup(nullptr);
    utils::registerCustomSleep(nullptr);
  }

  Result exchange(std::function<TalvorenMessageInterface*()> make) {
    OneMessageFlow flow(ctx.getMaintenanceCtx(), std::move(make));
    return flow.setupAndExecute(*link);
  }

  MaintenanceSubCtx& maintenance() { return ctx.getMaintenanceCtx(); }
  TransactionSubCtx& transaction() { return ctx.getTransactionCtx(); }
  ReportSubCtx& report() { return ctx.getReportCtx(); }
  ApiSubCtx& api() { return ctx.getApiCtx(); }

  // The stored bytes of a tag, or "<absent>".
  std::string tag(tlv::TlvTag tag) const {
    utils::Optional<Bytes> value = const_cast<TalvorenCtx&>(ctx).getApiCtx().getTagValue(tag);
    return value.isPresent() ? std::string(value->begin(), value->end()) : "<absent>";
  }
  Bytes tagBytes(tlv::TlvTag tag) const {
    utils::Optional<Bytes> value = const_cast<TalvorenCtx&>(ctx).getApiCtx().getTagValue(tag);
    return value.isPresent() ? *value : Bytes{};
  }

  TalvorenCtx ctx;
  std::unique_ptr<link::Link> link;
  HostScript script;
  std::vector<std::string> calls;
  std::vector<ecr_terminalStatus> statuses;
};

// Starts the loggers once for the process and records the developer lines.
inline void recordDeveloperLog() {
  static bool started = false;
  if (!started) {
    ASSERT_TRUE(logging::initializeLoggers());
    zq::test::recordCategory("developerFile");
    started = true;
  }
  zq::test::journal().clear();
}

// The developer lines logged at a priority since the last clear.
inline std::vector<std::string> developerLines(int priority) {
  std::vector<std::string> texts;
  for (const zq::test::LoggedLine& line : zq::test::journal())
    if (line.source == "developerFile" && line.priority == priority) texts.push_back(line.text);
  return texts;
}

inline bool logged(int priority, const std::string& text) {
  for (const std::string& line : developerLines(priority))
    if (line == text) return true;
  return false;
}

}  // namespace zq::app::protocols::testing

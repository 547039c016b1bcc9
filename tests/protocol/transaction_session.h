// Shared by the transaction tests: the protocol object on a real TCP link
// to the scripted terminal (cash register '1'), the recording host
// callbacks, the pauses recorded instead of slept, and text builders of
// the requests and replies.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/CallbacksManager.h"
#include "core/Sleep.h"
#include "core/TagNames.h"
#include "link/CommPlatform.h"
#include "link/Link.h"
#include "link/StxEtxLinkLayer.h"
#include "protocol/TalvorenProtocol.h"
#include "protocol/message_session.h"
#include "support/PurchaseScript.h"
#include "support/TerminalSimulator.h"

namespace zq::app::protocols {

// Results read as status and text in failure messages.
inline void PrintTo(const Result& result, std::ostream* out) {
  *out << "Result(" << static_cast<unsigned>(result.getStatus()) << ", \"" << result.getMessage()
       << "\")";
}

}  // namespace zq::app::protocols

namespace zq::app::protocols::testing {

inline std::vector<unsigned>& recordedPauses() {
  static std::vector<unsigned> pauses;
  return pauses;
}
inline void recordPause(unsigned ms) { recordedPauses().push_back(ms); }

// A message as text: "20|1" is 20 FS 1.
inline Bytes msg(const std::string& text) {
  Bytes out;
  for (char c : text) out.push_back(c == '|' ? TerminalSimulator::FS : static_cast<unsigned char>(c));
  return out;
}
inline std::string shown(const Bytes& bytes) {
  std::string out;
  for (unsigned char c : bytes) out += c == TerminalSimulator::FS ? '|' : static_cast<char>(c);
  return out;
}

// The yes and no answers as they travel in "23".
inline const std::string kYes = "\\n";
inline const std::string kNo = "\\e";

constexpr uint32_t kTestLinkTimeoutMs = 300;

class TransactionSession {
 public:
  explicit TransactionSession(const TerminalSimulator& terminal)
      : link(new link::Link(new link::StxEtxLrcNoAckLinkLayer(),
                            comm::makeTcpClient("127.0.0.1", terminal.port(), kTestLinkTimeoutMs).release(),
                            65536)) {
    utils::registerCustomSleep(recordPause);
    recordedPauses().clear();
    protocol.getCtx().getApiCtx().setCashRegisterNumber('1');
    callbacks::CallbacksManager::getInstance().setup(
        new RecordingCallbacks(script, calls, statuses));
    EXPECT_TRUE(link->open().isOk());
  }
  ~TransactionSession() {
    callbacks::CallbacksManager::getInstance().setup(nullptr);
    utils::registerCustomSleep(nullptr);
  }

  void kind(ecr_transactionType type) { protocol.getCtx().getTransactionCtx().setTransactionType(type); }
  void amount(const Bytes& bcd) { protocol.getCtx().getApiCtx().setTransactionAmount(bcd); }
  void set(tlv::TlvTag tag, const Bytes& value) { protocol.getCtx().getApiCtx().setTagValue(tag, value); }
  // The mode of ecr_setHandleTerminalRequests: the raw byte 0, 1 or 2.
  void handleRequests(unsigned char mode) { set(TAG_HANDLE_REQUESTS, Bytes{mode}); }
  void continuePrevious(bool yes) { set(TAG_CONTINUE_PREVIOUS_TRANSACTION, bytesOf(yes ? "1" : "0")); }

  std::string tag(tlv::TlvTag tag) {
    utils::Optional<Bytes> value = protocol.getCtx().getApiCtx().getTagValue(tag);
    return value.isPresent() ? std::string(value->begin(), value->end()) : "<absent>";
  }
  Bytes tagBytes(tlv::TlvTag tag) {
    utils::Optional<Bytes> value = protocol.getCtx().getApiCtx().getTagValue(tag);
    return value.isPresent() ? *value : Bytes{};
  }

  TalvorenProtocol protocol;
  std::unique_ptr<link::Link> link;
  HostScript script;
  std::vector<std::string> calls;
  std::vector<ecr_terminalStatus> statuses;
};

// The messages the terminal received, shown with '|' for FS.
inline std::vector<std::string> requestTexts(const TerminalSimulator& terminal) {
  std::vector<std::string> out;
  for (const Bytes& request : terminal.requests()) out.push_back(shown(request));
  return out;
}

}  // namespace zq::app::protocols::testing

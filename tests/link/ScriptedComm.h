// A transport that plays a script, for running the real Link and input stream
// without a socket: each receive takes the next scripted outcome (a time-out
// once the script has run out), each send and open may be scripted to fail,
// and every call is written to an event list so a test can check the order
// (for example that a reconnection came before a send).
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "link/CommInterface.h"

namespace zq::test {

using Bytes = std::vector<uint8_t>;

inline std::string hexOf(const Bytes& bytes) {
  std::string text;
  char digits[4];
  for (uint8_t b : bytes) {
    std::snprintf(digits, sizeof digits, " %02X", b);
    text += digits;
  }
  return text;
}

class ScriptedComm : public app::comm::CommInterface {
 public:
  using CommResult = app::comm::CommResult;

  struct Receive {
    CommResult result;
    Bytes bytes;
  };

  // Bytes delivered by the next receive.
  void deliver(const Bytes& bytes) { receives.push_back({CommResult(), bytes}); }
  // The next receive fails with this result.
  void failReceive(const CommResult& result) { receives.push_back({result, {}}); }

  CommResult open() override {
    events.push_back("open");
    CommResult result;
    if (!openResults.empty()) {
      result = openResults.front();
      openResults.pop_front();
    }
    opened = result.isOk();
    return result;
  }
  bool isOpen() const override { return opened; }
  CommResult setDefaultTimeout(uint32_t ms) override {
    defaultTimeout = ms;
    return CommResult();
  }
  uint32_t getDefaultTimeout() override { return defaultTimeout; }
  std::string getMediumName() const override { return "script"; }

  std::deque<Receive> receives;
  std::deque<CommResult> sendResults;
  std::deque<CommResult> openResults;
  std::vector<Bytes> sent;
  std::vector<std::string> events;
  bool opened = false;
  uint32_t defaultTimeout = 1000;

 protected:
  CommResult recvInternal(Bytes& data) override { return take(data, "recv default"); }
  CommResult recvInternal(Bytes& data, uint32_t timeoutMs) override {
    return take(data, "recv " + std::to_string(timeoutMs));
  }
  std::string getNotOpenedMessage() const override { return "closed"; }
  void closeInternal() override {
    events.push_back("close");
    opened = false;
  }
  CommResult sendInternal(const Bytes& data) override {
    events.push_back("send" + hexOf(data));
    sent.push_back(data);
    if (sendResults.empty()) return CommResult();
    CommResult result = sendResults.front();
    sendResults.pop_front();
    return result;
  }

 private:
  CommResult take(Bytes& data, const std::string& event) {
    events.push_back(event);
    if (receives.empty()) return CommResult(CommResult::DEVICE_TIMEOUT);
    Receive next = receives.front();
    receives.pop_front();
    if (next.result.isOk()) data.insert(data.end(), next.bytes.begin(), next.bytes.end());
    return next.result;
  }
};

}  // namespace zq::test

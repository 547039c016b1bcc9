// The floor under the library's cost: the same request and reply bytes over
// the same loopback, exchanged by a plain blocking TCP client that frames
// nothing, parses nothing and logs nothing.
//
//   BareSocketClient bare;
//   bare.connect(terminal.port());
//   bare.exchange(TerminalSimulator::frame(request), TerminalSimulator::frame(reply).size());
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zq::bench {

class BareSocketClient {
 public:
  BareSocketClient() = default;
  ~BareSocketClient();
  BareSocketClient(const BareSocketClient&) = delete;
  BareSocketClient& operator=(const BareSocketClient&) = delete;

  // Connects to 127.0.0.1:port, with Nagle's delay off.
  bool connect(uint16_t port);
  // Sends the bytes, then reads until replyLength bytes have come back.
  bool exchange(const std::vector<uint8_t>& request, size_t replyLength);

 private:
  int fd_ = -1;
  std::vector<uint8_t> reply_;
};

}  // namespace zq::bench

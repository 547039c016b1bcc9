// The floor under the library's cost: the same request and reply bytes over
// the same loopback, exchanged by a plain blocking TCP client that frames
// nothing, parses nothing and logs nothing. With a look first, it also makes
// the one wait the protocol asks for before a request: a millisecond's look
// at the line for what the terminal left (an end of transmission).
//
//   BareSocketClient bare;
//   bare.connect(terminal.port());
//   bare.exchange(TerminalSimulator::frame(request), TerminalSimulator::frame(reply).size());
//   bare.exchange(request, replyLength, BareSocketClient::LookFirst);
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

  enum Look { NoLook, LookFirst };

  // Connects to 127.0.0.1:port, with Nagle's delay off.
  bool connect(uint16_t port);
  // Sends the bytes, then reads until replyLength bytes have come back, each
  // read taking what has arrived. LookFirst waits a millisecond for bytes
  // before sending (a terminal that sent nothing lets the wait run out).
  bool exchange(const std::vector<uint8_t>& request, size_t replyLength, Look look = NoLook);

 private:
  int fd_ = -1;
  std::vector<uint8_t> reply_;
};

}  // namespace zq::bench

// TCP client of the Linux build: one IPv4 stream socket per connection, with
// keep-alive and socket-level send and receive time-outs.
#pragma once

#include <cstdint>
#include <string>

#include "link/TcpClientInterface.h"

namespace zq::app::comm {

class TcpClient : public TcpClientInterface {
 public:
  TcpClient(const std::string& host, uint16_t port, uint32_t defaultTimeoutMs);
  ~TcpClient() override;

  bool isOpen() const override;

 protected:
  void closeInternal() override;
  CommResult setTimeout(uint32_t timeoutMs) override;
  CommResult prepareSocket() override;
  CommResult connectToTerminal() override;
  int tryToSend(const uint8_t* data, size_t length) override;
  int tryToReceive(uint8_t* buffer, size_t length) override;
  bool tryToReceiveArrived(uint8_t* buffer, size_t length, int& result) override;
  int getLastError() const override;
  bool isRecvErrorNotFailure(int result, int error) const override;
  int waitForReceive(uint32_t timeoutMs) override;

  // -1 while closed: descriptor 0 is a valid socket in a host that closed its
  // standard input.
  int fd;
};

}  // namespace zq::app::comm

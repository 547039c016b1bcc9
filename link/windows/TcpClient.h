// TCP client of the Windows build: one IPv4 stream socket per connection over
// WinSock 2.2, which each connection starts and cleans up for itself; no
// keep-alive, no send time-out, no delay of small writes.
#pragma once

// WinSock 2 before anything that could bring in the old winsock.h.
#include <winsock2.h>

#include <cstdint>
#include <string>

#include "link/TcpClientInterface.h"

namespace zq::app::comm {

class TcpClient : public TcpClientInterface {
 public:
  TcpClient(const std::string& host, uint16_t port, uint32_t defaultTimeoutMs);
  ~TcpClient() override;

  bool isOpen() const override;

  // The WinSock version asked for and required: 2.2.
  static constexpr WORD kWinSockVersion = MAKEWORD(2, 2);

 protected:
  void closeInternal() override;
  // Sets the receive time-out; WinSock sends have none.
  CommResult setTimeout(uint32_t timeoutMs) override;
  CommResult prepareSocket() override;
  CommResult connectToTerminal() override;
  int tryToSend(const uint8_t* data, size_t length) override;
  int tryToReceive(uint8_t* buffer, size_t length) override;
  int getLastError() const override;
  bool isRecvErrorNotFailure(int result, int error) const override;
  int waitForReceive(uint32_t timeoutMs) override;

  // INVALID_SOCKET while closed. A socket exists exactly while this client
  // holds a WinSock start-up, which closeInternal gives back.
  SOCKET sock;
  WSADATA wsaData;
};

}  // namespace zq::app::comm

#include "link/windows/TcpClient.h"

#include <ws2tcpip.h>

#include <climits>

#include "core/zumbra_log.h"

namespace zq::app::comm {

namespace {

int toSocketLength(size_t length) {
  return length > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(length);
}

}  // namespace

TcpClient::TcpClient(const std::string& host_, uint16_t port_, uint32_t defaultTimeoutMs)
    : TcpClientInterface(host_, port_, defaultTimeoutMs), sock(INVALID_SOCKET), wsaData() {}

TcpClient::~TcpClient() { close(); }

bool TcpClient::isOpen() const { return sock != INVALID_SOCKET; }

void TcpClient::closeInternal() {
  logCommInfo("Disconnecting from host %s:%u", host.c_str(), static_cast<unsigned>(port));
  ::shutdown(sock, SD_BOTH);
  ::closesocket(sock);
  sock = INVALID_SOCKET;
  ::WSACleanup();
}

CommResult TcpClient::setTimeout(uint32_t timeoutMs) {
  const DWORD value = timeoutMs;
  if (::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&value), sizeof value) != 0) {
    const std::string text = "setsockopt failed with " + std::to_string(::WSAGetLastError()) +
                             " while setting timeout to " + std::to_string(timeoutMs);
    close();
    return createCommResultWithError(errors::DEVICE_CONN_ERROR, text);
  }
  return CommResult(CommResult::DEVICE_OK);
}

CommResult TcpClient::prepareSocket() {
  // A second open without a close must not leak the first socket and its start-up.
  close();
  wsaData = WSADATA();
  const int started = ::WSAStartup(kWinSockVersion, &wsaData);
  if (started != 0) {
    return createCommResultWithError(errors::DEVICE_SOCKET_NOT_AVAILABLE,
                                     "WSAStartup error: " + std::to_string(started));
  }
  if (wsaData.wVersion != kWinSockVersion) {
    ::WSACleanup();
    return createCommResultWithError(errors::DEVICE_SOCKET_VERSION_MISMATCH,
                                     "Unexpected WinSock version: " + std::to_string(wsaData.wVersion));
  }
  const SOCKET created = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (created == INVALID_SOCKET) {
    ::WSACleanup();
    return createCommResultWithError(errors::DEVICE_SOCKET_INVALID, "Invalid socket");
  }
  sock = created;
  // Frames are written whole, so nothing is gained by holding a small write
  // back; with Nagle's algorithm on, a request written right after a NAK
  // waits for the terminal's delayed acknowledgement of the NAK.
  const BOOL on = TRUE;
  if (::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on) != 0) {
    logCommWarn("Unable to switch off Nagle's algorithm, error %d", ::WSAGetLastError());
  }
  return CommResult(CommResult::DEVICE_OK);
}

CommResult TcpClient::connectToTerminal() {
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(port);
  // The terminal is configured by address; a name is never looked up, and
  // the same texts are addresses as in the Linux build.
  if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
      ::connect(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    close();
    return createCommResultWithError(errors::DEVICE_CONN_ERROR, "Socket error");
  }
  return CommResult(CommResult::DEVICE_OK);
}

int TcpClient::tryToSend(const uint8_t* data, size_t length) {
  return ::send(sock, reinterpret_cast<const char*>(data), toSocketLength(length), 0);
}

int TcpClient::tryToReceive(uint8_t* buffer, size_t length) {
  return ::recv(sock, reinterpret_cast<char*>(buffer), toSocketLength(length), 0);
}

int TcpClient::waitForReceive(uint32_t timeoutMs) {
  // select waits to the millisecond and leaves the connection as it was,
  // whereas a receive that runs out its SO_RCVTIMEO may leave a WinSock
  // connection in an undefined state. Bytes, or the peer's close (recv then
  // answers 0), end the wait at once.
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(sock, &readable);
  timeval wait = {};
  wait.tv_sec = static_cast<long>(timeoutMs / 1000);
  wait.tv_usec = static_cast<long>((timeoutMs % 1000) * 1000);
  return ::select(0, &readable, nullptr, nullptr, timeoutMs == 0 ? nullptr : &wait);
}

int TcpClient::getLastError() const { return ::WSAGetLastError(); }

bool TcpClient::isRecvErrorNotFailure(int result, int error) const {
  return result == 0 || error == WSAETIMEDOUT;
}

}  // namespace zq::app::comm

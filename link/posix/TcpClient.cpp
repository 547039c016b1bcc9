#include "link/posix/TcpClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>

#include "core/zumbra_log.h"
#include "link/posix/PollWait.h"

namespace zq::app::comm {

TcpClient::TcpClient(const std::string& host_, uint16_t port_, uint32_t defaultTimeoutMs)
    : TcpClientInterface(host_, port_, defaultTimeoutMs), fd(-1) {}

TcpClient::~TcpClient() { close(); }

bool TcpClient::isOpen() const { return fd >= 0; }

void TcpClient::closeInternal() {
  logCommInfo("Disconnecting from host %s:%u", host.c_str(), static_cast<unsigned>(port));
  ::shutdown(fd, SHUT_RDWR);
  ::close(fd);
  fd = -1;
}

CommResult TcpClient::setTimeout(uint32_t timeoutMs) {
  timeval tv{};
  tv.tv_sec = static_cast<time_t>(timeoutMs / 1000);
  tv.tv_usec = static_cast<suseconds_t>((timeoutMs % 1000) * 1000);
  if (::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv) != 0) {
    const std::string text = "setsockopt failed with " + std::to_string(errno) +
                             " while setting sending timeout to " + std::to_string(timeoutMs);
    close();
    return createCommResultWithError(errors::DEVICE_CONN_ERROR, text);
  }
  if (::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) != 0) {
    const std::string text = "setsockopt failed with " + std::to_string(errno) +
                             " while setting receiving timeout to " + std::to_string(timeoutMs);
    close();
    return createCommResultWithError(errors::DEVICE_CONN_ERROR, text);
  }
  return CommResult(CommResult::DEVICE_OK);
}

CommResult TcpClient::prepareSocket() {
  // A second open without a close must not leak the first socket.
  close();
  fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) {
    fd = -1;
    return createCommResultWithError(errors::DEVICE_SOCKET_INVALID, "Invalid socket");
  }
  const int on = 1;
  if (::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) != 0) {
    // The socket stays with the client, so a later close() releases it.
    return createCommResultWithError(errors::DEVICE_SOCKET_INVALID, "Unable to set to KEEP ALIVE");
  }
  // Frames are written whole, so nothing is gained by holding a small write
  // back; with Nagle's algorithm on, a request written right after a NAK
  // waits for the terminal's delayed acknowledgement of the NAK (tens of
  // milliseconds, longer than short link time-outs).
  if (::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0) {
    logCommWarn("Unable to switch off Nagle's algorithm, error %d", errno);
  }
  return CommResult(CommResult::DEVICE_OK);
}

CommResult TcpClient::connectToTerminal() {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  // The terminal is configured by address; a name is never looked up.
  if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    close();
    return createCommResultWithError(errors::DEVICE_CONN_ERROR, "Socket select fail");
  }
  return CommResult(CommResult::DEVICE_OK);
}

int TcpClient::tryToSend(const uint8_t* data, size_t length) {
  // MSG_NOSIGNAL: a terminal that hung up must not end the host with SIGPIPE.
  ssize_t result;
  do {
    result = ::send(fd, data, length, MSG_NOSIGNAL);
  } while (result < 0 && errno == EINTR);
  return static_cast<int>(result);
}

int TcpClient::tryToReceive(uint8_t* buffer, size_t length) {
  ssize_t result;
  do {
    result = ::recv(fd, buffer, length, 0);
  } while (result < 0 && errno == EINTR);
  return static_cast<int>(result);
}

bool TcpClient::tryToReceiveArrived(uint8_t* buffer, size_t length, int& result) {
  ssize_t received;
  do {
    received = ::recv(fd, buffer, length, MSG_DONTWAIT);
  } while (received < 0 && errno == EINTR);
  // Nothing there yet: not a time-out, the caller waits for it.
  if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
  result = static_cast<int>(received);
  return true;
}

int TcpClient::waitForReceive(uint32_t timeoutMs) {
  // To the millisecond: the socket's receive time-out is rounded up to the
  // kernel's tick, which made every 1 ms look at the line cost 8. Bytes, or
  // the peer's close (recv then answers 0), end the wait at once.
  return posix::waitFor(fd, POLLIN, timeoutMs == 0 ? -1 : posix::pollTimeout(timeoutMs));
}

int TcpClient::getLastError() const { return errno; }

bool TcpClient::isRecvErrorNotFailure(int result, int error) const {
  return result == 0 || error == EAGAIN || error == EWOULDBLOCK || error == EINPROGRESS;
}

}  // namespace zq::app::comm

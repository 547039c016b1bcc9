#include "benchmarks/BareSocketClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace zq::bench {

BareSocketClient::~BareSocketClient() {
  if (fd_ >= 0) ::close(fd_);
}

bool BareSocketClient::connect(uint16_t port) {
  fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd_ < 0) return false;
  const int on = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool BareSocketClient::exchange(const std::vector<uint8_t>& request, size_t replyLength, Look look) {
  if (look == LookFirst) {
    pollfd line{fd_, POLLIN, 0};
    int ready;
    do {
      ready = ::poll(&line, 1, 1);
    } while (ready < 0 && errno == EINTR);
    // The terminal has nothing to say before it is asked.
    if (ready != 0) return false;
  }
  for (size_t sent = 0; sent < request.size();) {
    const ssize_t count = ::send(fd_, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    sent += static_cast<size_t>(count);
  }
  reply_.resize(replyLength);
  for (size_t received = 0; received < replyLength;) {
    const ssize_t count = ::recv(fd_, reply_.data() + received, replyLength - received, 0);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    received += static_cast<size_t>(count);
  }
  return true;
}

}  // namespace zq::bench

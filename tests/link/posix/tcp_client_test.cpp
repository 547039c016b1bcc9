// The Linux TCP client on real loopback sockets: what a failed connect leaves
// behind, and the socket options an open client has set.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <string>

#include "link/posix/TcpClient.h"
#include "tests/link/LinkLogRecorder.h"

namespace zq::test {
namespace {

using app::comm::CommResult;
using app::comm::TcpClient;
namespace errors = app::comm::errors;

// The Linux client with its descriptor in view.
class InspectableTcpClient : public TcpClient {
 public:
  using TcpClient::TcpClient;
  int descriptor() const { return fd; }
};

// A port on which nothing listens: bound (so no one else takes it), not listening.
struct RefusingPort {
  RefusingPort() {
    fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
  }
  ~RefusingPort() { ::close(fd); }
  int fd;
  uint16_t port;
};

TEST(TcpClient, AConnectThatFailsLeavesTheClientClosed) {
  RefusingPort refusing;
  const CommResult connectFailed(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "Socket select fail");
  struct Case {
    const char* host;
    uint16_t port;
  };
  for (const Case& c : {Case{"127.0.0.1", refusing.port}, Case{"localhost", refusing.port}}) {
    SCOPED_TRACE(c.host);
    LinkLogRecorder log;
    TcpClient client(c.host, c.port, 200);
    EXPECT_EQ(client.open(), connectFailed);
    EXPECT_FALSE(client.isOpen());
    EXPECT_TRUE(log.contains("Disconnecting from host " + std::string(c.host) + ":" + std::to_string(c.port)));
  }
}

TEST(TcpClient, TheDefaultTimeoutIsGivenToBothDirectionsOfTheSocket) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 1), 0);
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);

  InspectableTcpClient client("127.0.0.1", ntohs(address.sin_port), 1500);
  ASSERT_EQ(client.open(), CommResult());
  for (int option : {SO_SNDTIMEO, SO_RCVTIMEO}) {
    timeval tv{};
    socklen_t size = sizeof tv;
    ASSERT_EQ(::getsockopt(client.descriptor(), SOL_SOCKET, option, &tv, &size), 0);
    EXPECT_EQ(tv.tv_sec, 1);
    EXPECT_EQ(tv.tv_usec, 500000);
  }
  int keepAlive = 0;
  socklen_t size = sizeof keepAlive;
  ::getsockopt(client.descriptor(), SOL_SOCKET, SO_KEEPALIVE, &keepAlive, &size);
  EXPECT_EQ(keepAlive, 1);
  client.close();
  EXPECT_EQ(client.descriptor(), -1);
  ::close(listener);
}

}  // namespace
}  // namespace zq::test

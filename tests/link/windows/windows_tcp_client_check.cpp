// windows_tcp_client_check: the WinSock TCP client and the Windows sleep,
// built for Windows and run under wine against the Linux build's simulated
// terminal serving windows_tcp_client_check.script.
//
//   windows_tcp_client_check <port>
//
// Prints a line a check and "N passed, N failed"; exit status 0 when all passed.
#include <windows.h>
#include <winsock2.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/Sleep.h"
#include "link/StxEtxLinkLayer.h"
#include "link/windows/TcpClient.h"

namespace {

using zq::app::comm::CommResult;
using zq::app::comm::TcpClient;
namespace errors = zq::app::comm::errors;
using Bytes = std::vector<uint8_t>;

int passed = 0;
int failed = 0;

void check(bool ok, const char* what, const std::string& detail = std::string()) {
  ++(ok ? passed : failed);
  std::printf("%s: %s%s%s\n", ok ? "ok" : "FAILED", what, detail.empty() ? "" : " - ", detail.c_str());
}

std::string describe(const CommResult& r) {
  return r.statusToString(r.getStatus()) + "/" + r.errorToString(r.getError()) + " \"" + r.getMessage() +
         "\"";
}

// Milliseconds since an earlier now().
long long msSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
      .count();
}

void checkResult(const CommResult& got, const CommResult& expected, const char* what) {
  check(got == expected, what, got == expected ? std::string() : describe(got));
}

// STX, the fields joined by FS, ETX, LRC.
Bytes frame(std::initializer_list<const char*> fields) {
  Bytes data;
  for (const char* field : fields) {
    if (!data.empty()) data.push_back(0x1C);
    data.insert(data.end(), field, field + std::strlen(field));
  }
  zq::app::link::StxEtxLinkLayer().build(data);
  return data;
}

const CommResult kOk;
const CommResult kSocketError(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "Socket error");

void exchangeWithTheTerminal(uint16_t port) {
  TcpClient client("127.0.0.1", port, 2000);
  checkResult(client.open(), kOk, "connects to the terminal");

  const Bytes status = frame({"20", "1"});
  Bytes reply;
  checkResult(client.send(status), kOk, "sends a frame");
  checkResult(client.recv(reply), kOk, "receives the reply");
  check(reply == frame({"20", "0", "0"}), "the reply is the terminal's frame, whole");

  checkResult(client.send(status), kOk, "sends to a silent terminal");
  const auto before = std::chrono::steady_clock::now();
  checkResult(client.recv(reply, 300), CommResult(CommResult::DEVICE_TIMEOUT),
              "a silent terminal is a time-out");
  check(reply.empty(), "a time-out brings no bytes");
  check(msSince(before) >= 280, "the time-out is the one asked for", std::to_string(msSince(before)) + " ms");

  checkResult(client.send(status), kOk, "sends for a reply of one full chunk");
  checkResult(client.recv(reply), kOk, "the 500 ms wait after a full chunk ends the reply");
  check(reply == frame({"20", "0", "0", "012345"}) && reply.size() == 16, "the 16-byte reply is whole");

  checkResult(client.send(status), kOk, "sends to a terminal that hangs up after its reply");
  checkResult(client.recv(reply), kOk, "receives the last reply");
  checkResult(client.recv(reply, 2000),
              CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "Socket closed"),
              "the hang-up is a closed connection, not a time-out");
  check(!client.isOpen(), "and leaves the client closed");
}

void refusedConnections() {
  // Nothing listens on port 1 of the loopback address.
  TcpClient refused("127.0.0.1", 1, 500);
  checkResult(refused.open(), kSocketError, "a refused connection is a socket error");
  check(!refused.isOpen(), "a refused connection leaves the client closed");

  TcpClient named("terminal.local", 5000, 500);
  checkResult(named.open(), kSocketError, "a host name is never looked up");
  check(!named.isOpen(), "so the client stays closed");

  TcpClient neverOpened("127.0.0.1", 5000, 500);
  checkResult(neverOpened.send({0x06}),
              CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_SEND_ERROR, "Socket closed"),
              "a client never opened refuses to send");
  neverOpened.close();
}

void everyStartUpIsGivenBack() {
  // With every client closed the process holds no WinSock start-up of the
  // library's: one more clean-up finds WinSock not started.
  const bool noneLeft = ::WSACleanup() == SOCKET_ERROR && ::WSAGetLastError() == WSANOTINITIALISED;
  check(noneLeft, "every WSAStartup of the clients was matched by a WSACleanup");
}

void sleepWaits() {
  const auto before = std::chrono::steady_clock::now();
  zq::app::utils::sleep(300);
  const long long slept = msSince(before);
  // Sleep may wake up to one tick of the system clock early.
  check(slept >= 280, "sleep(300) suspends the thread with Sleep", std::to_string(slept) + " ms");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: windows_tcp_client_check <port>\n");
    return 2;
  }
  exchangeWithTheTerminal(static_cast<uint16_t>(std::atoi(argv[1])));
  refusedConnections();
  everyStartUpIsGivenBack();
  sleepWaits();
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}

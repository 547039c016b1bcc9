// The TCP client: the shared connection, chunked receive and send logic over a
// scripted socket, and the build's clients before they are opened. The Linux
// client on real loopback sockets is in posix/.
#include <gtest/gtest.h>

#include <cerrno>
#include <deque>

#include "link/CommPlatform.h"
#include "tests/link/ScriptedComm.h"

namespace zq::test {
namespace {

using app::comm::CommResult;
using app::comm::TcpClientInterface;
namespace errors = app::comm::errors;

// The socket calls of a TCP client, played from a script.
class ScriptedSocket : public TcpClientInterface {
 public:
  struct Call {
    int result;  // bytes, 0 for a closed peer, -1 for a failure
    Bytes bytes;
    int error;
    bool arrived = false;  // there already: a look without waiting takes it
  };
  ScriptedSocket() : TcpClientInterface("127.0.0.1", 9000, 2000) {}

  bool isOpen() const override { return open_; }
  using TcpClientInterface::recvInternal;

  std::deque<Call> receives;
  size_t sendLimit = 1000;  // at most this many bytes per send call
  std::deque<int> sendFailures;  // results of the next send calls, before sendLimit applies
  Bytes sent;
  std::vector<uint32_t> timeouts;
  CommResult prepared, connected;
  bool open_ = true;
  int lastError = 0;
  // Whether the leaf can look without waiting, and how often it waited.
  bool looksWithoutWaiting = false;
  int waits = 0;

 protected:
  void closeInternal() override { open_ = false; }
  CommResult setTimeout(uint32_t ms) override {
    timeouts.push_back(ms);
    return CommResult();
  }
  CommResult prepareSocket() override { return prepared; }
  CommResult connectToTerminal() override { return connected; }
  int tryToSend(const uint8_t* data, size_t length) override {
    if (!sendFailures.empty()) {
      const int result = sendFailures.front();
      sendFailures.pop_front();
      return result;
    }
    const size_t count = std::min(length, sendLimit);
    sent.insert(sent.end(), data, data + count);
    return static_cast<int>(count);
  }
  int tryToReceive(uint8_t* buffer, size_t length) override {
    if (receives.empty()) {
      lastError = EAGAIN;
      return -1;
    }
    const Call call = receives.front();
    receives.pop_front();
    lastError = call.error;
    if (call.result > 0) {
      EXPECT_LE(call.bytes.size(), length);
      std::copy(call.bytes.begin(), call.bytes.end(), buffer);
      return static_cast<int>(call.bytes.size());
    }
    return call.result;
  }
  bool tryToReceiveArrived(uint8_t* buffer, size_t length, int& result) override {
    if (!looksWithoutWaiting) return TcpClientInterface::tryToReceiveArrived(buffer, length, result);
    if (receives.empty() || !receives.front().arrived) return false;
    result = tryToReceive(buffer, length);
    return true;
  }
  int waitForReceive(uint32_t timeoutMs) override {
    ++waits;
    return TcpClientInterface::waitForReceive(timeoutMs);
  }
  int getLastError() const override { return lastError; }
  bool isRecvErrorNotFailure(int result, int error) const override { return result == 0 || error == EAGAIN; }
};

Bytes count(size_t n, uint8_t from = 1) {
  Bytes b;
  for (size_t i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(from + i));
  return b;
}

// The shared receive over a leaf without a wait of its own: the socket's
// time-out is set for each wait, and only when it changes.
TEST(TcpClientInterface, AMessageEndsWithAShortChunkOrSilenceAfterAFullOne) {
  const Bytes sixteen = count(16), five = count(5, 100), thirtyTwo = count(32), thirtySeven = count(37);
  Bytes twentyOne = sixteen;
  twentyOne.insert(twentyOne.end(), five.begin(), five.end());
  const CommResult closed(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "Socket closed");
  struct Case {
    const char* name;
    std::vector<ScriptedSocket::Call> calls;
    CommResult expected;
    Bytes data;
    std::vector<uint32_t> timeouts;  // set on the socket during the receive
    bool openAfter;
  };
  const Case cases[] = {
      {"short chunk", {{5, five, 0}}, CommResult(), five, {2000}, true},
      {"exactly one full chunk, then silence", {{16, sixteen, 0}}, CommResult(), sixteen, {2000, 500, 2000}, true},
      // One read takes every chunk that is there; the last one decides.
      {"two full chunks in one read, then silence", {{32, thirtyTwo, 0}}, CommResult(), thirtyTwo,
       {2000, 500, 2000}, true},
      {"two full chunks and a short one in one read", {{37, thirtySeven, 0}}, CommResult(), thirtySeven, {2000}, true},
      {"full chunk and a short one", {{16, sixteen, 0}, {5, five, 0}}, CommResult(), twentyOne, {2000, 500, 2000},
       true},
      {"silence", {}, CommResult(CommResult::DEVICE_TIMEOUT), {}, {2000}, true},
      // The terminal has gone: no time-out, and the client closes itself.
      {"peer closed, nothing received", {{0, {}, 0}}, closed, {}, {2000}, false},
      {"peer closed after a full chunk", {{16, sixteen, 0}, {0, {}, 0}}, CommResult(), sixteen, {2000, 500}, false},
      {"connection reset", {{-1, {}, ECONNRESET}},
       CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "recv failed with 104"), {}, {2000}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedSocket socket;
    socket.receives.assign(c.calls.begin(), c.calls.end());
    Bytes data;
    EXPECT_EQ(socket.recv(data), c.expected);
    EXPECT_EQ(data, c.data);
    EXPECT_EQ(socket.timeouts, c.timeouts);
    EXPECT_EQ(socket.isOpen(), c.openAfter);
  }
  EXPECT_EQ(CommResult(CommResult::DEVICE_TIMEOUT).getError(), errors::DEVICE_ERR_UNKNOWN);
}

// A leaf that can look without waiting takes the bytes that are there at
// once, and waits (with the same time-outs) only when nothing is.
TEST(TcpClientInterface, BytesThereAlreadyAreTakenWithoutAWait) {
  const Bytes sixteen = count(16), five = count(5, 100);
  Bytes twentyOne = sixteen;
  twentyOne.insert(twentyOne.end(), five.begin(), five.end());
  const CommResult closed(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "Socket closed");
  struct Case {
    const char* name;
    std::vector<ScriptedSocket::Call> calls;
    CommResult expected;
    Bytes data;
    int waits;
    std::vector<uint32_t> timeouts;  // set during the receive; the socket has the default already
    uint32_t timeoutMs = 0;          // the receive's own time-out; 0 for the default
  };
  const Case cases[] = {
      {"whole reply there", {{16, sixteen, 0, true}, {5, five, 0, true}}, CommResult(), twentyOne, 0, {}},
      {"first chunk still on its way", {{16, sixteen, 0}, {5, five, 0, true}}, CommResult(), twentyOne, 1, {}},
      {"rest of the reply still on its way", {{16, sixteen, 0, true}, {5, five, 0}}, CommResult(), twentyOne, 1,
       {500, 2000}},
      {"nothing after a full chunk", {{16, sixteen, 0, true}}, CommResult(), sixteen, 1, {500, 2000}},
      {"nothing at all", {}, CommResult(CommResult::DEVICE_TIMEOUT), {}, 1, {}},
      {"peer closed already", {{0, {}, 0, true}}, closed, {}, 0, {}},
      {"connection reset seen by the look", {{-1, {}, ECONNRESET, true}},
       CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "recv failed with 104"), {}, 0, {}},
      // A receive with a time-out of its own (a look before a request, the
      // rest of a frame) expects nothing yet and waits first; after a full
      // chunk it takes what is there.
      {"own time-out, reply there", {{16, sixteen, 0, true}, {5, five, 0, true}}, CommResult(), twentyOne, 1,
       {250, 2000}, 250},
      {"own time-out, nothing there", {}, CommResult(CommResult::DEVICE_TIMEOUT), {}, 1, {1, 2000}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedSocket socket;
    ASSERT_EQ(socket.open(), CommResult());
    socket.timeouts.clear();
    socket.looksWithoutWaiting = true;
    socket.receives.assign(c.calls.begin(), c.calls.end());
    Bytes data;
    EXPECT_EQ(c.timeoutMs == 0 ? socket.recv(data) : socket.recv(data, c.timeoutMs), c.expected);
    EXPECT_EQ(data, c.data);
    EXPECT_EQ(socket.waits, c.waits);
    EXPECT_EQ(socket.timeouts, c.timeouts);
  }
}

TEST(TcpClientInterface, AReceiveTakesNoMoreThanTheRoomItIsGiven) {
  ScriptedSocket socket;
  socket.receives = {{16, count(16), 0}, {4, count(4, 50), 0}, {16, count(16, 80), 0}};
  Bytes data;
  // Room for 20: a full chunk, then only the 4 that still fit.
  EXPECT_EQ(socket.recvAtMost(data, 0, 20), CommResult());
  EXPECT_EQ(data.size(), 20u);
  // The rest waits on the socket for the next receive.
  EXPECT_EQ(socket.recv(data), CommResult());
  EXPECT_EQ(data, count(16, 80));
}

TEST(TcpClientInterface, ReceiveWithATimeoutSetsItFirstAndRestoresTheDefault) {
  ScriptedSocket socket;
  socket.receives.push_back({3, {1, 2, 3}, 0});
  socket.receives.push_back({3, {1, 2, 3}, 0});
  Bytes data;
  EXPECT_EQ(socket.recv(data, 250), CommResult());
  EXPECT_EQ(socket.timeouts, (std::vector<uint32_t>{250, 2000}));
  // The socket has the default already: nothing to set.
  EXPECT_EQ(socket.recv(data), CommResult());
  EXPECT_EQ(socket.timeouts, (std::vector<uint32_t>{250, 2000}));
}

TEST(TcpClientInterface, SendSucceedsOnlyWhenEveryByteIsOut) {
  ScriptedSocket socket;
  socket.sendLimit = 3;  // the system takes a few bytes per call
  const Bytes frame = count(10);
  EXPECT_EQ(socket.send(frame), CommResult());
  EXPECT_EQ(socket.sent, frame);

  ScriptedSocket failing;
  failing.sendLimit = 4;
  failing.sendFailures = {4, -1};
  EXPECT_EQ(failing.send(frame),
            CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_SEND_ERROR, "Sending failed with result -1"));
}

TEST(TcpClientInterface, OpenStopsAtTheFirstFailingStep) {
  const CommResult noSocket(CommResult::DEVICE_ERROR, errors::DEVICE_SOCKET_INVALID, "Invalid socket");
  const CommResult noConnect(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "Socket select fail");
  ScriptedSocket a;
  a.prepared = noSocket;
  EXPECT_EQ(a.open(), noSocket);
  EXPECT_TRUE(a.timeouts.empty());
  ScriptedSocket b;
  b.connected = noConnect;
  EXPECT_EQ(b.open(), noConnect);
  ScriptedSocket c;
  EXPECT_EQ(c.open(), CommResult());
  EXPECT_EQ(c.timeouts, std::vector<uint32_t>{2000});
}

TEST(TcpClientInterface, ANewDefaultTimeoutReachesAnOpenSocketAtOnce) {
  ScriptedSocket socket;
  EXPECT_EQ(socket.setDefaultTimeout(180000), CommResult());
  EXPECT_EQ(socket.getDefaultTimeout(), 180000u);
  EXPECT_EQ(socket.timeouts, std::vector<uint32_t>{180000});
  socket.receives.push_back({2, {1, 2}, 0});
  Bytes data;
  socket.recv(data);
  EXPECT_EQ(socket.timeouts.back(), 180000u);
}

// Both clients before open: nothing reaches a device, the texts name the medium.
TEST(Transports, AClosedTransportRefusesWithItsOwnText) {
  const auto tcp = app::comm::makeTcpClient("127.0.0.1", 1, 100);
  const auto serial = app::comm::makeSerialClient("/dev/null-nothing", COMM_8N1, COMM_BAUD_9600, 100);
  struct Case {
    app::comm::CommInterface* comm;
    const char* closedText;
  };
  for (const Case& c : {Case{tcp.get(), "Socket closed"}, Case{serial.get(), "COM port closed"}}) {
    SCOPED_TRACE(c.closedText);
    EXPECT_FALSE(c.comm->isOpen());
    EXPECT_EQ(c.comm->send(Bytes{}),
              CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_SEND_ERROR, "Empty buffer"));
    EXPECT_EQ(c.comm->send(Bytes{0x04}),
              CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_SEND_ERROR, c.closedText));
    Bytes data = {0xAA};
    EXPECT_EQ(c.comm->recv(data, 10), CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, c.closedText));
    EXPECT_EQ(c.comm->recv(data), CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, c.closedText));
    EXPECT_EQ(data, Bytes{0xAA});
    c.comm->close();  // harmless when never opened
  }
}

}  // namespace
}  // namespace zq::test

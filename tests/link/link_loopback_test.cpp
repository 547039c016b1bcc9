// The Link with the build's TCP client against a scripted terminal on a real
// loopback socket.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "link/CommPlatform.h"
#include "link/Link.h"
#include "link/StxEtxLinkLayer.h"
#include "support/LoopbackPeer.h"

namespace zq::test {
namespace {

using app::comm::CommResult;
using app::comm::makeTcpClient;
using app::link::Link;
using app::link::StxEtxLrcNoAckLinkLayer;
using Bytes = std::vector<uint8_t>;
namespace errors = app::comm::errors;

constexpr uint32_t kTimeoutMs = 300;
const Bytes kRequest = {'2', '0'};

std::unique_ptr<Link> linkTo(uint16_t port, uint32_t timeoutMs = kTimeoutMs) {
  auto link =
      std::make_unique<Link>(new StxEtxLrcNoAckLinkLayer, makeTcpClient("127.0.0.1", port, timeoutMs).release(), 65536);
  return link;
}

PeerStep answer(const Bytes& reply) {
  PeerStep step;
  step.expect = kRequest;
  step.reply = reply;
  return step;
}

// One request and its reply; what the Link made of the reply.
CommResult exchange(Link& link, Bytes& reply, uint32_t timeoutMs = 0) {
  Bytes request = kRequest;
  const CommResult sent = link.send(request);
  if (!sent.isOk()) return sent;
  return link.recv(reply, timeoutMs);
}

// Within the time-out: the whole wait for a reply is bounded by it.
TEST(LinkOverLoopback, RepliesArriveWholeHoweverTheLineCutsThem) {
  const Bytes message(40, '7');
  struct Case {
    const char* name;
    size_t splitChunk;
    Bytes stray;
  };
  for (const Case& c : {Case{"one piece", 0, {}}, Case{"pieces of 3", 3, {}}, Case{"pieces of 16", 16, {}},
                        Case{"noise first", 5, {0x55, 0x03, 0x41}}}) {
    SCOPED_TRACE(c.name);
    LoopbackPeer peer;
    PeerStep step = answer(message);
    step.splitChunk = c.splitChunk;
    step.splitPauseMs = 5;
    step.strayBefore = c.stray;
    peer.addStep(step);
    auto link = linkTo(peer.port());
    ASSERT_EQ(link->open(), CommResult());
    Bytes reply;
    EXPECT_EQ(exchange(*link, reply), CommResult());
    EXPECT_EQ(reply, message);
    EXPECT_TRUE(peer.mismatches().empty());
    EXPECT_EQ(peer.connectionCount(), 1);
  }
}

TEST(LinkOverLoopback, AReplyOfWholeChunksWaitsForAFurtherChunkFirst) {
  // 16 and 32 bytes framed; the second arrives whole and is read in one call.
  for (size_t length : {size_t{13}, size_t{29}}) {
    SCOPED_TRACE(length);
    LoopbackPeer peer;
    const Bytes message(length, 'A');
    peer.addStep(answer(message));
    auto link = linkTo(peer.port(), 2000);
    ASSERT_EQ(link->open(), CommResult());
    const auto start = std::chrono::steady_clock::now();
    Bytes reply;
    EXPECT_EQ(exchange(*link, reply), CommResult());
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(reply, message);
    // The message is only known to be complete once nothing followed for 500 ms.
    EXPECT_GE(waited, std::chrono::milliseconds(450));
  }
}

TEST(LinkOverLoopback, ASilentTerminalTimesOutAVanishingOneIsAClosedConnection) {
  const CommResult closed(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "Socket closed");
  struct Case {
    const char* name;
    bool dropAfter;
    CommResult expected;
  };
  for (const Case& c : {Case{"silent", false, CommResult(CommResult::DEVICE_TIMEOUT)},
                        Case{"hangs up", true, closed}}) {
    SCOPED_TRACE(c.name);
    LoopbackPeer peer;
    PeerStep step = answer({});
    step.silent = true;
    step.dropAfter = c.dropAfter;
    peer.addStep(step);
    auto link = linkTo(peer.port());
    ASSERT_EQ(link->open(), CommResult());
    Bytes reply;
    EXPECT_EQ(exchange(*link, reply, 200), c.expected);
    // Either way the link reconnects, so the next exchange finds a live line.
    EXPECT_TRUE(peer.waitForConnections(2, 1000));
    EXPECT_TRUE(link->isOpen());
  }
}

TEST(LinkOverLoopback, ATerminalThatHungUpIsReconnectedBeforeTheNextRequest) {
  LoopbackPeer peer;
  PeerStep step = answer({'0'});
  step.dropAfter = true;
  peer.addStep(step);
  peer.addStep(answer({'1'}));
  auto link = linkTo(peer.port());
  ASSERT_EQ(link->open(), CommResult());
  Bytes reply;
  ASSERT_EQ(exchange(*link, reply), CommResult());
  ASSERT_TRUE(peer.waitForClosed(1, 1000));

  // The monitored send sees the closed connection, as it would an EOT.
  Bytes request = kRequest;
  EXPECT_EQ(link->sendWithMonitor(request), CommResult());
  EXPECT_EQ(link->recv(reply, 0), CommResult());
  EXPECT_EQ(reply, Bytes{'1'});
  EXPECT_EQ(peer.connectionCount(), 2);
  EXPECT_EQ(peer.requests().size(), 2u);
}

TEST(LinkOverLoopback, APlainSendIntoAHungUpConnectionReconnectsAndSendsAgain) {
  LoopbackPeer peer;
  PeerStep step = answer({'0'});
  step.dropAfter = true;
  peer.addStep(step);
  auto link = linkTo(peer.port());
  ASSERT_EQ(link->open(), CommResult());
  Bytes reply;
  ASSERT_EQ(exchange(*link, reply), CommResult());
  ASSERT_TRUE(peer.waitForClosed(1, 1000));

  // The first write after the hang-up may still be taken by the system; a
  // later one meets the reset connection. Without MSG_NOSIGNAL that one would
  // end this process with SIGPIPE. The failed frame goes out again on a new
  // connection, so every send succeeds and one of them reaches the terminal.
  for (int i = 0; i < 10 && peer.connectionCount() < 2; ++i) {
    Bytes request = kRequest;
    EXPECT_EQ(link->send(request), CommResult());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(peer.connectionCount(), 2);
  EXPECT_TRUE(peer.waitForReceived(2 * LoopbackPeer::frame(kRequest).size(), 1000));
  EXPECT_EQ(peer.requests().size(), 2u);
}

// A reply longer than the input buffer cannot be received; the link drops
// what it holds of it, so the replies after it arrive as usual (and the
// terminal is not blamed for the rest of the session).
TEST(LinkOverLoopback, AReplyLargerThanTheInputBufferFailsAloneAndTheNextRepliesArrive) {
  const CommResult overflow(CommResult::DEVICE_ERROR, errors::DEVICE_BUFFER_OVERFLOW, "Receive buffer overflow");
  const struct {
    const char* name;
    Bytes message;
    CommResult expected;
  } exchanges[] = {
      {"small", {'0'}, CommResult()},
      {"108 KB", Bytes(108 * 1024, 'R'), overflow},
      {"small after it", {'1'}, CommResult()},
      {"small again", {'2'}, CommResult()},
  };
  LoopbackPeer peer;
  for (const auto& e : exchanges) peer.addStep(answer(e.message));
  auto link = linkTo(peer.port());
  ASSERT_EQ(link->open(), CommResult());
  for (const auto& e : exchanges) {
    SCOPED_TRACE(e.name);
    Bytes reply;
    const CommResult result = exchange(*link, reply);
    EXPECT_EQ(result, e.expected);
    if (result.isOk()) {
      EXPECT_EQ(reply, e.message);
    }
  }
  EXPECT_EQ(peer.requests().size(), 4u);
  EXPECT_TRUE(peer.mismatches().empty());
}

TEST(LinkOverLoopback, ADamagedReplyIsAnsweredWithNak) {
  LoopbackPeer peer;
  PeerStep step = answer({'0', '0'});
  step.badLrc = true;
  peer.addStep(step);
  auto link = linkTo(peer.port());
  ASSERT_EQ(link->open(), CommResult());
  Bytes reply;
  EXPECT_EQ(exchange(*link, reply),
            CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_DATA_CORRUPTED, "Message extraction failed"));
  Bytes expected = LoopbackPeer::frame(kRequest);
  expected.push_back(0x15);
  EXPECT_TRUE(peer.waitForReceived(expected.size(), 1000));
  EXPECT_EQ(peer.received(), expected);
}

TEST(LinkOverLoopback, AnEotFromTheTerminalMakesTheNextMonitoredSendReconnect) {
  LoopbackPeer peer;
  PeerStep first = answer({'0'});
  first.eotAfter = true;
  first.splitChunk = 4;  // the reply frame, then the EOT on its own
  peer.addStep(first);
  peer.addStep(answer({'1'}));
  auto link = linkTo(peer.port());
  ASSERT_EQ(link->open(), CommResult());
  Bytes reply;
  ASSERT_EQ(exchange(*link, reply), CommResult());
  ASSERT_TRUE(peer.waitForSteps(1, 1000));  // the EOT is on its way
  std::this_thread::sleep_for(std::chrono::milliseconds(20));

  Bytes request = kRequest;
  EXPECT_EQ(link->sendWithMonitor(request), CommResult());
  EXPECT_EQ(link->recv(reply, 0), CommResult());
  EXPECT_EQ(reply, Bytes{'1'});
  EXPECT_EQ(peer.connectionCount(), 2);
  EXPECT_TRUE(peer.mismatches().empty());
}

TEST(LinkOverLoopback, CloseSaysGoodbyeWithEot) {
  LoopbackPeer peer;
  auto link = linkTo(peer.port());
  ASSERT_EQ(link->open(), CommResult());
  ASSERT_TRUE(peer.waitForConnections(1, 1000));
  link->close();
  EXPECT_TRUE(peer.waitForClosed(1, 1000));
  EXPECT_EQ(peer.received(), Bytes{0x04});
  link->close();  // a closed link says nothing
  EXPECT_EQ(peer.received(), Bytes{0x04});
}

TEST(LinkOverLoopback, NoTerminalListening) {
  uint16_t port;
  {
    LoopbackPeer gone;
    port = gone.port();
  }
  auto link = linkTo(port);
  EXPECT_EQ(link->open(), CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "Socket select fail"));
  EXPECT_FALSE(link->isOpen());
}

}  // namespace
}  // namespace zq::test

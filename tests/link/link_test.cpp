// The Link over a scripted transport: framing on send, reconnection, NAK on a
// damaged frame, EOT handling before a monitored send, what stays buffered
// after a frame, and raw reads.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/Link.h"
#include "link/StxEtxLinkLayer.h"
#include "tests/link/LinkLogRecorder.h"
#include "tests/link/ScriptedComm.h"

namespace zq::test {
namespace {

using app::comm::CommResult;
namespace errors = app::comm::errors;
using app::link::Link;
using app::link::StxEtxLrcNoAckLinkLayer;
using Events = std::vector<std::string>;

const CommResult kRefusedOpen(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "Socket select fail");
const CommResult kSendFailed(CommResult::DEVICE_ERROR, errors::DEVICE_SEND_ERROR, "Sending failed with result -1");
const CommResult kExtractionFailed(CommResult::DEVICE_ERROR, errors::DEVICE_DATA_CORRUPTED,
                                   "Message extraction failed");

// The Link owns its transport; the test keeps a pointer to look at it.
struct LinkFixture : ::testing::Test {
  LinkFixture() : comm(new ScriptedComm), link(new StxEtxLrcNoAckLinkLayer, comm, 64) {
    link.open();
    comm->events.clear();
  }
  ScriptedComm* comm;
  Link link;
};

TEST_F(LinkFixture, SendFramesTheMessageInPlaceAndWaitsForNothing) {
  Bytes data = {0x31, 0x30};
  EXPECT_EQ(link.send(data), CommResult());
  EXPECT_EQ(data, (Bytes{0x02, 0x31, 0x30, 0x03, 0x02}));
  EXPECT_EQ(comm->events, (Events{"send 02 31 30 03 02"}));
}

TEST_F(LinkFixture, FailedSendReconnectsOnceAndSendsTheFrameAgainOnTheNewConnection) {
  struct Case {
    const char* name;
    CommResult reopen;
    std::vector<CommResult> sends;
    CommResult expected;
    Events events;
  };
  const Case cases[] = {
      {"reconnected: the frame goes out again", CommResult(), {kSendFailed}, CommResult(),
       {"send 02 41 03 42", "close", "open", "send 02 41 03 42"}},
      {"reconnected, and the second send fails too", CommResult(), {kSendFailed, kSendFailed}, kSendFailed,
       {"send 02 41 03 42", "close", "open", "send 02 41 03 42"}},
      {"reconnection refused", kRefusedOpen, {kSendFailed}, kRefusedOpen, {"send 02 41 03 42", "close", "open"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedComm* transport = new ScriptedComm;
    Link l(new StxEtxLrcNoAckLinkLayer, transport, 64);
    l.open();
    transport->events.clear();
    transport->sendResults.assign(c.sends.begin(), c.sends.end());
    transport->openResults.push_back(c.reopen);
    LinkLogRecorder log;

    Bytes data = {0x41};
    EXPECT_EQ(l.send(data), c.expected);
    EXPECT_EQ(transport->events, c.events);
    if (!c.reopen.isOk()) {
      EXPECT_TRUE(log.contains("Connection lost, unable to reconnect. Status: DEVICE_ERROR(1), error code: "
                               "DEVICE_CONN_ERROR(12), message: Socket select fail"));
    }
  }
}

TEST_F(LinkFixture, MonitoredSendHandlesWhatTheTerminalLeftFirst) {
  struct Case {
    const char* name;
    Bytes pending;  // what the 1 ms look at the line brings
    bool closed;    // the transport closed itself: the terminal hung up
    CommResult reopen;
    CommResult expected;
    Events events;
  };
  const Case cases[] = {
      {"EOT: reconnect, then send", {0x04}, false, CommResult(), CommResult(),
       {"recv 1", "close", "open", "send 02 41 03 42"}},
      {"EOT and the terminal is gone", {0x04}, false, kRefusedOpen, kRefusedOpen, {"recv 1", "close", "open"}},
      {"hung up: reconnect, then send", {}, true, CommResult(), CommResult(), {"open", "send 02 41 03 42"}},
      {"hung up and the terminal is gone", {}, true, kRefusedOpen, kRefusedOpen, {"open"}},
      {"stray bytes: dropped, then send", {0x41, 0x42}, false, CommResult(), CommResult(),
       {"recv 1", "recv 1", "send 02 41 03 42"}},
      {"nothing pending", {}, false, CommResult(), CommResult(), {"recv 1", "send 02 41 03 42"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedComm* transport = new ScriptedComm;
    Link l(new StxEtxLrcNoAckLinkLayer, transport, 64);
    l.open();
    transport->events.clear();
    if (!c.pending.empty()) transport->deliver(c.pending);
    transport->opened = !c.closed;
    transport->openResults.push_back(c.reopen);

    Bytes data = {0x41};
    EXPECT_EQ(l.sendWithMonitor(data), c.expected);
    EXPECT_EQ(transport->events, c.events);
    // Nothing of the pending bytes is left for the next read.
    transport->deliver({0x99});
    Bytes raw;
    if (l.isOpen()) {
      EXPECT_TRUE(l.recv_raw(raw, 1, 5).isOk());
      EXPECT_EQ(raw, (Bytes{0x99}));
    }
  }
}

TEST_F(LinkFixture, ReceivedFrameIsCheckedAndADamagedOneGetsNak) {
  struct Case {
    const char* name;
    Bytes wire;
    CommResult expected;
    Bytes message;
    std::vector<Bytes> answered;
  };
  const Case cases[] = {
      {"good frame", {0x02, 0x41, 0x03, 0x42}, CommResult(), {0x41}, {}},
      {"wrong LRC", {0x02, 0x41, 0x03, 0x00}, kExtractionFailed, {0x41}, {{0x15}}},
      {"noise before the frame", {0x55, 0x03, 0x02, 0x41, 0x03, 0x42}, CommResult(), {0x41}, {}},
      {"empty message", {0x02, 0x03, 0x03}, CommResult(), {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    comm->sent.clear();
    comm->deliver(c.wire);
    Bytes data = {0xEE};
    EXPECT_EQ(link.recv(data, 0), c.expected);
    EXPECT_EQ(data, c.message);
    EXPECT_EQ(comm->sent, c.answered);
  }
}

TEST_F(LinkFixture, AFrameArrivingInPiecesIsAssembled) {
  comm->deliver({0x02, 0x31});
  comm->deliver({0x32});
  comm->deliver({0x03, 0x00});
  Bytes data;
  EXPECT_EQ(link.recv(data, 250), CommResult());
  EXPECT_EQ(data, (Bytes{0x31, 0x32}));
  EXPECT_EQ(comm->events, (Events{"recv 250", "recv 250", "recv 250"}));
}

TEST_F(LinkFixture, BytesAfterAFrameAreDroppedUnlessProtected) {
  const Bytes twoFrames = {0x02, 0x41, 0x03, 0x42, 0x02, 0x42, 0x03, 0x41};
  for (bool protect : {false, true}) {
    SCOPED_TRACE(protect ? "protected" : "not protected");
    comm->receives.clear();
    comm->deliver(twoFrames);
    link.set_protect_data_after_frame(protect);
    Bytes first, second;
    ASSERT_EQ(link.recv(first, 0), CommResult());
    EXPECT_EQ(first, (Bytes{0x41}));
    comm->events.clear();
    const CommResult next = link.recv(second, 100);
    if (protect) {
      EXPECT_EQ(next, CommResult());
      EXPECT_EQ(second, (Bytes{0x42}));
      EXPECT_TRUE(comm->events.empty());
    } else {
      EXPECT_EQ(next.getStatus(), CommResult::DEVICE_TIMEOUT);
      EXPECT_EQ(comm->events, (Events{"recv 100", "close", "open"}));
    }
  }
}

TEST_F(LinkFixture, FailedReceiveReconnectsAndReportsTheReceiveFailure) {
  const CommResult readFail(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "COM read timeout");
  for (const CommResult& reopen : {CommResult(), kRefusedOpen}) {
    SCOPED_TRACE(reopen.getMessage());
    comm->events.clear();
    comm->failReceive(readFail);
    comm->openResults.push_back(reopen);
    Bytes data;
    EXPECT_EQ(link.recv(data, 0), readFail);
    EXPECT_EQ(comm->events, (Events{"recv default", "close", "open"}));
    comm->opened = true;
  }
}

// A reply that fills the input buffer (64 bytes here) without its end fails
// the receive; the link then starts afresh, so the next reply is found at its
// STX whether the rest of the long one still arrives (a serial line keeps it)
// or went with the old connection.
TEST_F(LinkFixture, AfterAnOverflowTheNextFrameIsFoundAtTheNextStx) {
  const CommResult overflow(CommResult::DEVICE_ERROR, errors::DEVICE_BUFFER_OVERFLOW, "Receive buffer overflow");
  Bytes start(32, 'R');
  start[0] = 0x02;
  const Bytes next = {0x02, 0x31, 0x03, 0x32};
  Bytes rest(10, 'R');
  rest.push_back(0x03);
  rest.push_back(0x51);  // LRC of 73 'R' and ETX
  const struct {
    const char* name;
    std::vector<Bytes> after;  // what arrives after the overflow
  } cases[] = {
      {"the rest of the long reply, then the next one", {rest, next}},
      {"the rest and the next reply in one piece", {[&] {
         Bytes both = rest;
         both.insert(both.end(), next.begin(), next.end());
         return both;
       }()}},
      {"only the next reply", {next}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    comm->receives.clear();
    comm->deliver(start);
    comm->deliver(Bytes(32, 'R'));
    Bytes data;
    EXPECT_EQ(link.recv(data, 50), overflow);
    EXPECT_EQ(std::count(comm->events.begin(), comm->events.end(), "open"), 1);
    comm->opened = true;

    for (const Bytes& b : c.after) comm->deliver(b);
    EXPECT_EQ(link.recv(data, 50), CommResult());
    EXPECT_EQ(data, Bytes{0x31});
    comm->events.clear();
  }
}

TEST_F(LinkFixture, RawReadCollectsAtLeastTheCountAsked) {
  struct Case {
    const char* name;
    std::vector<Bytes> arrivals;
    uint32_t count;
    CommResult::Status status;
    Bytes data;
    size_t reconnections;
  };
  const Bytes twelve = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const Case cases[] = {
      {"more than asked", {twelve}, 10, CommResult::DEVICE_OK, twelve, 0},
      {"in two receives", {{1, 2, 3, 4}, {5, 6, 7, 8, 9, 10, 11, 12}}, 10, CommResult::DEVICE_OK, twelve, 0},
      {"too few before silence", {{1, 2, 3, 4}}, 10, CommResult::DEVICE_TIMEOUT, {}, 1},
      {"nothing asked", {}, 0, CommResult::DEVICE_OK, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    comm->events.clear();
    comm->receives.clear();
    for (const Bytes& b : c.arrivals) comm->deliver(b);
    Bytes data = {0xEE};
    EXPECT_EQ(link.recv_raw(data, c.count, 50).getStatus(), c.status);
    EXPECT_EQ(data, c.data);
    EXPECT_EQ(std::count(comm->events.begin(), comm->events.end(), "open"), static_cast<long>(c.reconnections));
    comm->opened = true;
  }
}

TEST_F(LinkFixture, CloseSaysGoodbyeOnlyOnAnOpenTransportAndDropsBufferedBytes) {
  comm->deliver({0x02, 0x41, 0x03, 0x42, 0x02, 0x42, 0x03, 0x41});
  link.set_protect_data_after_frame(true);
  Bytes data;
  ASSERT_TRUE(link.recv(data, 0).isOk());
  comm->events.clear();

  link.close();
  EXPECT_EQ(comm->events, (Events{"send 04", "close"}));
  EXPECT_FALSE(link.isOpen());

  comm->events.clear();
  link.close();
  EXPECT_TRUE(comm->events.empty());

  // The second frame went with the close.
  link.open();
  EXPECT_EQ(link.recv(data, 20).getStatus(), CommResult::DEVICE_TIMEOUT);
}

TEST_F(LinkFixture, DefaultTimeoutIsTheTransports) {
  EXPECT_EQ(link.setDefaultTimeout(180000), CommResult());
  EXPECT_EQ(link.getDefaultTimeout(), 180000u);
  EXPECT_EQ(comm->defaultTimeout, 180000u);
}

}  // namespace
}  // namespace zq::test

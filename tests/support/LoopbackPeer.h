// A scripted terminal on a real loopback socket, for tests that drive the
// library's TCP link.
//
// The peer listens on 127.0.0.1 with a port of the system's choice (port()),
// accepts one connection at a time (a new connection replaces the old one, as
// when the library reconnects) and cuts STX .. ETX LRC frames from what it
// receives. Each received frame consumes the next step of the script: the
// peer compares the frame's message with the step's expected request, then
// answers as the step says. Frames that arrive after the script has run out
// are recorded and not answered. Bytes outside frames (EOT, NAK from the
// library) are only recorded.
//
//   LoopbackPeer peer;
//   PeerStep status;
//   status.expect = bytes("20");            // request message, without framing
//   status.reply = bytes("20000");          // framed by the peer
//   status.splitChunk = 3;                  // a fault: the reply in pieces
//   peer.addStep(status);
//   ... connect the library to 127.0.0.1:peer.port(), exchange ...
//   EXPECT_TRUE(peer.mismatches().empty());
//
// Everything the peer records can be read from the test's thread while the
// peer runs; the wait functions block until a condition holds or a time-out.
// A step stops sending as soon as the library has closed its connection
// (as a real line would), so a flood or a drip never outlasts the library's
// patience by more than a moment.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zq::test {

// One exchange of the script: the request the peer expects and its answer.
// The flags inject the faults of a real line or terminal.
struct PeerStep {
  // Message the library should send (without STX, ETX and LRC); any message
  // is accepted when absent.
  std::optional<std::vector<uint8_t>> expect;
  // Message of the reply frame, which the peer frames itself (an empty message
  // gives the frame 02 03 03).
  std::vector<uint8_t> reply;

  // Faults, applied in this order on the wire:
  std::vector<uint8_t> flood;        // sent over and over before the reply (64 bytes a millisecond),
  int floodMs = 0;                   // for floodMs: a terminal streaming bytes that never form a frame
  std::vector<uint8_t> strayBefore;  // noise sent before the reply
  bool nakBefore = false;            // a NAK before the reply
  bool silent = false;               // no reply frame at all
  bool badLrc = false;               // the reply's LRC byte is wrong
  bool eotAfter = false;             // an EOT after the reply: the terminal ends the transmission
  std::vector<uint8_t> rawAfter;     // unframed bytes after the reply (data that follows a frame)
  size_t splitChunk = 0;             // above 0: everything above goes out in pieces of this size
  int splitPauseMs = 30;             // pause between the pieces
  int dripMs = 0;                    // above 0: everything goes out one byte at a time, this far apart
  bool dropAfter = false;            // close the connection once the step is done: the terminal hangs up
};

class LoopbackPeer {
 public:
  LoopbackPeer();
  explicit LoopbackPeer(std::vector<PeerStep> script);
  // On a given port (0: the system's choice), e.g. the port of a terminal
  // that was down a moment ago.
  LoopbackPeer(std::vector<PeerStep> script, uint16_t port);
  ~LoopbackPeer();
  LoopbackPeer(const LoopbackPeer&) = delete;
  LoopbackPeer& operator=(const LoopbackPeer&) = delete;

  uint16_t port() const { return port_; }

  // Appends a step to the script; safe while the peer runs.
  void addStep(PeerStep step);
  // Drops the steps not used yet (what is left of a transaction the library
  // abandoned), so the next transaction starts on a script of its own.
  void clearScript();

  // Connections accepted so far, and connections that have ended.
  int connectionCount() const;
  int closedCount() const;
  // Every byte received, over all connections, in arrival order.
  std::vector<uint8_t> received() const;
  // Messages of the frames received (a frame with a wrong LRC is recorded too).
  std::vector<std::vector<uint8_t>> requests() const;
  // Frames received whose LRC was wrong.
  int badLrcCount() const;
  // One text per frame that differed from its step's expectation.
  std::vector<std::string> mismatches() const;
  // Steps used up so far.
  size_t stepsDone() const;
  // For each step used, the milliseconds from the arrival of its request in
  // the peer's socket (the kernel's time stamp, so a peer thread that a busy
  // machine kept waiting is counted too) to the last byte it sent (to its
  // hang-up, for dropAfter): how late the terminal was, whatever the library
  // did.
  std::vector<double> answerTimes() const;
  // Requests the peer came to too late to answer at all: it found one
  // unread on a connection the library had already replaced, or hung up
  // (dropAfter) only after the library's next request had arrived. Neither
  // is the library's doing; a busy machine kept the peer's thread waiting.
  int lateCount() const;

  bool waitForConnections(int count, int timeoutMs) const;
  bool waitForClosed(int count, int timeoutMs) const;
  bool waitForReceived(size_t byteCount, int timeoutMs) const;
  bool waitForSteps(size_t count, int timeoutMs) const;
  // Waits until the peer has dealt with everything the library sent so far
  // (a whole round of its loop found nothing to do): what a late peer does
  // with it is then recorded, and it cannot use up a later script.
  bool settle(int timeoutMs) const;

  // STX, message, ETX, LRC: what a terminal puts on the wire.
  static std::vector<uint8_t> frame(const std::vector<uint8_t>& message);

 private:
  void run();
  void acceptClient();
  void readClient();
  void closeClient();
  void cutFrames();
  void perform(const PeerStep& step);
  // False once the library has closed the connection (or the peer stops).
  bool sendAll(const uint8_t* data, size_t length);
  bool sendFlood(const std::vector<uint8_t>& pattern, int forMs);
  bool pause(int ms);
  bool stopping() const;
  // Whether a frame of the library is waiting unread on the connection.
  bool requestPending() const;
  template <typename Predicate>
  bool waitUntil(Predicate predicate, int timeoutMs) const;

  int listenFd_ = -1;
  int clientFd_ = -1;
  uint16_t port_ = 0;
  std::vector<uint8_t> pending_;  // bytes of the current connection not yet cut into frames
  double lastArrival_ = 0;        // kernel time stamp (s, real-time clock) of the latest bytes

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool stop_ = false;
  std::deque<PeerStep> script_;
  size_t stepsDone_ = 0;
  int connections_ = 0;
  int closed_ = 0;
  int badLrc_ = 0;
  std::vector<uint8_t> received_;
  std::vector<std::vector<uint8_t>> requests_;
  std::vector<std::string> mismatches_;
  std::vector<double> answerTimes_;
  int late_ = 0;
  uint64_t idleRounds_ = 0;  // rounds of the worker's loop that found nothing to do

  std::thread worker_;
};

}  // namespace zq::test

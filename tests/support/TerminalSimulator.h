// A scripted Talvoren terminal on a real loopback socket.
//
// It listens on 127.0.0.1 (port of the system's choice), cuts the library's
// STX message ETX LRC frames, checks each LRC, and answers each request with
// the next step of its script: a step names the request message it expects
// and the reply message it frames and sends back, plus any faults to inject
// on the wire. Everything it receives is recorded, so a test can assert the
// exact bytes of each request. The wire work is LoopbackPeer's; this class
// adds the protocol's field layout, the script file format and a view of
// the control bytes (NAK, EOT) the library sends outside frames.
//
// In a test:
//
//   TerminalSimulator terminal;
//   terminal.addStep(TerminalSimulator::step(TerminalSimulator::fields({"20", "1"}),
//                                            TerminalSimulator::fields({"20", "0", "0"})));
//   PeerStep damaged = TerminalSimulator::anyRequest(TerminalSimulator::fields({"26", "0"}));
//   damaged.badLrc = true;                 // faults are flags of PeerStep
//   terminal.addStep(damaged);
//   ... link to comm::makeTcpClient("127.0.0.1", terminal.port(), ...), exchange ...
//   EXPECT_TRUE(terminal.mismatches().empty());
//   EXPECT_EQ(terminal.controlBytes(), std::vector<uint8_t>{0x15});   // the library's NAK
//
// Faults (see PeerStep): a flood of bytes that never form a frame, stray
// bytes or a NAK before the reply, no reply at all, a wrong LRC, an EOT after
// the reply (the library reconnects before its next monitored request), raw
// bytes after the reply, the reply sent in chunks or dripped a byte at a
// time, a hang-up after the step. A request whose own LRC is wrong is
// counted (badLrcCount) and still answered by its step.
//
// As a separate process, see terminal_simulator_main.cpp: the program
// zq_terminal_simulator reads a script file of this form, one directive a
// line (blank lines and lines starting with '#' are skipped):
//
//   expect <message>      a new step that expects exactly this request
//   expect *              a new step that accepts any request
//   reply <message>       the step's reply message (framed by the simulator)
//   stray <message>       bytes sent before the reply
//   raw <message>         unframed bytes sent after the reply
//   nak | silent | badlrc | eot | drop      the faults of the same names
//   split <bytes> [<ms>]  everything the step sends, in chunks (30 ms apart)
//   drip <ms>             everything the step sends, a byte every <ms>
//   flood <ms> <message>  the message over and over for <ms>, before the rest
//
// A <message> is the rest of the line after one space, taken byte for byte,
// where \xHH is the byte HH (\x1C is the field separator FS) and \\ is one
// backslash. Example, a status read answered "idle":
//
//   expect 20\x1C1
//   reply 20\x1C0\x1C0
#pragma once

#include <cstdint>
#include <initializer_list>
#include <istream>
#include <string>
#include <vector>

#include "support/LoopbackPeer.h"

namespace zq::test {

class TerminalSimulator {
 public:
  using Bytes = std::vector<uint8_t>;
  static constexpr uint8_t FS = 0x1C;

  TerminalSimulator() = default;
  explicit TerminalSimulator(std::vector<PeerStep> script) : peer_(std::move(script)) {}
  TerminalSimulator(std::vector<PeerStep> script, uint16_t port) : peer_(std::move(script), port) {}

  uint16_t port() const { return peer_.port(); }
  void addStep(PeerStep step) { peer_.addStep(std::move(step)); }
  void clearScript() { peer_.clearScript(); }

  // A step that expects `request` and answers `reply`.
  static PeerStep step(const Bytes& request, const Bytes& reply);
  // A step that answers `reply` to whatever arrives.
  static PeerStep anyRequest(const Bytes& reply);
  // The fields joined by FS: fields({"20", "0", "0"}) is 20 FS 0 FS 0.
  static Bytes fields(std::initializer_list<std::string> parts);
  static Bytes text(const std::string& text) { return Bytes(text.begin(), text.end()); }
  // STX, message, ETX, LRC.
  static Bytes frame(const Bytes& message) { return LoopbackPeer::frame(message); }

  // The script format above. False with a reason naming the line on a
  // directive it does not know or a malformed escape.
  static bool parseScript(std::istream& in, std::vector<PeerStep>& steps, std::string& error);
  static bool unescape(const std::string& text, Bytes& out);
  // Printable bytes as they are, backslash as \\, every other byte as \xHH.
  static std::string escape(const Bytes& bytes);

  // What the library sent: request messages, all bytes, and the bytes that
  // were outside any frame (NAK for a damaged reply, EOT on close).
  std::vector<Bytes> requests() const { return peer_.requests(); }
  Bytes received() const { return peer_.received(); }
  Bytes controlBytes() const;
  int badLrcCount() const { return peer_.badLrcCount(); }
  std::vector<std::string> mismatches() const { return peer_.mismatches(); }
  size_t stepsDone() const { return peer_.stepsDone(); }
  std::vector<double> answerTimes() const { return peer_.answerTimes(); }
  int lateCount() const { return peer_.lateCount(); }
  int connectionCount() const { return peer_.connectionCount(); }
  int closedCount() const { return peer_.closedCount(); }

  bool waitForSteps(size_t count, int timeoutMs) const { return peer_.waitForSteps(count, timeoutMs); }
  bool waitForReceived(size_t bytes, int timeoutMs) const {
    return peer_.waitForReceived(bytes, timeoutMs);
  }
  bool waitForConnections(int count, int timeoutMs) const {
    return peer_.waitForConnections(count, timeoutMs);
  }
  bool waitForClosed(int count, int timeoutMs) const { return peer_.waitForClosed(count, timeoutMs); }
  bool settle(int timeoutMs) const { return peer_.settle(timeoutMs); }

  LoopbackPeer& peer() { return peer_; }

 private:
  LoopbackPeer peer_;
};

}  // namespace zq::test

// The scripted terminal on a serial line: a pseudo-terminal whose slave end
// a serial client opens as its port, relayed to the simulator's loopback
// port.
//
// Each time the client opens the port the bridge connects to the simulator,
// and when the client closes it (the master then reports a hang-up) that
// connection ends, so the simulator sees a serial session exactly as it sees
// a TCP one and ends the same way. If the simulator ends a connection while
// the port is open, the next bytes go out on a new one.
//
//   TerminalSimulator terminal(steps);
//   PtyBridge line(terminal.port(), "/tmp/work/com9", 115200);
//   ... the client opens /tmp/work/com9, a link to the slave end ...
//   line.mismatches();   // a session whose line was not at 115200 baud
//
// The line settings are read through the master when a session's first
// bytes arrive, since the client has set them by then. A pseudo-terminal
// keeps the speed the client set but always reports 8 data bits and no
// parity, so the speed is all that can be checked; all 8 bits of every byte
// pass, whatever the client asked for.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zq::test {

class PtyBridge {
 public:
  // Makes the pseudo-terminal and the link `linkPath` to its slave end
  // (replacing what was there), and starts relaying. `expectedBaud` 0 takes
  // any speed. Throws std::runtime_error when the pseudo-terminal or the
  // link cannot be made.
  PtyBridge(uint16_t terminalPort, std::string linkPath, unsigned expectedBaud);
  ~PtyBridge();
  PtyBridge(const PtyBridge&) = delete;
  PtyBridge& operator=(const PtyBridge&) = delete;

  // One text per session whose line speed was not the expected one, or
  // that could not reach the simulator.
  std::vector<std::string> mismatches() const;

 private:
  void run();
  // Relays one opening of the port; returns when the client has closed it,
  // the simulator has ended the connection, or the bridge stops.
  void relaySession();
  void checkLine();
  void addMismatch(std::string text);

  uint16_t terminalPort_;
  std::string linkPath_;
  unsigned expectedBaud_;
  int masterFd_ = -1;

  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> mismatches_;
  std::thread worker_;
};

}  // namespace zq::test

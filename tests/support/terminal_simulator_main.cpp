// zq_terminal_simulator: the scripted terminal as a process of its own, for
// the Java tests and manual runs against the library.
//
//   zq_terminal_simulator [--timeout <ms>] [--pty <link> [--baud <rate>]] <script>
//
// Prints the listening port (127.0.0.1) as the first line of standard output
// and serves the script (format in TerminalSimulator.h). With --pty it also
// serves it on a serial line: a pseudo-terminal whose slave end <link> names,
// relayed to that port (PtyBridge.h), where each opening of the port is a
// connection; --baud then makes a line at another speed a mismatch. It ends
// when every step has been used and the library has closed its connection
// (or port), when the time-out passes, or on SIGINT/SIGTERM. It then prints
// each request it received as "request <message>" (escaped as in the
// script) on standard output and each mismatch on standard error. Exit
// status: 0 when every step was used and every request was as expected, 1
// otherwise, 2 for a bad command line or script.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/PtyBridge.h"
#include "support/TerminalSimulator.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

int usage() {
  std::fprintf(stderr,
               "usage: zq_terminal_simulator [--timeout <ms>] [--pty <link> [--baud <rate>]] <script>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  long timeoutMs = -1;
  const char* scriptPath = nullptr;
  const char* ptyLink = nullptr;
  long baud = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
      char* end = nullptr;
      timeoutMs = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || timeoutMs < 0) return usage();
    } else if (std::strcmp(argv[i], "--pty") == 0 && i + 1 < argc) {
      ptyLink = argv[++i];
    } else if (std::strcmp(argv[i], "--baud") == 0 && i + 1 < argc) {
      char* end = nullptr;
      baud = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || baud <= 0) return usage();
    } else if (scriptPath == nullptr && argv[i][0] != '-') {
      scriptPath = argv[i];
    } else {
      return usage();
    }
  }
  if (scriptPath == nullptr || (baud != 0 && ptyLink == nullptr)) return usage();

  std::ifstream script(scriptPath);
  if (!script) {
    std::fprintf(stderr, "cannot read %s\n", scriptPath);
    return 2;
  }
  std::vector<zq::test::PeerStep> steps;
  std::string error;
  if (!zq::test::TerminalSimulator::parseScript(script, steps, error)) {
    std::fprintf(stderr, "%s: %s\n", scriptPath, error.c_str());
    return 2;
  }
  const size_t stepCount = steps.size();

  std::signal(SIGINT, requestStop);
  std::signal(SIGTERM, requestStop);

  zq::test::TerminalSimulator terminal(std::move(steps));
  std::unique_ptr<zq::test::PtyBridge> line;
  if (ptyLink != nullptr) {
    try {
      line = std::make_unique<zq::test::PtyBridge>(terminal.port(), ptyLink, static_cast<unsigned>(baud));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 2;
    }
  }
  std::printf("%u\n", static_cast<unsigned>(terminal.port()));
  std::fflush(stdout);

  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    if (stopRequested) break;
    const bool scriptDone = terminal.stepsDone() >= stepCount;
    const int connections = terminal.connectionCount();
    if (scriptDone && connections > 0 && terminal.closedCount() >= connections) break;
    if (timeoutMs >= 0 && std::chrono::steady_clock::now() - start >=
                              std::chrono::milliseconds(timeoutMs)) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }

  for (const auto& request : terminal.requests()) {
    std::printf("request %s\n", zq::test::TerminalSimulator::escape(request).c_str());
  }
  std::vector<std::string> mismatches = terminal.mismatches();
  if (line) {
    for (std::string& mismatch : line->mismatches()) mismatches.push_back(std::move(mismatch));
    line.reset();
  }
  for (const std::string& mismatch : mismatches) std::fprintf(stderr, "%s\n", mismatch.c_str());
  if (terminal.stepsDone() < stepCount) {
    std::fprintf(stderr, "%zu of %zu steps used\n", terminal.stepsDone(), stepCount);
  }
  std::fflush(stdout);
  return mismatches.empty() && terminal.stepsDone() >= stepCount ? 0 : 1;
}

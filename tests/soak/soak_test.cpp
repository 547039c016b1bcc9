// Thousands of purchases through the exported functions against the scripted
// terminal on loopback, with the faults of a real line and of a hostile
// terminal injected at random: a wrong LRC, a NAK or stray bytes before the
// reply, an EOT after it, silence, the reply in pieces or dripped a byte at a
// time, a flood of bytes that never form a frame, a hang-up, malformed
// fields and noise after the frame. One context and one link serve the
// whole run, so whatever a fault leaves behind (buffered bytes, a dead
// socket, half-read data, values a reply stored) meets the next transaction.
//
// The host sets the kind, the amount and an empty title before every
// transaction, as a host must (replies replace them). Every call must answer one of the codes
// of its command within the time-outs of its exchanges; every request the
// library sends, faulty transactions included, must be one the host's
// purchase asks for; a transaction with a fault the library recovers from
// must succeed, and every faulty transaction is followed by a clean one,
// which must succeed.
//
// The outcome depends on the library, not on the machine's load: a
// transaction that fails because the terminal itself answered later than
// the link's time-out (the simulator's thread kept waiting on a busy
// machine; measured from the kernel's arrival stamp of the request) is
// counted as late and not held against the library.
//
//   ZQ_SOAK_TRANSACTIONS   transactions over all lanes (default 1600)
//   ZQ_SOAK_SEED           seed of the fault choice (default fixed; lane n
//                          uses seed + n; the rerun hint names the seed to set)
//   ZQ_SOAK_TIMEOUT_MS     the link's time-out (default 100 ms)
//   ZQ_SOAK_STALL_SECONDS  the watchdog aborts the run when no transaction
//                          ends for this long (default 30)
//   ZQ_SOAK_VERBOSE        print every transaction, and the log of a failed one
//   ZQ_SOAK_LOG_LINES      log lines kept for a report (default 40)
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

#include "core/Sleep.h"
#include "support/PurchaseScript.h"
#include "support/TerminalSimulator.h"
#include "zumbra_callbacks.h"
#include "zumbra_ecr.h"

namespace {

using zq::test::PeerStep;
using zq::test::TerminalSimulator;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kEot = 0x04;

uint64_t envNumber(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  return end != nullptr && *end == '\0' ? value : fallback;
}

// The last lines the library logged, printed when a transaction goes wrong.
std::mutex logMutex;
std::deque<std::string> recentLines;
uint64_t loggedLines = 0;

void keepLine(const char* line) {
  std::lock_guard<std::mutex> lock(logMutex);
  ++loggedLines;
  recentLines.emplace_back(line != nullptr ? line : "");
  static const size_t kept = static_cast<size_t>(envNumber("ZQ_SOAK_LOG_LINES", 40));
  if (recentLines.size() > kept) recentLines.pop_front();
}

std::string recentLog() {
  std::lock_guard<std::mutex> lock(logMutex);
  std::string text;
  for (const std::string& line : recentLines) text += "    " + line + (line.empty() || line.back() != '\n' ? "\n" : "");
  return text;
}

void ignorePause(unsigned) {}
bool yes(const char*) { return true; }
void seen(const char*) {}

enum class Fault {
  None, BadLrc, Nak, Stray, Eot, Silence, Split, HangUp, Malformed, NoiseAfter, Flood, Drip, Count
};

const char* faultName(Fault fault) {
  switch (fault) {
    case Fault::None: return "none";
    case Fault::BadLrc: return "bad LRC";
    case Fault::Nak: return "NAK before reply";
    case Fault::Stray: return "stray bytes before reply";
    case Fault::Eot: return "EOT after reply";
    case Fault::Silence: return "silence";
    case Fault::Split: return "split reply";
    case Fault::HangUp: return "hang-up";
    case Fault::Malformed: return "malformed fields";
    case Fault::NoiseAfter: return "noise after reply";
    case Fault::Flood: return "flood without a frame";
    case Fault::Drip: return "dripped reply";
    case Fault::Count: break;
  }
  return "?";
}

Bytes randomBytes(std::mt19937& rng, size_t count, bool withFrameBytes) {
  Bytes bytes;
  while (bytes.size() < count) {
    const uint8_t b = static_cast<uint8_t>(rng());
    // Noise the library can tell from a frame: no STX, ETX or EOT.
    if (!withFrameBytes && (b == kStx || b == kEtx || b == kEot)) continue;
    bytes.push_back(b);
  }
  return bytes;
}

std::string printable(const Bytes& bytes) { return TerminalSimulator::escape(bytes); }

// Damages the fields of a reply message while its frame stays sound: what a
// terminal with a broken application, or a line that garbles inside the
// LRC's blind spot, would deliver.
std::string malform(std::mt19937& rng, Bytes& reply) {
  const size_t at = reply.empty() ? 0 : rng() % (reply.size() + 1);
  switch (rng() % 7) {
    case 0:
      reply.resize(at);
      return "cut after " + std::to_string(at) + " bytes";
    case 1:
      if (!reply.empty()) {
        const size_t i = rng() % reply.size();
        reply[i] = static_cast<uint8_t>(rng());
        return "byte " + std::to_string(i) + " changed";
      }
      return "empty";
    case 2: {
      for (size_t i = at; i < reply.size(); ++i) {
        if (reply[i] == TerminalSimulator::FS) {
          reply.erase(reply.begin() + static_cast<std::ptrdiff_t>(i));
          return "separator " + std::to_string(i) + " removed";
        }
      }
      reply.push_back(TerminalSimulator::FS);
      return "separator appended";
    }
    case 3: {
      Bytes field = {TerminalSimulator::FS};
      const Bytes extra = randomBytes(rng, rng() % 6, false);
      field.insert(field.end(), extra.begin(), extra.end());
      reply.insert(reply.begin() + static_cast<std::ptrdiff_t>(at), field.begin(), field.end());
      return "field inserted at " + std::to_string(at);
    }
    case 4: {
      const Bytes longField(200 + rng() % 400, static_cast<uint8_t>('0' + rng() % 10));
      reply.insert(reply.begin() + static_cast<std::ptrdiff_t>(at), longField.begin(), longField.end());
      return "overlong field at " + std::to_string(at);
    }
    case 5: {
      // Every digit of the reply becomes a letter: numbers that do not parse.
      for (uint8_t& b : reply)
        if (b >= '0' && b <= '9') b = static_cast<uint8_t>('G' + (b - '0'));
      return "digits turned to letters";
    }
    default: {
      const Bytes junk = randomBytes(rng, 1 + rng() % 12, true);
      reply.insert(reply.begin() + static_cast<std::ptrdiff_t>(at), junk.begin(), junk.end());
      return "raw bytes inserted at " + std::to_string(at);
    }
  }
}

// One fault on one step of the script, described for the log. `recoverable`
// says whether the library must still complete the transaction: a NAK or
// noise it can skip, a reply in pieces that arrives within the time-out, an
// EOT or a hang-up it answers by reconnecting.
struct Injected {
  std::string what;
  bool recoverable = false;
};

Injected inject(std::mt19937& rng, Fault fault, std::vector<PeerStep>& script, uint32_t timeoutMs) {
  const size_t index = rng() % script.size();
  PeerStep& step = script[index];
  Injected injected{std::string(faultName(fault)) + " at step " + std::to_string(index), false};
  switch (fault) {
    case Fault::BadLrc: step.badLrc = true; break;
    case Fault::Nak:
      step.nakBefore = true;
      injected.recoverable = true;
      break;
    case Fault::Stray: {
      // Stray bytes may hold an STX of their own, and so a false frame.
      const bool frameBytes = rng() % 4 == 0;
      step.strayBefore = randomBytes(rng, 1 + rng() % 16, frameBytes);
      injected.what += " [" + printable(step.strayBefore) + "]";
      injected.recoverable = !frameBytes;
      break;
    }
    case Fault::Eot:
      step.eotAfter = true;
      injected.recoverable = true;
      break;
    case Fault::Silence: step.silent = true; break;
    case Fault::Split: {
      // Pieces close together: late in parts, and whole within the time-out
      // when they are close enough; otherwise the wait ends at its bound.
      step.splitChunk = 1 + rng() % 8;
      step.splitPauseMs = static_cast<int>(rng() % 3);
      const size_t pieces = (TerminalSimulator::frame(step.reply).size() + step.splitChunk - 1) / step.splitChunk;
      const size_t spreadMs = (pieces - 1) * static_cast<size_t>(step.splitPauseMs);
      injected.what += " (" + std::to_string(step.splitChunk) + " bytes, " + std::to_string(step.splitPauseMs) +
                       " ms, " + std::to_string(spreadMs) + " ms in all)";
      injected.recoverable = spreadMs < timeoutMs / 2;
      break;
    }
    case Fault::HangUp:
      // The next monitored request finds the connection closed and
      // reconnects; after the last step, that is the next transaction's.
      step.dropAfter = true;
      injected.recoverable = true;
      break;
    case Fault::Malformed: injected.what += ": " + malform(rng, step.reply); break;
    case Fault::NoiseAfter:
      // Whatever follows a frame in the same read is dropped with it.
      step.rawAfter = randomBytes(rng, 1 + rng() % 32, rng() % 4 == 0);
      injected.what += " [" + printable(step.rawAfter) + "]";
      injected.recoverable = true;
      break;
    case Fault::Flood: {
      // For ten time-outs: no STX, an STX and never an ETX, or NAKs.
      static const Bytes kPatterns[] = {{'n', 'o', 'i', 's', 'e'}, {kStx, 'A', 'B', 'C'}, {0x15}};
      step.flood = kPatterns[rng() % 3];
      step.floodMs = static_cast<int>(10 * timeoutMs);
      step.silent = true;
      injected.what += " [" + printable(step.flood) + "]";
      break;
    }
    case Fault::Drip:
      // Every byte within the time-out of the one before, the reply never
      // within the time-out of the wait.
      step.dripMs = static_cast<int>(timeoutMs / 2 + rng() % (timeoutMs / 2 + 1));
      injected.what += " (a byte every " + std::to_string(step.dripMs) + " ms)";
      break;
    case Fault::None:
    case Fault::Count: break;
  }
  return injected;
}

// The requests a purchase sends are those its clean script expects: the
// status read, the start request of the kind and amount the host set, the
// end-data read. Anything else came from a value the host did not set.
bool isPurchaseRequest(const Bytes& request, const std::vector<PeerStep>& clean) {
  return std::any_of(clean.begin(), clean.end(), [&](const PeerStep& step) { return step.expect == request; });
}

long peakRssKb() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Aborts the run, with its seed and the transaction in progress, when no
// transaction ends for too long: a hang must fail, not wait for CTest.
class Watchdog {
 public:
  Watchdog(int stallSeconds, std::string seedText)
      : stallSeconds_(stallSeconds), seedText_(std::move(seedText)), thread_([this] { watch(); }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  void progress(uint64_t transaction, const std::string& fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    transaction_ = transaction;
    fault_ = fault;
    ++ticks_;
  }

 private:
  void watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      const uint64_t seen = ticks_;
      if (wake_.wait_for(lock, std::chrono::seconds(stallSeconds_), [&] { return stop_ || ticks_ != seen; })) {
        if (stop_) return;
        continue;
      }
      std::fprintf(stderr, "soak: transaction %" PRIu64 " (%s) hangs for %d s; %s\n%s", transaction_,
                   fault_.c_str(), stallSeconds_, seedText_.c_str(), recentLog().c_str());
      std::abort();
    }
  }

  const int stallSeconds_;
  const std::string seedText_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  uint64_t ticks_ = 0;
  uint64_t transaction_ = 0;
  std::string fault_;
  std::thread thread_;
};

class SoakTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    cb_setHandleDevLog(keepLine);
    cb_setHandleCommLog(keepLine);
    cb_setHandleBusLog(keepLine);
    zq::app::utils::registerCustomSleep(ignorePause);
    cb_setWaitForCard(yes);
    cb_setWaitForPin(yes);
    cb_setShowPromptScreen(seen);
    cb_setWaitForCardRemoval(seen);
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
  }
  void TearDown() override {
    ecr_cleanup(&ctx);
    zq::app::utils::registerCustomSleep(nullptr);
  }

  EcrCtx_s* ctx = nullptr;
};

// The run is cut into lanes, each its own process under CTest with a seed of
// its own, so that the link's waits of several lanes overlap.
constexpr int kLanes = 4;

TEST_P(SoakTest, PurchasesSurviveRandomLineAndTerminalFaults) {
  const int lane = GetParam();
  const uint64_t total = envNumber("ZQ_SOAK_TRANSACTIONS", 1600);
  const uint64_t transactions = (total + kLanes - 1) / kLanes;
  const uint32_t baseSeed = static_cast<uint32_t>(envNumber("ZQ_SOAK_SEED", 20240315));
  const uint32_t seed = baseSeed + static_cast<uint32_t>(lane);
  const uint32_t timeoutMs = std::max<uint32_t>(2, static_cast<uint32_t>(envNumber("ZQ_SOAK_TIMEOUT_MS", 100)));
  const bool verbose = std::getenv("ZQ_SOAK_VERBOSE") != nullptr;
  // The lane filter adds the lane to the seed again: name the base seed.
  const std::string seedText = "rerun with ZQ_SOAK_SEED=" + std::to_string(baseSeed) +
                               " ZQ_SOAK_TRANSACTIONS=" + std::to_string(total) + " --gtest_filter=*/" +
                               std::to_string(lane) + " (add ZQ_SOAK_VERBOSE=1 for every transaction)";
  std::printf("soak lane %d: %" PRIu64 " transactions, seed %u (%u + lane), link time-out %u ms\n", lane,
              transactions, seed, baseSeed, timeoutMs);
  std::mt19937 rng(seed);

  const zq::test::PurchaseDetails sale;
  const std::vector<PeerStep> clean = zq::test::purchaseScript(sale);
  // Each exchange ends within its time-out (and a last look of a
  // millisecond); the margin is for a busy machine.
  const auto bound = std::chrono::milliseconds(clean.size() * (timeoutMs + 1) + 2000);
  TerminalSimulator terminal;
  ecr_setProtocol(ctx, 0);
  ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", terminal.port(), timeoutMs), ECR_OK);

  // The codes a terminal command answers once its context is set up.
  const std::set<ecr_status> documented = {ECR_OK, ECR_ERROR, ECR_COMM_ERROR, ECR_NO_DATA, ECR_EMPTY};
  std::map<std::string, std::map<int, int>> outcomes;      // fault -> code -> count
  std::map<std::string, std::pair<double, int>> elapsed;  // fault -> total ms, count
  std::map<std::string, int> recoveredAfter;               // fault -> clean successes right after it
  Watchdog watchdog(static_cast<int>(envNumber("ZQ_SOAK_STALL_SECONDS", 30)), seedText);
  std::string previous = "none";
  Fault previousFault = Fault::None;
  int failures = 0;
  int late = 0;

  for (uint64_t n = 0; n < transactions && failures < 5; ++n) {
    // Half the transactions carry a fault, never two in a row: the one after
    // a fault is clean and must succeed.
    const bool faulty = previousFault == Fault::None && rng() % 2 == 0;
    const Fault fault =
        faulty ? static_cast<Fault>(1 + rng() % (static_cast<unsigned>(Fault::Count) - 1)) : Fault::None;
    std::vector<PeerStep> script = clean;
    const Injected injected = fault == Fault::None ? Injected{"clean", true} : inject(rng, fault, script, timeoutMs);
    watchdog.progress(n, injected.what);

    terminal.clearScript();
    const size_t mismatchesBefore = terminal.mismatches().size();
    const size_t stepsBefore = terminal.stepsDone();
    const size_t requestsBefore = terminal.requests().size();
    const int lateBefore = terminal.lateCount();
    for (const PeerStep& step : script) terminal.addStep(step);

    // Replies replace the kind, the amount and the title; the host sets
    // them every time (an empty title: this host uses none).
    ASSERT_EQ(ecr_setCashRegisterId(ctx, "1", 1), ECR_OK);
    ASSERT_EQ(ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE), ECR_OK);
    ASSERT_EQ(ecr_setTransactionAmount(ctx, sale.amount.c_str()), ECR_OK);
    ASSERT_EQ(ecr_setTransactionTitle(ctx, ""), ECR_OK);

    const auto started = std::chrono::steady_clock::now();
    const ecr_status status = ecr_startTransaction(ctx);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
    // After a failure the terminal may still be busy with what the library
    // left; let it finish, so that its lateness is known and it cannot use
    // up the next transaction's script.
    if (status != ECR_OK) terminal.settle(5000);
    const char* name = faultName(fault);
    ++outcomes[name][static_cast<int>(status)];
    elapsed[name].first += took.count();
    ++elapsed[name].second;
    if (verbose) {
      std::printf("soak: transaction %" PRIu64 " (%s) answered %d in %.1f ms\n%s", n, injected.what.c_str(),
                  static_cast<int>(status), took.count(), status != ECR_OK ? recentLog().c_str() : "");
    }

    const auto judge = [&]() -> std::string {
      const std::vector<Bytes> requests = terminal.requests();
      for (size_t i = requestsBefore; i < requests.size(); ++i) {
        if (!isPurchaseRequest(requests[i], clean)) return "sent [" + printable(requests[i]) + "], not what the host set";
      }
      if (documented.count(status) == 0) return "answered " + std::to_string(status) + ", not a code of the command";
      if (took > bound) {
        return "took " + std::to_string(static_cast<long>(took.count())) + " ms, beyond the time-outs of its exchanges";
      }
      if (terminal.badLrcCount() != 0) return "sent a frame with a wrong LRC";
      if (!injected.recoverable) return "";
      if (status != ECR_OK) return "answered " + std::to_string(status) + " after " + previous + ", where it must succeed";
      ecr_transactionResult result = ECR_TRANSACTION_RESULT_7;
      if (terminal.mismatches().size() != mismatchesBefore) return "requests off the script: " + terminal.mismatches().back();
      if (!terminal.waitForSteps(stepsBefore + clean.size(), 1000)) return "the script was not used up";
      if (ecr_readTransactionResult(ctx, &result) != ECR_OK || result != ECR_TRANSACTION_RESULT_0) {
        return "the purchase reads back no accepted result";
      }
      return "";
    };
    std::string wrong = judge();
    if (!wrong.empty() && injected.recoverable && status != ECR_OK) {
      // A terminal that itself answered after the time-out, or too late to
      // answer at all: the load's doing.
      const std::vector<double> answers = terminal.answerTimes();
      std::string lateness;
      for (size_t i = stepsBefore; i < answers.size() && lateness.empty(); ++i) {
        if (answers[i] >= timeoutMs - 1.0) {
          lateness = "answered step " + std::to_string(i - stepsBefore) + " after " +
                     std::to_string(static_cast<long>(answers[i])) + " ms";
        }
      }
      if (lateness.empty() && terminal.lateCount() != lateBefore) lateness = "came to a request too late to answer it";
      if (!lateness.empty()) {
        ++late;
        std::printf("soak: transaction %" PRIu64 " (%s): the terminal %s; not counted\n", n, injected.what.c_str(),
                    lateness.c_str());
        wrong.clear();
      }
    }
    if (!wrong.empty()) {
      ++failures;
      ADD_FAILURE() << "transaction " << n << " (" << injected.what << "): " << wrong << "; " << seedText << "\n"
                    << recentLog();
    } else if (fault == Fault::None && status == ECR_OK && previousFault != Fault::None) {
      ++recoveredAfter[faultName(previousFault)];
    }
    previous = injected.what;
    previousFault = fault;
  }

  std::printf("soak lane %d: outcomes by fault (code x count, clean successes right after); %" PRIu64
              " log lines; %d late answers; peak RSS %ld KB\n",
              lane, loggedLines, late, peakRssKb());
  for (const auto& [fault, codes] : outcomes) {
    std::string line;
    for (const auto& [code, count] : codes) line += " " + std::to_string(code) + "x" + std::to_string(count);
    const auto& [sum, count] = elapsed[fault];
    const std::string after = fault == "none" ? "" : "  then " + std::to_string(recoveredAfter[fault]) + " ok";
    std::printf("  %-26s%-18s %7.1f ms each%s\n", fault.c_str(), line.c_str(), sum / count, after.c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(Lanes, SoakTest, ::testing::Range(0, kLanes));

}  // namespace

// The library's cost of whole operations, driven through the exported
// functions against the scripted terminal on loopback, next to the floor
// under it and to the time the same bytes take on the terminal's line.
//
// The pauses between requests go through the replaceable sleep and are
// skipped; the waits on the socket remain, so the real time is the looks at
// the line and the terminal's answers, and the CPU time of the calling
// thread (the terminal runs on a thread of its own) is the library's cost.
// Each iteration also exchanges the same bytes through a bare socket client
// (BareSocketClient) with a second scripted terminal, twice: once bare (send,
// read the reply), and once with the waits the protocol asks for (the
// millisecond's look at the line before each request that the library makes
// one for, then the reply read as it arrives). These are the two floors,
// measured in the same run under the same load. Each benchmark runs at the
// trace level (what the fixture log4crc gives) and at errors-only (every
// category at error, as tests/fixtures/errors-only).
// Counters, per operation unless named otherwise:
//   exchanges, bytes                request/reply pairs; bytes sent and received
//   cpu_us, cpu_us_per_exchange     the library's CPU time
//   floor_us_per_exchange           the bare client's CPU time
//   floor_ratio                     cpu_us_per_exchange / floor_us_per_exchange
//   protocol_floor_us_per_exchange  the CPU time of the bare client with the protocol's waits
//   protocol_floor_ratio            cpu_us_per_exchange / protocol_floor_us_per_exchange
//   wall_ms, protocol_floor_wall_ms the real time of the library's operation and of the
//                                   client with the protocol's waits
//   cpu_ns_per_byte                 the library's CPU time over the bytes
//   wire_ms_9600, wire_ms_115200    the bytes at 10 bits each (8N1)
//   wire_per_cpu_9600, wire_per_cpu_115200   how many times the line time
//                                            exceeds the CPU time
#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "benchmarks/BareSocketClient.h"
#include "benchmarks/Till.h"
#include "support/PurchaseScript.h"

namespace {

using zq::bench::BareSocketClient;
using zq::bench::LogLevel;
using zq::bench::Till;
using zq::test::PeerStep;
using zq::test::TerminalSimulator;

double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double wallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// CPU and real time of one run.
struct Spent {
  double cpu = 0;
  double wall = 0;
  Spent& operator+=(const Spent& other) {
    cpu += other.cpu;
    wall += other.wall;
    return *this;
  }
};

// Bytes the terminal puts on the line for a script: every reply frame (a
// clean script adds no faults).
size_t terminalBytes(const std::vector<PeerStep>& script) {
  size_t total = 0;
  for (const PeerStep& step : script) total += TerminalSimulator::frame(step.reply).size();
  return total;
}

LogLevel levelOf(const benchmark::State& state) {
  return state.range(0) == 0 ? LogLevel::Trace : LogLevel::ErrorsOnly;
}

// The same requests and replies as the library's, through the bare client;
// `looks` says whether the library looks at the line before each request of
// the operation (it does before the requests of a transaction and a status
// read, not before a report's).
class Floor {
 public:
  Floor(const std::vector<PeerStep>& script, BareSocketClient::Look looks) : script_(script), looks_(looks) {
    ok_ = client_.connect(terminal_.port());
  }
  bool ok() const { return ok_; }
  // One run of the script, bare or with the protocol's looks; a negative CPU
  // time on failure.
  Spent run(BareSocketClient::Look look) {
    terminal_.clearScript();
    for (const PeerStep& step : script_) terminal_.addStep(step);
    const double cpuStarted = threadCpuSeconds();
    const double wallStarted = wallSeconds();
    for (const PeerStep& step : script_) {
      if (!client_.exchange(TerminalSimulator::frame(*step.expect), TerminalSimulator::frame(step.reply).size(),
                            look)) {
        return {-1, 0};
      }
    }
    return {threadCpuSeconds() - cpuStarted, wallSeconds() - wallStarted};
  }
  Spent runBare() { return run(BareSocketClient::NoLook); }
  Spent runWithProtocolWaits() { return run(looks_); }

 private:
  std::vector<PeerStep> script_;
  BareSocketClient::Look looks_;
  TerminalSimulator terminal_;
  BareSocketClient client_;
  bool ok_ = false;
};

// One operation of the library against its script per iteration, and the
// floor of the same script.
void measure(benchmark::State& state, Till& till, const std::vector<PeerStep>& script,
             BareSocketClient::Look looks, const std::function<ecr_status()>& operation) {
  Floor floor(script, looks);
  if (!till.ok() || !floor.ok()) {
    state.SkipWithError("the till or the bare client did not start");
    return;
  }
  Till::setLogLevel(levelOf(state));
  const size_t receivedBefore = till.terminal().received().size();
  Spent library;
  Spent bare;
  Spent withWaits;
  for (auto _ : state) {
    state.PauseTiming();
    till.load(script);
    state.ResumeTiming();
    const double cpuStarted = threadCpuSeconds();
    const double wallStarted = wallSeconds();
    const ecr_status status = operation();
    library += {threadCpuSeconds() - cpuStarted, wallSeconds() - wallStarted};
    state.PauseTiming();
    const Spent bareRun = floor.runBare();
    const Spent waitsRun = floor.runWithProtocolWaits();
    state.ResumeTiming();
    if (status != ECR_OK || bareRun.cpu < 0 || waitsRun.cpu < 0) {
      state.SkipWithError(status != ECR_OK ? "the operation failed" : "the bare exchange failed");
      return;
    }
    bare += bareRun;
    withWaits += waitsRun;
  }
  Till::setLogLevel(LogLevel::Trace);

  const double operations = static_cast<double>(state.iterations());
  const double exchanges = static_cast<double>(script.size());
  const double sent = static_cast<double>(till.terminal().received().size() - receivedBefore) / operations;
  const double bytes = sent + static_cast<double>(terminalBytes(script));
  const double cpuEach = library.cpu / operations;
  const double floorEach = bare.cpu / operations;
  const double protocolFloorEach = withWaits.cpu / operations;
  const double wire9600 = bytes * 10.0 / 9600.0;
  const double wire115200 = bytes * 10.0 / 115200.0;
  state.SetLabel(zq::bench::levelName(levelOf(state)));
  state.counters["exchanges"] = exchanges;
  state.counters["bytes"] = bytes;
  state.counters["cpu_us"] = cpuEach * 1e6;
  state.counters["cpu_us_per_exchange"] = cpuEach * 1e6 / exchanges;
  state.counters["floor_us_per_exchange"] = floorEach * 1e6 / exchanges;
  state.counters["floor_ratio"] = cpuEach / floorEach;
  state.counters["protocol_floor_us_per_exchange"] = protocolFloorEach * 1e6 / exchanges;
  state.counters["protocol_floor_ratio"] = cpuEach / protocolFloorEach;
  state.counters["wall_ms"] = library.wall * 1e3 / operations;
  state.counters["protocol_floor_wall_ms"] = withWaits.wall * 1e3 / operations;
  state.counters["cpu_ns_per_byte"] = cpuEach * 1e9 / bytes;
  state.counters["wire_ms_9600"] = wire9600 * 1e3;
  state.counters["wire_ms_115200"] = wire115200 * 1e3;
  state.counters["wire_per_cpu_9600"] = wire9600 / cpuEach;
  state.counters["wire_per_cpu_115200"] = wire115200 / cpuEach;
}

// One whole purchase: 11 exchanges, one context and one link for all
// iterations, as a till keeps them.
void BM_Purchase(benchmark::State& state) {
  Till till;
  const zq::test::PurchaseDetails sale;
  if (!till.ok() || ecr_setTransactionType(till.ctx(), ECR_TRANSACTION_PURCHASE) != ECR_OK ||
      ecr_setTransactionAmount(till.ctx(), sale.amount.c_str()) != ECR_OK) {
    state.SkipWithError("the till did not start");
    return;
  }
  measure(state, till, zq::test::purchaseScript(sale), BareSocketClient::LookFirst,
          [&] { return ecr_startTransaction(till.ctx()); });
}
BENCHMARK(BM_Purchase)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One status read: the smallest exchange, for the cost of an exchange alone.
void BM_StatusRead(benchmark::State& state) {
  Till till;
  const std::vector<PeerStep> script = {
      TerminalSimulator::step(zq::test::statusRequest('1'), zq::test::statusReply(0x00))};
  measure(state, till, script, BareSocketClient::LookFirst, [&] { return ecr_getTerminalStatus(till.ctx()); });
}
BENCHMARK(BM_StatusRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A report total of 300 entries, about 8 KB in one reply: the cost a byte.
std::vector<uint8_t> longReportReply() {
  std::string summary = "Transactions report";
  for (int entry = 0; entry < 300; ++entry) {
    summary += ",CARD SCHEME " + std::to_string(entry) + "|" + std::to_string(entry * 7 % 1000) + "|" +
               std::to_string(1250L * (entry + 1));
  }
  return TerminalSimulator::fields({"32", "0", summary});
}

void BM_LongReport(benchmark::State& state) {
  Till till;
  const std::vector<PeerStep> script = {
      TerminalSimulator::step(TerminalSimulator::fields({"32", "1"}), longReportReply())};
  measure(state, till, script, BareSocketClient::NoLook, [&] { return ecr_getReportTotalSummary(till.ctx()); });
}
BENCHMARK(BM_LongReport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

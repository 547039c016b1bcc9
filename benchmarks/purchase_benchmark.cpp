// The library's cost of one whole purchase, driven through the exported
// functions against the scripted terminal on loopback, next to the time the
// same bytes take on the terminal's line.
//
// The pauses between requests go through the replaceable sleep and are
// skipped; the waits on the socket remain, so the real time says little and
// the CPU time of the calling thread (the terminal runs on a thread of its
// own) is the library's cost. Counters, per transaction unless named
// otherwise:
//   exchanges           request/reply pairs of the purchase
//   bytes               bytes sent and received (frames and control bytes)
//   cpu_us, cpu_us_per_exchange     the library's CPU time
//   wire_ms_9600, wire_ms_115200    the bytes at 10 bits each (8N1)
//   wire_per_cpu_9600, wire_per_cpu_115200   how many times the line time
//                                            exceeds the CPU time
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdint>
#include <vector>

#include "core/Sleep.h"
#include "support/PurchaseScript.h"
#include "support/TerminalSimulator.h"
#include "zumbra_callbacks.h"
#include "zumbra_ecr.h"

namespace {

using zq::test::PeerStep;
using zq::test::TerminalSimulator;

void ignorePause(unsigned) {}
bool yes(const char*) { return true; }
void seen(const char*) {}

double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Bytes the terminal puts on the line for a script: every reply frame and
// whatever its faults add (none in a clean script).
size_t terminalBytes(const std::vector<PeerStep>& script) {
  size_t total = 0;
  for (const PeerStep& step : script) total += TerminalSimulator::frame(step.reply).size();
  return total;
}

void setCounters(benchmark::State& state, double cpuSeconds, size_t bytes, size_t exchanges) {
  const double transactions = static_cast<double>(state.iterations());
  const double cpu = cpuSeconds / transactions;
  const double perTransactionBytes = static_cast<double>(bytes) / transactions;
  const double wire9600 = perTransactionBytes * 10.0 / 9600.0;
  const double wire115200 = perTransactionBytes * 10.0 / 115200.0;
  state.counters["exchanges"] = static_cast<double>(exchanges);
  state.counters["bytes"] = perTransactionBytes;
  state.counters["cpu_us"] = cpu * 1e6;
  state.counters["cpu_us_per_exchange"] = cpu * 1e6 / static_cast<double>(exchanges);
  state.counters["wire_ms_9600"] = wire9600 * 1e3;
  state.counters["wire_ms_115200"] = wire115200 * 1e3;
  state.counters["wire_per_cpu_9600"] = wire9600 / cpu;
  state.counters["wire_per_cpu_115200"] = wire115200 / cpu;
}

// One context and one link for all iterations, as a till keeps them.
class Till {
 public:
  Till() {
    zq::app::utils::registerCustomSleep(ignorePause);
    cb_setWaitForCard(yes);
    cb_setWaitForPin(yes);
    cb_setShowPromptScreen(seen);
    cb_setWaitForCardRemoval(seen);
    ok_ = ecr_initialize(&ctx_) == ECR_OK;
    if (!ok_) return;
    ecr_setProtocol(ctx_, 0);
    ok_ = ecr_setTcpIpLink(ctx_, "127.0.0.1", terminal_.port(), 2000) == ECR_OK &&
          ecr_setCashRegisterId(ctx_, "1", 1) == ECR_OK;
  }
  ~Till() {
    ecr_cleanup(&ctx_);
    zq::app::utils::registerCustomSleep(nullptr);
  }
  bool ok() const { return ok_; }
  EcrCtx_s* ctx() { return ctx_; }
  TerminalSimulator& terminal() { return terminal_; }

 private:
  TerminalSimulator terminal_;
  EcrCtx_s* ctx_ = nullptr;
  bool ok_ = false;
};

void BM_Purchase(benchmark::State& state) {
  Till till;
  const zq::test::PurchaseDetails sale;
  const std::vector<PeerStep> script = zq::test::purchaseScript(sale);
  if (!till.ok() || ecr_setTransactionType(till.ctx(), ECR_TRANSACTION_PURCHASE) != ECR_OK ||
      ecr_setTransactionAmount(till.ctx(), sale.amount.c_str()) != ECR_OK) {
    state.SkipWithError("the till did not start");
    return;
  }
  const size_t receivedBefore = till.terminal().received().size();
  double cpu = 0;
  for (auto _ : state) {
    state.PauseTiming();
    till.terminal().clearScript();
    for (const PeerStep& step : script) till.terminal().addStep(step);
    state.ResumeTiming();
    const double started = threadCpuSeconds();
    const ecr_status status = ecr_startTransaction(till.ctx());
    cpu += threadCpuSeconds() - started;
    if (status != ECR_OK) {
      state.SkipWithError("the purchase failed");
      return;
    }
  }
  const size_t sent = till.terminal().received().size() - receivedBefore;
  const size_t received = terminalBytes(script) * static_cast<size_t>(state.iterations());
  setCounters(state, cpu, sent + received, script.size());
}
BENCHMARK(BM_Purchase)->Unit(benchmark::kMillisecond);

// One status read: the smallest exchange, for the cost of an exchange alone.
void BM_StatusRead(benchmark::State& state) {
  Till till;
  if (!till.ok()) {
    state.SkipWithError("the till did not start");
    return;
  }
  const PeerStep step = TerminalSimulator::step(zq::test::statusRequest('1'), zq::test::statusReply(0x00));
  const size_t receivedBefore = till.terminal().received().size();
  double cpu = 0;
  for (auto _ : state) {
    state.PauseTiming();
    till.terminal().addStep(step);
    state.ResumeTiming();
    const double started = threadCpuSeconds();
    const ecr_status status = ecr_getTerminalStatus(till.ctx());
    cpu += threadCpuSeconds() - started;
    if (status != ECR_OK) {
      state.SkipWithError("the status read failed");
      return;
    }
  }
  const size_t sent = till.terminal().received().size() - receivedBefore;
  const size_t received = terminalBytes({step}) * static_cast<size_t>(state.iterations());
  setCounters(state, cpu, sent + received, 1);
}
BENCHMARK(BM_StatusRead)->Unit(benchmark::kMillisecond);

}  // namespace

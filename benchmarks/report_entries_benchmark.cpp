// The cost of reading a report section entry by entry, as a host and the
// report printouts do, for sections of 2,500 to 10,000 entries: the section
// comes once from the scripted terminal on loopback (not measured), then
// every iteration reads all of its entries with ecr_readReportEntry, or
// prints it as a short summary. The time of one entry should not grow with
// the number of entries before it, so the per-entry counter should stay flat
// across the sizes.
// Arguments: entries, and the log level (0 trace as the fixture log4crc
// gives, 1 errors-only).
// Counters:
//   ns_per_entry    time of one entry (read, or read and printed); all of it
//                   is this thread's work, the terminal is idle by then
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "benchmarks/Till.h"
#include "zumbra_printout.h"

namespace {

using zq::bench::LogLevel;
using zq::bench::Till;
using zq::test::TerminalSimulator;

LogLevel levelOf(const benchmark::State& state) {
  return state.range(1) == 0 ? LogLevel::Trace : LogLevel::ErrorsOnly;
}

// Nanoseconds of one entry over all iterations.
double perEntry(double seconds, int64_t entries, const benchmark::State& state) {
  const double total = static_cast<double>(entries) * static_cast<double>(state.iterations());
  return total > 0 ? seconds * 1e9 / total : 0;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A report total of `entries` short entries ("S|1|1"); 10,000 of them fill
// most of the 64 KB a reply may take.
std::vector<uint8_t> sectionReply(int64_t entries) {
  std::string summary = "Totals";
  for (int64_t i = 0; i < entries; ++i) summary += ",S|1|1";
  return TerminalSimulator::fields({"32", "0", summary});
}

// The section in the terminal context; false when the terminal did not
// deliver it.
bool fetchSection(Till& till, int64_t entries) {
  if (!till.ok()) return false;
  till.load({TerminalSimulator::step(TerminalSimulator::fields({"32", "1"}), sectionReply(entries))});
  return ecr_getReportTotalSummary(till.ctx()) == ECR_OK;
}

void BM_ReadReportEntries(benchmark::State& state) {
  Till till;
  const int64_t entries = state.range(0);
  if (!fetchSection(till, entries)) {
    state.SkipWithError("the section did not arrive");
    return;
  }
  Till::setLogLevel(levelOf(state));
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    for (int64_t id = 1; id <= entries; ++id) {
      uint8_t name[64];
      size_t nameLength = sizeof name;
      uint32_t count = 0;
      int64_t amount = 0;
      if (ecr_readReportEntry(till.ctx(), static_cast<size_t>(id), name, &nameLength, &count, &amount) !=
          ECR_OK) {
        state.SkipWithError("an entry could not be read");
        break;
      }
      benchmark::DoNotOptimize(amount);
    }
    seconds += secondsSince(start);
  }
  Till::setLogLevel(LogLevel::Trace);
  state.SetLabel(zq::bench::levelName(levelOf(state)));
  state.counters["ns_per_entry"] = perEntry(seconds, entries, state);
}
BENCHMARK(BM_ReadReportEntries)
    ->ArgsProduct({{2500, 5000, 10000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ShortSummaryPrintout(benchmark::State& state) {
  Till till;
  const int64_t entries = state.range(0);
  PrintoutCtx_s* printout = nullptr;
  if (!fetchSection(till, entries) || pr_initPrintoutCtx(&printout) != 0) {
    state.SkipWithError("the section or the printout context is missing");
    return;
  }
  Till::setLogLevel(levelOf(state));
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (pr_prepareShortSummary(printout, till.ctx()) != 0) {
      state.SkipWithError("the printout failed");
      break;
    }
    seconds += secondsSince(start);
  }
  Till::setLogLevel(LogLevel::Trace);
  pr_cleanPrintoutCtx(&printout);
  state.SetLabel(zq::bench::levelName(levelOf(state)));
  state.counters["ns_per_entry"] = perEntry(seconds, entries, state);
}
BENCHMARK(BM_ShortSummaryPrintout)
    ->ArgsProduct({{2500, 10000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

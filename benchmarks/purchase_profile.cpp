// Runs whole purchases through ecr_startTransaction against the scripted
// terminal, for a profiler and for the heap's size over many purchases
// (scripts/callgrind.sh, scripts/heap-check.sh):
//
//   purchase_profile [--purchases N] [--level trace|errors-only] [--heap-at N,N,...] [--port P]
//   purchase_profile [--purchases N] --write-script FILE
//
// One purchase runs first as a warm-up (first-use tables, the first
// connection); then the N measured purchases run inside measuredPurchases(),
// the function a profiler collects (callgrind --toggle-collect). The terminal
// runs on a thread of this process, or, with --port, in another process
// (zq_terminal_simulator with the script that --write-script writes for the
// warm-up and N purchases), so that this process's heap is the library's.
// --heap-at prints the heap in use after the given purchase numbers. Exit
// status 1 when a purchase fails.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "benchmarks/Till.h"
#include "support/PurchaseScript.h"

namespace {

using zq::bench::LogLevel;
using zq::bench::Till;
using zq::test::PeerStep;
using zq::test::TerminalSimulator;

struct Options {
  unsigned purchases = 20;
  LogLevel level = LogLevel::Trace;
  std::set<unsigned> heapAt;
  unsigned long port = 0;
  const char* scriptFile = nullptr;
};

bool parseList(const char* text, std::set<unsigned>& numbers) {
  for (const char* p = text; *p != '\0';) {
    char* end = nullptr;
    const unsigned long number = std::strtoul(p, &end, 10);
    if (end == p) return false;
    numbers.insert(static_cast<unsigned>(number));
    p = *end == ',' ? end + 1 : end;
  }
  return true;
}

bool parse(int argc, char** argv, Options& options) {
  if (argc % 2 == 0) return false;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const char* value = argv[i + 1];
    if (name == "--purchases") {
      options.purchases = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
    } else if (name == "--level" && std::strcmp(value, "trace") == 0) {
      options.level = LogLevel::Trace;
    } else if (name == "--level" && std::strcmp(value, "errors-only") == 0) {
      options.level = LogLevel::ErrorsOnly;
    } else if (name == "--heap-at") {
      if (!parseList(value, options.heapAt)) return false;
    } else if (name == "--port") {
      options.port = std::strtoul(value, nullptr, 10);
      if (options.port == 0 || options.port > 65535) return false;
    } else if (name == "--write-script") {
      options.scriptFile = value;
    } else {
      return false;
    }
  }
  return true;
}

// The terminal's side of the warm-up and every measured purchase, in the
// simulator's script format.
bool writeScript(const char* path, const std::vector<PeerStep>& purchase, unsigned purchases) {
  std::ofstream out(path);
  for (unsigned i = 0; i <= purchases; ++i) {
    for (const PeerStep& step : purchase) {
      out << "expect " << TerminalSimulator::escape(*step.expect) << "\n"
          << "reply " << TerminalSimulator::escape(step.reply) << "\n";
    }
  }
  return static_cast<bool>(out);
}

bool purchase(Till& till, const std::vector<PeerStep>& script) {
  till.load(script);
  return ecr_startTransaction(till.ctx()) == ECR_OK;
}

// Not inlined, so a profiler can collect exactly this call.
__attribute__((noinline)) unsigned measuredPurchases(Till& till, const std::vector<PeerStep>& script,
                                                     const Options& options) {
  for (unsigned done = 1; done <= options.purchases; ++done) {
    if (!purchase(till, script)) return done - 1;
    if (options.heapAt.count(done) != 0) {
      std::printf("heap in use after purchase %u: %zu bytes\n", done, mallinfo2().uordblks);
      std::fflush(stdout);
    }
  }
  return options.purchases;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: %s [--purchases N] [--level trace|errors-only] [--heap-at N,N,...] [--port P]\n"
                 "       %s [--purchases N] --write-script FILE\n",
                 argv[0], argv[0]);
    return 2;
  }
  const zq::test::PurchaseDetails sale;
  const std::vector<PeerStep> script = zq::test::purchaseScript(sale);
  if (options.scriptFile != nullptr) return writeScript(options.scriptFile, script, options.purchases) ? 0 : 1;

  Till till = options.port != 0 ? Till(static_cast<uint16_t>(options.port)) : Till();
  if (!till.ok() || ecr_setTransactionType(till.ctx(), ECR_TRANSACTION_PURCHASE) != ECR_OK ||
      ecr_setTransactionAmount(till.ctx(), sale.amount.c_str()) != ECR_OK) {
    std::fprintf(stderr, "the till did not start\n");
    return 1;
  }
  Till::setLogLevel(options.level);
  if (!purchase(till, script)) {
    std::fprintf(stderr, "the warm-up purchase failed\n");
    return 1;
  }
  // Printed before the first figure, so that the output's own buffer is in
  // every figure, not only in those after the first.
  std::printf("measuring %u purchases\n", options.purchases);
  std::fflush(stdout);
  const unsigned done = measuredPurchases(till, script, options);
  std::printf("%u purchases at %s, %zu exchanges each\n", done, zq::bench::levelName(options.level), script.size());
  return done == options.purchases ? 0 : 1;
}

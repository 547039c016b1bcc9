// Calls that would destroy a context, or take it over, while another call
// runs on it: ecr_cleanup, pr_cleanPrintoutCtx, ecr_closeConnection, the
// link and protocol setters and a second command (and, while a printout is
// built, the other printout functions), made from each kind of callback a
// running call raises (a log line of each family, a status change, a prompt,
// the reads of a printout, the printout's own command) and from a second
// thread while the call waits in such a callback; during a purchase, a
// reader and a printout.
// Every one is refused with its code and line, the running call goes on to
// its normal end, and nothing is freed under it: the sanitizer build runs
// the same table and would report the use of freed memory.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "api/EcrTestHelpers.h"
#include "core/Sleep.h"
#include "core/TagNames.h"
#include "support/PurchaseScript.h"
#include "support/TerminalSimulator.h"
#include "zumbra_callbacks.h"
#include "zumbra_ecr.h"
#include "zumbra_printout.h"

namespace {

using zq::test::TerminalSimulator;

const char kEcrBusy[] = "ECR context busy, call refused";
const char kPrintoutBusy[] = "Printout context busy, call refused";

// The call that runs when the callback comes.
enum class During { PURCHASE, READER, PRINTOUT };

// The callback the action is made from.
enum class Raised { DEV_LINE, COMM_LINE, BUS_LINE, STATUS_CHANGE, PROMPT };

enum class Action {
  ECR_CLEANUP,
  PRINTOUT_CLEANUP,
  CLOSE_CONNECTION,
  NEW_LINK,
  NEW_PROTOCOL,
  SECOND_COMMAND,
  // The other calls on a printout context, and printouts, while one is built.
  LINE_LENGTH,
  NEXT_LINE,
  LINE_COUNT,
  SECOND_PRINTOUT,
  PRINTOUT_ON_OTHER_CONTEXTS,
};

struct Row {
  std::string name;
  During during;
  Raised raised;
  // The message of the log line that raises it; empty: the first line of
  // its family during the call.
  std::string line;
  Action action;
  bool otherThread;  // made by a second thread while the call waits in the callback
};

// What the clean-ups answer when they left the context alone.
constexpr int kHandleKept = 100;
constexpr int kHandleCleared = 101;

struct Expected {
  int answer;
  const char* busyLine;
  size_t busyLines = 1;  // how often the line is logged
};

Expected refusalOf(const Row& row) {
  switch (row.action) {
    case Action::ECR_CLEANUP:
      return {kHandleKept, kEcrBusy};
    case Action::PRINTOUT_CLEANUP:
      return {kHandleKept, kPrintoutBusy};
    case Action::CLOSE_CONNECTION:
    case Action::NEW_LINK:
    case Action::SECOND_COMMAND:
      return {ECR_INVALID_ARGUMENT, kEcrBusy};
    case Action::NEW_PROTOCOL:
      // It answers nothing: the line says it refused, and the purchase's
      // data still being there afterwards says the protocol stayed.
      return {0, kEcrBusy};
    case Action::LINE_COUNT:
      // A count: a printout still being built has none to offer.
      return {0, kPrintoutBusy};
    case Action::SECOND_PRINTOUT:
      // Inside a command a printout only reads: it is built, but the
      // command it would run for each piece of the terminal's identity
      // still missing at the first prompt (address, terminal and merchant
      // ID) is refused.
      if (row.during == During::PURCHASE) return {0, kEcrBusy, 3};
      break;
    case Action::LINE_LENGTH:
    case Action::NEXT_LINE:
    case Action::PRINTOUT_ON_OTHER_CONTEXTS:
      break;
  }
  return {1, kPrintoutBusy};
}

// The state the callbacks see. The action runs once, on the first callback
// of the row's kind raised on the thread of the running call.
struct World {
  EcrCtx_s* ecr = nullptr;
  PrintoutCtx_s* printout = nullptr;
  // Contexts no call uses, for a printout of their own.
  EcrCtx_s* otherEcr = nullptr;
  PrintoutCtx_s* otherPrintout = nullptr;
  uint16_t refusedPort = 0;  // where a new link would go
  const Row* row = nullptr;
  std::thread::id callThread;
  bool armed = false;
  bool fired = false;
  int answer = -1;
} g;

std::mutex gLinesMutex;
std::vector<std::string> gBusLines;  // from every thread

bool endsWithMessage(const std::string& line, const std::string& message) {
  const std::string tail = "- " + message + "\n";
  return line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
}

size_t busLinesWith(const std::string& message) {
  std::lock_guard<std::mutex> lock(gLinesMutex);
  size_t count = 0;
  for (const std::string& line : gBusLines) count += endsWithMessage(line, message) ? 1 : 0;
  return count;
}

int act(Action action) {
  switch (action) {
    case Action::ECR_CLEANUP: {
      EcrCtx_s* handle = g.ecr;
      ecr_cleanup(&handle);
      return handle == g.ecr ? kHandleKept : kHandleCleared;
    }
    case Action::PRINTOUT_CLEANUP: {
      PrintoutCtx_s* handle = g.printout;
      pr_cleanPrintoutCtx(&handle);
      return handle == g.printout ? kHandleKept : kHandleCleared;
    }
    case Action::CLOSE_CONNECTION:
      return ecr_closeConnection(g.ecr);
    case Action::NEW_LINK:
      return ecr_setTcpIpLink(g.ecr, "127.0.0.1", g.refusedPort, 50);
    case Action::NEW_PROTOCOL:
      ecr_setProtocol(g.ecr, 0);
      return 0;
    case Action::SECOND_COMMAND:
      return ecr_getTerminalStatus(g.ecr);
    case Action::LINE_LENGTH:
      return static_cast<int>(pr_setNormalLineLen(g.printout, 20));
    case Action::NEXT_LINE: {
      pr_Line line{};
      return static_cast<int>(pr_getNextLine(g.printout, &line));
    }
    case Action::LINE_COUNT:
      return static_cast<int>(pr_getNumberOfLines(g.printout));
    case Action::SECOND_PRINTOUT:
      return static_cast<int>(pr_prepareTransactionPrintout(g.printout, g.ecr, true));
    case Action::PRINTOUT_ON_OTHER_CONTEXTS:
      return static_cast<int>(pr_prepareShortSummary(g.otherPrintout, g.otherEcr));
  }
  return -1;
}

void maybeAct(Raised raised, const char* line) {
  if (!g.armed || g.row->raised != raised || std::this_thread::get_id() != g.callThread) return;
  if (line != nullptr && !g.row->line.empty() && !endsWithMessage(line, g.row->line)) return;
  g.armed = false;
  g.fired = true;
  if (g.row->otherThread) {
    // The call waits in its callback until the other thread is done.
    std::thread other([] { g.answer = act(g.row->action); });
    other.join();
  } else {
    g.answer = act(g.row->action);
  }
}

void onDevLine(const char* line) { maybeAct(Raised::DEV_LINE, line); }
void onCommLine(const char* line) { maybeAct(Raised::COMM_LINE, line); }
void onBusLine(const char* line) {
  {
    std::lock_guard<std::mutex> lock(gLinesMutex);
    gBusLines.emplace_back(line);
  }
  maybeAct(Raised::BUS_LINE, line);
}
void onStatusChange(ecr_terminalStatus) { maybeAct(Raised::STATUS_CHANGE, nullptr); }
void onPrompt(const char*) { maybeAct(Raised::PROMPT, nullptr); }
bool yes(const char*) { return true; }
void skipPause(unsigned) {}

std::vector<Row> rows() {
  struct Source {
    const char* name;
    Raised raised;
    std::string line;
  };
  const std::vector<std::pair<During, std::vector<Source>>> sources = {
      {During::PURCHASE,
       {
           // The command's first line, logged before anything else it does.
           {"its first line", Raised::BUS_LINE, "Start transaction"},
           {"a developer line", Raised::DEV_LINE, ""},
           {"a communication line", Raised::COMM_LINE, ""},
           {"a status change", Raised::STATUS_CHANGE, ""},
           {"a prompt", Raised::PROMPT, ""},
       }},
      {During::READER,
       {
           {"its first line", Raised::BUS_LINE, "Read transaction type"},
           {"its value line", Raised::BUS_LINE, "Transaction type: 0"},
       }},
      {During::PRINTOUT,
       {
           {"its first line", Raised::BUS_LINE, ""},
           {"the first line of a read", Raised::BUS_LINE, "Read transaction type"},
           {"the line before its own command", Raised::BUS_LINE,
            "Requested terminal address was not present, attempt to retrieve it"},
           {"the first line of its own command", Raised::BUS_LINE, "Read terminal information data"},
           {"a communication line of its own command", Raised::COMM_LINE, ""},
           {"a developer line", Raised::DEV_LINE, ""},
       }},
  };
  // The callback in which the call waits while a second thread acts.
  const std::vector<std::pair<During, Source>> waits = {
      {During::PURCHASE, {"waits in a prompt", Raised::PROMPT, ""}},
      {During::READER, {"waits in its value line", Raised::BUS_LINE, "Transaction type: 0"}},
      {During::PRINTOUT, {"waits in a read", Raised::BUS_LINE, "Read transaction type"}},
  };
  const struct {
    const char* name;
    Action action;
  } actions[] = {{"ecr_cleanup", Action::ECR_CLEANUP},
                 {"pr_cleanPrintoutCtx", Action::PRINTOUT_CLEANUP},
                 {"ecr_closeConnection", Action::CLOSE_CONNECTION},
                 {"ecr_setTcpIpLink", Action::NEW_LINK},
                 {"ecr_setProtocol", Action::NEW_PROTOCOL},
                 {"a second command", Action::SECOND_COMMAND}};
  // Only while a printout is built, from a read, from inside its own
  // command and from another thread.
  const struct {
    const char* name;
    Action action;
  } printoutActions[] = {{"pr_setNormalLineLen", Action::LINE_LENGTH},
                         {"pr_getNextLine", Action::NEXT_LINE},
                         {"pr_getNumberOfLines", Action::LINE_COUNT},
                         {"a second printout", Action::SECOND_PRINTOUT},
                         {"a printout on other contexts", Action::PRINTOUT_ON_OTHER_CONTEXTS}};
  const std::vector<Source> printoutSources = {
      {"the first line of a read", Raised::BUS_LINE, "Read transaction type"},
      {"a communication line of its own command", Raised::COMM_LINE, ""},
  };
  const char* const duringName[] = {"a purchase", "a reader", "a printout"};

  std::vector<Row> table;
  // Only a printout holds a printout context.
  auto applies = [](During during, Action action) {
    return action != Action::PRINTOUT_CLEANUP || during == During::PRINTOUT;
  };
  for (const auto& [during, list] : sources) {
    for (const Source& source : list) {
      for (const auto& a : actions) {
        if (!applies(during, a.action)) continue;
        table.push_back({std::string(a.name) + " from " + source.name + " of " +
                             duringName[static_cast<int>(during)],
                         during, source.raised, source.line, a.action, false});
      }
    }
  }
  for (const auto& a : printoutActions) {
    for (const Source& source : printoutSources) {
      table.push_back({std::string(a.name) + " from " + source.name + " of a printout", During::PRINTOUT,
                       source.raised, source.line, a.action, false});
    }
    table.push_back({std::string(a.name) + " from another thread while a printout waits in a read",
                     During::PRINTOUT, Raised::BUS_LINE, "Read transaction type", a.action, true});
  }
  table.push_back({"a printout from a prompt of a purchase", During::PURCHASE, Raised::PROMPT, "",
                   Action::SECOND_PRINTOUT, false});
  for (const auto& [during, source] : waits) {
    for (const auto& a : actions) {
      if (!applies(during, a.action)) continue;
      table.push_back({std::string(a.name) + " from another thread while " +
                           duringName[static_cast<int>(during)] + " " + source.name,
                       during, source.raised, source.line, a.action, true});
    }
  }
  return table;
}

class ContextsInUseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zq::app::utils::registerCustomSleep(skipPause);
    cb_setHandleDevLog(onDevLine);
    cb_setHandleCommLog(onCommLine);
    cb_setHandleBusLog(onBusLine);
    cb_setHandleStatusChange(onStatusChange);
    cb_setShowPromptScreen(onPrompt);
    cb_setWaitForCard(yes);
    cb_setWaitForPin(yes);
    cb_setWaitForCardRemoval(onPrompt);
  }
  void TearDown() override {
    g = World();
    zq::app::utils::registerCustomSleep(nullptr);
  }

  // The purchase, its terminal, and for a printout the general information
  // it asks for: the purchase leaves the terminal's address unknown.
  static std::vector<zq::test::PeerStep> script(During during) {
    std::vector<zq::test::PeerStep> steps = zq::test::purchaseScript();
    if (during == During::PRINTOUT) {
      steps.push_back(TerminalSimulator::step(
          TerminalSimulator::fields({"26", "1", "2"}),
          TerminalSimulator::fields({"26", "0", "Shop 7,Long St 1,00-950 City,M123,T4567890"})));
    }
    return steps;
  }
};

TEST_F(ContextsInUseTest, CallsThatWouldPullAContextFromARunningCallAreRefused) {
  for (const Row& row : rows()) {
    SCOPED_TRACE(row.name);
    zq::test::PurchaseDetails sale;
    const std::vector<zq::test::PeerStep> steps = script(row.during);
    TerminalSimulator terminal(steps);
    ASSERT_EQ(ecr_initialize(&g.ecr), ECR_OK);
    ecr_setProtocol(g.ecr, 0);
    ASSERT_EQ(ecr_setTcpIpLink(g.ecr, "127.0.0.1", terminal.port(), 1000), ECR_OK);
    ASSERT_EQ(ecr_setCashRegisterId(g.ecr, &sale.cashRegister, 1), ECR_OK);
    ASSERT_EQ(ecr_setTerminalIndex(g.ecr, 2), ECR_OK);
    ASSERT_EQ(ecr_setTransactionType(g.ecr, ECR_TRANSACTION_PURCHASE), ECR_OK);
    ASSERT_EQ(ecr_setTransactionAmount(g.ecr, sale.amount.c_str()), ECR_OK);
    ASSERT_EQ(ecr_initialize(&g.otherEcr), ECR_OK);
    ASSERT_EQ(pr_initPrintoutCtx(&g.otherPrintout), 0u);
    ASSERT_EQ(pr_initPrintoutCtx(&g.printout), 0u);
    if (row.during != During::PURCHASE) {
      ASSERT_EQ(ecr_startTransaction(g.ecr), ECR_OK);
    }

    g.refusedPort = zq::test::refusedPort();
    const Expected expected = refusalOf(row);
    const size_t busyBefore = busLinesWith(expected.busyLine);
    g.row = &row;
    g.callThread = std::this_thread::get_id();
    g.answer = -1;
    g.fired = false;
    g.armed = true;
    switch (row.during) {
      case During::PURCHASE:
        EXPECT_EQ(ecr_startTransaction(g.ecr), ECR_OK);
        break;
      case During::READER: {
        ecr_transactionType type = ECR_TRANSACTION_NONE;
        EXPECT_EQ(ecr_readTransactionType(g.ecr, &type), ECR_OK);
        EXPECT_EQ(type, ECR_TRANSACTION_PURCHASE);
        break;
      }
      case During::PRINTOUT:
        EXPECT_EQ(pr_prepareTransactionPrintout(g.printout, g.ecr, false), 0u);
        break;
    }
    g.armed = false;

    ASSERT_TRUE(g.fired) << "the callback never came";
    EXPECT_EQ(g.answer, expected.answer);
    EXPECT_EQ(busLinesWith(expected.busyLine), busyBefore + expected.busyLines);
    // The call ran to its normal end on contexts that are still whole.
    EXPECT_TRUE(terminal.waitForSteps(steps.size(), 2000));
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
    ecr_transactionResult result = ECR_TRANSACTION_RESULT_7;
    EXPECT_EQ(ecr_readTransactionResult(g.ecr, &result), ECR_OK);
    EXPECT_EQ(result, ECR_TRANSACTION_RESULT_0);
    if (row.during == During::PRINTOUT) {
      // Its own lines, laid out on the width it started with.
      EXPECT_GT(pr_getNumberOfLines(g.printout), 10u);
      pr_Line line{};
      ASSERT_EQ(pr_getNextLine(g.printout, &line), 0u);
      ASSERT_EQ(pr_getNextLine(g.printout, &line), 0u);
      EXPECT_EQ(std::string(line.text).size(), 64u) << line.text;
      uint8_t tid[8];
      size_t length = sizeof tid;
      // The general information the printout fetched itself.
      EXPECT_EQ(ecr_readTerminalId(g.ecr, tid, &length), ECR_OK);
      EXPECT_EQ(std::string(reinterpret_cast<char*>(tid), length), "T4567890");
    }
    pr_cleanPrintoutCtx(&g.printout);
    pr_cleanPrintoutCtx(&g.otherPrintout);
    ecr_cleanup(&g.ecr);
    ecr_cleanup(&g.otherEcr);
    EXPECT_EQ(g.printout, nullptr);
    EXPECT_EQ(g.ecr, nullptr);
  }
}

}  // namespace

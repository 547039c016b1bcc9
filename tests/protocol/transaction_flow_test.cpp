// A card transaction end to end against the scripted terminal: the start
// (poll, decision, request "21"), the status loop with every terminal state
// and its answer, the host callbacks and the pauses between exchanges.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "protocol/transaction_session.h"

namespace zq::app::protocols::testing {
namespace {

using zq::test::PeerStep;

struct Step {
  std::string request;
  std::string reply;
  bool silent = false;  // the terminal never answers
};

const std::string kStatus = "20|1";
const std::string kIdle = "20|0|00";
const Step kIdleRead = {kStatus, kIdle};

void script(TerminalSimulator& terminal, const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    PeerStep step = TerminalSimulator::step(msg(s.request), msg(s.reply));
    step.silent = s.silent;
    terminal.addStep(step);
  }
}

std::vector<std::string> requestsOf(const std::vector<Step>& steps) {
  std::vector<std::string> out;
  for (const Step& s : steps) out.push_back(s.request);
  return out;
}

TEST(TransactionFlow, WholePurchaseByteForByte) {
  const zq::test::PurchaseDetails sale;
  TerminalSimulator terminal(zq::test::purchaseScript(sale));
  TransactionSession session(terminal);
  session.kind(ECR_TRANSACTION_PURCHASE);
  session.amount({0x12, 0x50});
  session.continuePrevious(false);
  session.set(TAG_AUTHORIZATION_CODE, bytesOf("stale"));

  EXPECT_EQ(session.protocol.startTransaction(*session.link), Result(utils::RESULT_OK));

  EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
  const std::vector<std::string> expected = {
      kStatus, kStatus, kStatus, "21|1|1|1250||",  // polls while busy, processing; start
      kStatus, kStatus, kStatus,                   // card, PIN, processing
      kStatus, "22|1",                             // end data ready, read
      kStatus, kStatus};                           // card removal, idle
  EXPECT_EQ(requestTexts(terminal), expected);
  EXPECT_EQ(session.calls,
            (std::vector<std::string>{"waitForCard(Insert card)", "waitForPin(Enter PIN)",
                                      "showPrompt(Processing)", "waitForCardRemoval(Remove card)"}));
  EXPECT_EQ(session.statuses,
            (std::vector<ecr_terminalStatus>{
                TERMINAL_STATUS_BUSY, TERMINAL_STATUS_PROCESSING, TERMINAL_STATUS_READY,
                TERMINAL_STATUS_WAITING_FOR_CARD, TERMINAL_STATUS_WAITING_FOR_PIN,
                TERMINAL_STATUS_PROCESSING, TERMINAL_STATUS_END_DATA_READY,
                TERMINAL_STATUS_WAITING_FOR_CARD_REMOVAL, TERMINAL_STATUS_READY}));
  // Every exchange is a monitored one with the terminal's 300 ms.
  EXPECT_EQ(recordedPauses(), std::vector<unsigned>(11, 300));

  EXPECT_EQ(session.tag(TAG_TRANSACTION_TYPE), "0");
  EXPECT_EQ(session.tag(TAG_TRANSACTION_RETURN_CODE), "0");
  EXPECT_EQ(session.tag(TAG_TRANSACTION_NUMBER), "42");
  EXPECT_EQ(session.tag(TAG_AUTHORIZATION_CODE), "A1B2C3");
  EXPECT_EQ(session.tag(TAG_MASKED_PAN), "************1234");
  EXPECT_EQ(session.tag(TAG_TID), "T4567001");
  EXPECT_EQ(session.tagBytes(TAG_AMOUNT), (Bytes{0x12, 0x50}));
  EXPECT_EQ(session.tagBytes(TAG_TRANSACTION_DATE), (Bytes{0x24, 0x03, 0x15}));
  EXPECT_EQ(session.tagBytes(TAG_TRANSACTION_TIME), (Bytes{0x14, 0x32, 0x07}));
}

struct StartCase {
  const char* name;
  ecr_transactionType kind;  // ECR_TRANSACTION_NONE: none stored
  std::vector<Step> steps;
  Result result;
};

const StartCase kStartCases[] = {
    {"idle: start, then the loop", ECR_TRANSACTION_PURCHASE,
     {{kStatus, kIdle}, {"21|1|1|100||", "21|0"}, kIdleRead},
     Result(utils::RESULT_OK)},
    {"application error", ECR_TRANSACTION_PURCHASE, {{kStatus, "20|0|80"}},
     Result(utils::RESULT_TERMINAL_NOT_READY,
            "Start Transaction failed - terminal application error")},
    {"reconciliation needed, a reconciliation is sent and ends on batch completed",
     ECR_TRANSACTION_RECONCILIATION,
     {{kStatus, "20|0|81"}, {"21|1|31", "21|0"}, {kStatus, "20|0|09"}, {kStatus, "20|0|0D"}},
     Result(utils::RESULT_OK)},
    {"reconciliation needed, a purchase is refused", ECR_TRANSACTION_PURCHASE,
     {{kStatus, "20|0|81"}},
     Result(utils::RESULT_TERMINAL_NOT_READY, "Start Transaction failed - reconciliation needed")},
    {"reconciliation needed, no kind stored", ECR_TRANSACTION_NONE, {{kStatus, "20|0|81"}},
     Result(utils::RESULT_TERMINAL_NOT_READY, "Start Transaction failed - reconciliation needed")},
    {"not ready", ECR_TRANSACTION_PURCHASE, {{kStatus, "20|0|07"}},
     Result(utils::RESULT_TERMINAL_NOT_READY, "Start Transaction failed - terminal not ready")},
    {"busy, then a return code ends the poll", ECR_TRANSACTION_PURCHASE,
     {{kStatus, "20|0|08"}, {kStatus, "20|2|Terminal locked"}},
     Result(utils::RESULT_TERMINAL_CODE_2, "Terminal locked")},
    {"start refused with return code 7: no loop", ECR_TRANSACTION_PURCHASE,
     {{kStatus, kIdle}, {"21|1|1|100||", "21|7|Try again"}},
     Result(utils::RESULT_TERMINAL_CODE_7, "Try again")},
    {"connection to the management system returns after the start", ECR_TRANSACTION_CONNECT_TO_TMS,
     {{kStatus, kIdle}, {"21|1|40", "21|0"}},
     Result(utils::RESULT_OK)},
};

TEST(TransactionFlow, StartDecisions) {
  for (const StartCase& c : kStartCases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    script(terminal, c.steps);
    TransactionSession session(terminal);
    if (c.kind != ECR_TRANSACTION_NONE) session.kind(c.kind);
    session.amount({0x01, 0x00});

    EXPECT_EQ(session.protocol.startTransaction(*session.link), c.result);

    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
    EXPECT_EQ(requestTexts(terminal), requestsOf(c.steps));
    EXPECT_TRUE(session.calls.empty()) << ::testing::PrintToString(session.calls);
    EXPECT_EQ(recordedPauses(), std::vector<unsigned>(c.steps.size(), 300));
  }
}

// Whatever goes wrong with a poll's exchange, the start reports a
// communication error with the exchange's own text.
TEST(TransactionFlow, StartPollFailuresAreCommunicationErrors) {
  struct PollCase {
    const char* name;
    std::vector<Step> steps;
    bool cashRegister;
    std::string message;
  };
  const PollCase cases[] = {
      {"no reply while busy", {{kStatus, "20|0|08"}, {kStatus, "", true}}, true, ""},
      {"unreadable status", {{kStatus, "20|0|ZZ"}}, true, "Unable to parse POS response"},
      {"request not buildable", {}, false, "Unable to build Talvoren message"},
  };
  for (const PollCase& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    script(terminal, c.steps);
    TransactionSession session(terminal);
    if (!c.cashRegister) session.protocol.getCtx().getApiCtx().removeTag(TAG_CASH_REGISTER_ID);
    session.kind(ECR_TRANSACTION_PURCHASE);
    session.amount({0x01, 0x00});

    EXPECT_EQ(session.protocol.startTransaction(*session.link),
              Result(utils::RESULT_COMM_ERROR, c.message));
    EXPECT_EQ(requestTexts(terminal), requestsOf(c.steps));
  }
}

struct LoopCase {
  const char* name;
  HostScript host;
  std::vector<Step> steps;  // from the first status read of the loop
  std::vector<std::string> calls;
  Result result;
  int longPauseStep = -1;  // the exchange followed by 1500 ms instead of 300
  ecr_transactionType kind = ECR_TRANSACTION_PURCHASE;
  std::function<void(TransactionSession&)> check = nullptr;
};

const std::string kEndData =
    "22|0|1|0|7|A1B2C3,,M1,************1234,2024-03-15,14:32:07,VISA,C,T1,000007,1,1250,1";

HostScript host(bool yes, unsigned choice = 0, const std::string& text = "") {
  HostScript script;
  script.yes = yes;
  script.choice = choice;
  script.text = text;
  return script;
}

const Result kOk(utils::RESULT_OK);
const Result kAborted(utils::RESULT_UNEXPECTED_STATUS,
                      "Transaction aborted - unexpected transaction status received from terminal");

const LoopCase kLoopCases[] = {
    {"signature: end data read before the answer",
     host(true),
     {{kStatus, "20|0|05|7|0,0,,3,Signature OK?"}, {"22|1", kEndData},
      {"23|1|7|" + kYes, "23|0"}, kIdleRead},
     {"askForSignature(Signature OK?)"},
     kOk, -1, ECR_TRANSACTION_PURCHASE,
     [](TransactionSession& s) {
       EXPECT_EQ(s.tagBytes(TAG_AUTHORIZATION_METHOD), Bytes{0x40});
       EXPECT_EQ(s.tag(TAG_AUTHORIZATION_CODE), "A1B2C3");
     }},
    {"copy", host(true),
     {{kStatus, "20|0|0A|7|0,0,,3,Copy?"}, {"23|1|7|" + kYes, "23|0"}, kIdleRead},
     {"askForCopy(Copy?)"}, kOk},
    {"currency", host(true, 2),
     {{kStatus, "20|0|0E|7|1,1,n,,PLN,EUR"}, {"23|1|7|2", "23|0"}, kIdleRead},
     {"askForCurrency(PLN|EUR)"}, kOk},
    {"selection", host(true, 1),
     {{kStatus, "20|0|15|7|1,1,n,,Pick fuel,ON,PB95"}, {"23|1|7|1", "23|0"}, kIdleRead},
     {"waitForSelection(Pick fuel;ON|PB95)"}, kOk},
    {"amount", host(true, 0, "500"),
     {{kStatus, "20|0|14|7|1,12,n,,Tip amount"}, {"23|1|7|500", "23|0"}, kIdleRead},
     {"waitForAmount(Tip amount,1,12)"}, kOk},
    {"amount not given: nothing sent", host(true, 0, ""),
     {{kStatus, "20|0|14|7|1,12,n,,Tip amount"}, kIdleRead},
     {"waitForAmount(Tip amount,1,12)"}, kOk},
    {"cashback with the long pause", host(true, 0, "2000"),
     {{kStatus, "20|0|0F|7|1,12,n,,Cashback"}, {"23|1|7|2000", "23|0"}, kIdleRead},
     {"getCashbackAmount(Cashback,1,12)"}, kOk, 1},
    {"authorisation code", host(true, 0, "123456"),
     {{kStatus, "20|0|0B|7|6,6,A,,Auth code"}, {"23|1|7|123456", "23|0"}, kIdleRead},
     {"getAuthorizationCode(Auth code,6,6)"}, kOk},
    {"user data", host(true, 0, "1234"),
     {{kStatus, "20|0|0C|7|4,4,n,,Enter ID"}, {"23|1|7|1234", "23|0"}, kIdleRead},
     {"waitForUserActionProvideData(Enter ID,110,4,4)"}, kOk},
    {"user yes/no question answered no", host(false),
     {{kStatus, "20|0|0C|7|0,0,,3,Continue?"}, {"23|1|7|" + kNo, "23|0"}, kIdleRead},
     {"waitForUserActionYesNoQuestion(Continue?)"}, kOk},
    {"host declines the card: interruption, loop goes on", host(false),
     {{kStatus, "20|0|01|3|0,0,,,Insert card"}, {"23|1|3|" + kNo, "23|0"}, kIdleRead},
     {"waitForCard(Insert card)"}, kOk},
    {"host declines the PIN", host(false),
     {{kStatus, "20|0|02|4|0,0,,,Enter PIN"}, {"23|1|4|" + kNo, "23|0"}, kIdleRead},
     {"waitForPin(Enter PIN)"}, kOk},
    {"prompt statuses 3, 4 and 16 show their prompts", host(true),
     {{kStatus, "20|0|03|1|0,0,,,Wait"}, {kStatus, "20|0|04|2|0,0,,,Connecting"},
      {kStatus, "20|0|12|3|0,0,,,Printing"}, kIdleRead},
     {"showPrompt(Wait)", "showPrompt(Connecting)", "showPrompt(Printing)"}, kOk},
    {"idle with a prompt shows it and ends", host(true),
     {{kStatus, "20|0|00|5|0,0,,,Thank you"}}, {"showPrompt(Thank you)"}, kOk},
    {"application error interrupts", host(true),
     {{kStatus, "20|0|80|9"}, {"23|1|9|" + kNo, "23|0"}, kIdleRead}, {}, kOk},
    {"reconciliation needed interrupts", host(true),
     {{kStatus, "20|0|81|9"}, {"23|1|9|" + kNo, "23|0"}, kIdleRead}, {}, kOk},
    {"busy is unexpected inside the loop", host(true), {{kStatus, "20|0|08"}}, {}, kAborted},
    {"raw status 0x13 is unrecognised", host(true), {{kStatus, "20|0|13"}}, {}, kAborted},
    {"batch completed during a purchase", host(true), {{kStatus, "20|0|0D"}}, {}, kAborted},
    {"batch completed ends a reconciliation", host(true), {{kStatus, "20|0|0D"}}, {}, kOk, -1,
     ECR_TRANSACTION_RECONCILIATION},
    {"a refused answer ends the loop", host(true),
     {{kStatus, "20|0|0A|7|0,0,,3,Copy?"}, {"23|1|7|" + kYes, "23|6|Declined"}},
     {"askForCopy(Copy?)"}, Result(utils::RESULT_TERMINAL_CODE_6, "Declined")},
};

void runLoop(const LoopCase& c, int handleMode) {
  TerminalSimulator terminal;
  script(terminal, c.steps);
  TransactionSession session(terminal);
  session.script = c.host;
  session.kind(c.kind);
  if (handleMode >= 0) session.handleRequests(static_cast<unsigned char>(handleMode));
  session.continuePrevious(true);

  EXPECT_EQ(session.protocol.startTransaction(*session.link), c.result);

  EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
  EXPECT_EQ(requestTexts(terminal), requestsOf(c.steps));
  EXPECT_EQ(session.calls, c.calls);
  std::vector<unsigned> pauses(c.steps.size(), 300);
  if (c.longPauseStep >= 0) pauses[c.longPauseStep] = 1500;
  EXPECT_EQ(recordedPauses(), pauses);
  if (c.check) c.check(session);
}

TEST(TransactionFlow, LoopStatusToAction) {
  for (const LoopCase& c : kLoopCases) {
    SCOPED_TRACE(c.name);
    runLoop(c, -1);
  }
}

TEST(TransactionFlow, CommunicationFailureMidTransaction) {
  TerminalSimulator terminal;
  script(terminal, {{kStatus, "20|0|01|3|0,0,,,Insert card"}, {kStatus, "", true}});
  TransactionSession session(terminal);
  session.kind(ECR_TRANSACTION_PURCHASE);
  session.continuePrevious(true);

  const Result result = session.protocol.startTransaction(*session.link);

  EXPECT_EQ(result.getStatus(), utils::RESULT_COMM_ERROR);
  EXPECT_EQ(requestTexts(terminal), (std::vector<std::string>{kStatus, kStatus}));
  EXPECT_EQ(session.calls, std::vector<std::string>{"waitForCard(Insert card)"});
  // The link reconnects once after the lost reply, and nothing more is sent.
  EXPECT_TRUE(terminal.waitForConnections(2, 1000));
  EXPECT_EQ(terminal.connectionCount(), 2);
  EXPECT_EQ(recordedPauses(), (std::vector<unsigned>{300, 300}));
}

// A status reply with return code 7 or 64 carries no status: the stored one
// is still the idle status read before the start. The loop must read again
// instead of ending on it while the terminal is mid-transaction.
TEST(TransactionFlow, ReturnCode7Or64InsideLoopReadsAgain) {
  for (const char* code : {"7", "64"}) {
    SCOPED_TRACE(code);
    const std::vector<Step> steps = {
        {kStatus, kIdle},
        {"21|1|1|100||", "21|0"},
        {kStatus, std::string("20|") + code + "|Busy"},
        {kStatus, std::string("20|") + code},
        {kStatus, "20|0|07|4|0,0,,,Remove card"},
        kIdleRead};
    TerminalSimulator terminal;
    script(terminal, steps);
    TransactionSession session(terminal);
    session.kind(ECR_TRANSACTION_PURCHASE);
    session.amount({0x01, 0x00});

    EXPECT_EQ(session.protocol.startTransaction(*session.link), Result(utils::RESULT_OK));

    EXPECT_EQ(requestTexts(terminal), requestsOf(steps));
    EXPECT_EQ(session.calls, std::vector<std::string>{"waitForCardRemoval(Remove card)"});
  }
}

struct GateCase {
  const char* name;
  int mode;  // -1: tag absent
  std::string statusReply;
  bool handled;
};

// Copy and signature requests, answered by the library or left to the
// terminal: a request left alone only shows its prompt.
const GateCase kGateCases[] = {
    {"absent, special answer asked", -1, "20|0|0A|7|0,0,,3,Copy?", true},
    {"absent, input asked", -1, "20|0|0A|7|1,1,n,,Copy?", true},
    {"absent, neither asked", -1, "20|0|0A|7|0,0,,,Copy?", false},
    {"mode 0 answers even without characteristics", 0, "20|0|0A|7|0,0,,,Copy?", true},
    {"mode 1 leaves a special answer to the terminal", 1, "20|0|0A|7|0,0,,3,Copy?", false},
    {"mode 1 reads no end data for a signature", 1, "20|0|05|7|0,0,,3,Copy?", false},
    {"mode 2 decides by the characteristics", 2, "20|0|0A|7|0,0,,3,Copy?", true},
};

TEST(TransactionFlow, RequestHandlingGate) {
  for (const GateCase& c : kGateCases) {
    SCOPED_TRACE(c.name);
    LoopCase loop;
    loop.name = c.name;
    loop.host = host(true);
    loop.result = kOk;
    if (c.handled) {
      loop.steps = {{kStatus, c.statusReply}, {"23|1|7|" + kYes, "23|0"}, kIdleRead};
      loop.calls = {"askForCopy(Copy?)"};
    } else {
      loop.steps = {{kStatus, c.statusReply}, kIdleRead};
      loop.calls = {"showPrompt(Copy?)"};
    }
    runLoop(loop, c.mode);
  }
}

}  // namespace
}  // namespace zq::app::protocols::testing

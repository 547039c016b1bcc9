// The terminal commands: which protocol operation each runs, the report
// time-out around the report commands, the continue flag of the transaction
// commands, the last result, and the raw exchange against the scripted
// terminal.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "api/EcrCtx.h"
#include "api/EcrTestHelpers.h"
#include "core/Sleep.h"
#include "core/TagNames.h"
#include "protocol/TalvorenProtocol.h"
#include "support/TerminalSimulator.h"
#include "zumbra_ecr.h"

namespace {

using zq::app::link::Link;
using zq::app::protocols::Result;
using zq::app::protocols::TalvorenProtocol;
using zq::test::hasLevel;
using zq::test::hostLinesWith;
using zq::test::journal;
using zq::test::PeerStep;
using zq::test::TerminalSimulator;
using Bytes = std::vector<uint8_t>;
namespace tlv = zq::app::tlv;

void ignorePause(unsigned) {}

// The real protocol with its commands replaced by a recorder: what ran, the
// link's time-out and the continue flag at that moment, and a scripted answer.
class RecordingProtocol : public TalvorenProtocol {
 public:
  struct Call {
    std::string operation;
    uint32_t timeoutMs;
    std::string continueFlag;  // "" when absent
  };
  std::vector<Call> calls;
  Result answer;
  bool throwInstead = false;

#define RECORD(op) \
  Result op(Link& link) override { return record(#op, link); }
  RECORD(getTerminalStatus)
  RECORD(getTerminalGeneralInfo)
  RECORD(getBatchSummary)
  RECORD(getSingleTransFromSummary)
  RECORD(generateReport)
  RECORD(getReportCardsetSummary)
  RECORD(getReportTotalSummary)
  RECORD(generateTransactionAnalysis)
  RECORD(getTransactionAnalysisDetails)
  RECORD(getTransactionAnalysisSummary)
  RECORD(generateTransactionDccAnalysis)
  RECORD(getTransactionDccAnalysisCurrencySummary)
  RECORD(getTransactionDccAnalysisTotalSummary)
  RECORD(startTransaction)
  RECORD(getLastTransactionData)
  RECORD(startEvoucherTransaction)
#undef RECORD

 private:
  Result record(const char* operation, Link& link) {
    std::vector<unsigned char> flag;
    readTag(tlv::TAG_CONTINUE_PREVIOUS_TRANSACTION, flag);
    calls.push_back({operation, link.getDefaultTimeout(), std::string(flag.begin(), flag.end())});
    if (throwInstead) throw std::runtime_error("flow broke");
    return answer;
  }
};

struct CommandCase {
  const char* name;
  ecr_status (*call)(EcrCtx_s*);
  const char* operation;
  bool report;       // runs with the report time-out
  const char* flag;  // continue flag the operation sees; the earlier "1" when the command sets none
};

const CommandCase kCommands[] = {
    {"start", ecr_startTransaction, "startTransaction", false, "0"},
    {"continue", ecr_continueTransaction, "startTransaction", false, "1"},
    // A "1" left by a continued transaction must not turn the sale into a continue.
    {"e-voucher sale", ecr_startEvoucherTransaction, "startEvoucherTransaction", false, "0"},
    {"last transaction", ecr_getLastTransactionData, "getLastTransactionData", false, "1"},
    {"batch summary", ecr_getBatchSummary, "getBatchSummary", false, "1"},
    {"single transaction", ecr_getSingleTransactionFromBatch, "getSingleTransFromSummary", false, "1"},
    {"terminal status", ecr_getTerminalStatus, "getTerminalStatus", false, "1"},
    {"terminal information", ecr_readTerminalInformationData, "getTerminalGeneralInfo", false, "1"},
    {"report", ecr_generateReport, "generateReport", true, "1"},
    {"report cardsets", ecr_getReportCardsetSummary, "getReportCardsetSummary", true, "1"},
    {"report total", ecr_getReportTotalSummary, "getReportTotalSummary", true, "1"},
    {"DCC analysis", ecr_generateDccAnalysis, "generateTransactionDccAnalysis", true, "1"},
    {"DCC currencies", ecr_getTransactionDccAnalysisCurrencySummary, "getTransactionDccAnalysisCurrencySummary",
     true, "1"},
    {"DCC total", ecr_getTransactionDccAnalysisTotalSummary, "getTransactionDccAnalysisTotalSummary", true, "1"},
    {"analysis", ecr_generateTransactionAnalysis, "generateTransactionAnalysis", true, "1"},
    {"analysis details", ecr_getTransactionAnalysisDetails, "getTransactionAnalysisDetails", true, "1"},
    {"analysis summary", ecr_getTransactionAnalysisSummary, "getTransactionAnalysisSummary", true, "1"},
};

class EcrCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zq::test::recordHostLogs();
    zq::app::utils::registerCustomSleep(ignorePause);
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
  }
  void TearDown() override {
    ecr_cleanup(&ctx);
    zq::app::utils::registerCustomSleep(nullptr);
  }

  // The context over a closed link (the recorder never uses it) and the
  // recorder in place of the protocol.
  RecordingProtocol& withRecorder() {
    EXPECT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", zq::test::refusedPort(), 300), ECR_COMM_ERROR);
    auto* recorder = new RecordingProtocol();
    ctx->protocol.reset(recorder);
    return *recorder;
  }

  // The context connected to the scripted terminal, cash register '1'.
  void connect(const TerminalSimulator& terminal, uint32_t timeoutMs) {
    ecr_setProtocol(ctx, 0);
    ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", terminal.port(), timeoutMs), ECR_OK);
    ASSERT_EQ(ecr_setCashRegisterId(ctx, "1", 1), ECR_OK);
    journal().clear();
  }

  std::string continueFlag() {
    uint8_t buffer[8];
    size_t length = sizeof buffer;
    EXPECT_EQ(ecr_readTag(ctx, tlv::TAG_CONTINUE_PREVIOUS_TRANSACTION, buffer, &length), ECR_OK);
    return std::string(buffer, buffer + length);
  }

  EcrCtx_s* ctx = nullptr;
};

struct TimeoutCase {
  const char* name;
  uint32_t defaultMs;
  Result answer;
  ecr_status expected;
  uint32_t reportMs;  // what a report command runs with
};

TEST_F(EcrCommandsTest, EachCommandRunsItsOperationWithTheRightTimeoutAndFlag) {
  RecordingProtocol& recorder = withRecorder();
  const TimeoutCase timeouts[] = {
      {"short time-out, success", 30000, Result(zq::app::utils::RESULT_OK), ECR_OK, 180000},
      {"short time-out, failure", 30000, Result(zq::app::utils::RESULT_COMM_ERROR, "line cut"),
       ECR_COMM_ERROR, 180000},
      {"just below", 179999, Result(zq::app::utils::RESULT_NO_DATA, "none"), ECR_EMPTY, 180000},
      {"exactly the report time-out", 180000, Result(zq::app::utils::RESULT_OK), ECR_OK, 180000},
      {"longer time-out left alone", 200000, Result(zq::app::utils::RESULT_ARGUMENT_MISSING, "no id"),
       ECR_NO_DATA, 200000},
  };
  for (const TimeoutCase& t : timeouts) {
    SCOPED_TRACE(t.name);
    for (const CommandCase& c : kCommands) {
      SCOPED_TRACE(c.name);
      ASSERT_TRUE(ctx->link->setDefaultTimeout(t.defaultMs).isOk());
      ASSERT_EQ(ecr_setTag(ctx, tlv::TAG_CONTINUE_PREVIOUS_TRANSACTION,
                           reinterpret_cast<const uint8_t*>("1"), 1),
                ECR_OK);
      recorder.calls.clear();
      recorder.answer = t.answer;
      ctx->lastResult = Result(zq::app::utils::RESULT_TERMINAL_CODE_6, "earlier");

      EXPECT_EQ(c.call(ctx), t.expected);
      ASSERT_EQ(recorder.calls.size(), 1u);
      EXPECT_EQ(recorder.calls[0].operation, c.operation);
      EXPECT_EQ(recorder.calls[0].timeoutMs, c.report ? t.reportMs : t.defaultMs);
      EXPECT_EQ(recorder.calls[0].continueFlag, c.flag);
      EXPECT_EQ(ctx->link->getDefaultTimeout(), t.defaultMs) << "the time-out is back";
      EXPECT_EQ(ctx->lastResult, t.answer);
      EXPECT_EQ(continueFlag(), c.flag) << "the flag stays as the command wrote it";
    }
  }
}

TEST_F(EcrCommandsTest, AnOperationThatThrowsStillGetsTheTimeoutBack) {
  RecordingProtocol& recorder = withRecorder();
  recorder.throwInstead = true;
  ASSERT_TRUE(ctx->link->setDefaultTimeout(30000).isOk());
  const Result earlier(zq::app::utils::RESULT_TERMINAL_CODE_6, "earlier");
  ctx->lastResult = earlier;
  EXPECT_EQ(ecr_generateReport(ctx), ECR_ERROR);
  ASSERT_EQ(recorder.calls.size(), 1u);
  EXPECT_EQ(recorder.calls[0].timeoutMs, 180000u);
  EXPECT_EQ(ctx->link->getDefaultTimeout(), 30000u);
  EXPECT_EQ(ctx->lastResult, earlier);
  EXPECT_EQ(hostLinesWith("bus", "ecr_generateReport failed: flow broke").size(), 1u);
}

TEST_F(EcrCommandsTest, NotImplementedCommandsAnswerSevenAndTouchNothing) {
  RecordingProtocol& recorder = withRecorder();
  const Result earlier(zq::app::utils::RESULT_TERMINAL_CODE_6, "earlier");
  for (ecr_status (*call)(EcrCtx_s*) : {ecr_cancelTransaction, ecr_waitForStatusChange}) {
    ctx->lastResult = earlier;
    journal().clear();
    EXPECT_EQ(call(ctx), ECR_NOT_IMPLEMENTED);
    const auto lines = hostLinesWith("bus", "Not implemented yet");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(hasLevel(lines[0], "FATAL"));
    EXPECT_EQ(ctx->lastResult, earlier);
  }
  EXPECT_TRUE(recorder.calls.empty());
}

// ---- Against the scripted terminal ----

const Bytes kStatusRequest = TerminalSimulator::fields({"20", "1"});

struct ReportRunCase {
  const char* name;
  uint32_t defaultMs;
  Bytes statusReply;
  bool reportSent;
  ecr_status expected;
};

TEST_F(EcrCommandsTest, ReportRunsWithTheLongTimeoutAndRestoresIt) {
  const ReportRunCase cases[] = {
      {"idle terminal", 30000, TerminalSimulator::fields({"20", "0", "0"}), true, ECR_OK},
      {"terminal not ready", 30000, TerminalSimulator::fields({"20", "0", "01"}), false, ECR_ERROR},
      {"long time-out already", 200000, TerminalSimulator::fields({"20", "0", "0"}), true, ECR_OK},
  };
  for (const ReportRunCase& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::step(kStatusRequest, c.statusReply));
    terminal.addStep(TerminalSimulator::step(TerminalSimulator::fields({"30", "1", "0"}),
                                             TerminalSimulator::fields({"30", "0", "0012,0345"})));
    ecr_cleanup(&ctx);
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
    connect(terminal, c.defaultMs);

    EXPECT_EQ(ecr_generateReport(ctx), c.expected);
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
    EXPECT_EQ(terminal.requests().size(), c.reportSent ? 2u : 1u);
    EXPECT_EQ(ctx->link->getDefaultTimeout(), c.defaultMs);
    const bool raised = c.defaultMs < 180000;
    EXPECT_EQ(hostLinesWith("dev", "Setting default communication timeout to 180000 ms").size(),
              raised ? 1u : 0u);
    EXPECT_EQ(hostLinesWith("dev", "Setting default communication timeout to " +
                                       std::to_string(c.defaultMs) + " ms")
                  .size(),
              raised ? 1u : 0u);
    uint32_t code = 0;
    ecr_getLastReturnCode(ctx, &code);
    EXPECT_EQ(code, c.expected == ECR_OK ? 0u : static_cast<uint32_t>(zq::app::utils::RESULT_TERMINAL_NOT_READY));
  }
}

TEST_F(EcrCommandsTest, ReportWithoutItsIdentifierAnswersNoData) {
  TerminalSimulator terminal;
  connect(terminal, 300);
  EXPECT_EQ(ecr_getReportCardsetSummary(ctx), ECR_NO_DATA);
  EXPECT_TRUE(terminal.requests().empty());
  EXPECT_EQ(ctx->link->getDefaultTimeout(), 300u);
}

struct AfterContinueCase {
  const char* name;
  ecr_transactionType type;
  ecr_status (*start)(EcrCtx_s*);
};

// A continued transaction leaves the flag at "1"; the next sale must still
// send its start request instead of only watching an idle terminal and
// reporting success with nothing sold.
TEST_F(EcrCommandsTest, ASaleAfterAContinuedTransactionSendsItsStartRequest) {
  const Bytes idle = TerminalSimulator::fields({"20", "0", "0"});
  const AfterContinueCase cases[] = {
      {"card sale", ECR_TRANSACTION_PURCHASE, ecr_startTransaction},
      {"e-voucher sale", ECR_TRANSACTION_PURCHASE_EVOUCHER, ecr_startEvoucherTransaction},
  };
  for (const AfterContinueCase& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::step(kStatusRequest, idle));  // the continue
    terminal.addStep(TerminalSimulator::step(kStatusRequest, idle));  // the sale's own check
    PeerStep start = TerminalSimulator::anyRequest({});
    start.silent = true;  // the start request is all this test needs
    terminal.addStep(start);
    ecr_cleanup(&ctx);
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
    connect(terminal, 300);
    ASSERT_EQ(ecr_setTransactionType(ctx, c.type), ECR_OK);
    ASSERT_EQ(ecr_setTransactionAmount(ctx, "100"), ECR_OK);
    ASSERT_EQ(ecr_setEvoucherEan(ctx, "5901234123457"), ECR_OK);

    EXPECT_EQ(ecr_continueTransaction(ctx), ECR_OK);
    EXPECT_EQ(terminal.requests().size(), 1u);
    EXPECT_EQ(c.start(ctx), ECR_COMM_ERROR) << "the silent terminal, not a sale without a start";
    const std::vector<Bytes> requests = terminal.requests();
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(requests[1], kStatusRequest);
    EXPECT_EQ(std::string(requests[2].begin(), requests[2].begin() + 2), "21");
    EXPECT_EQ(continueFlag(), "0");
  }
}

// One report reply longer than the link's 64 KB input buffer fails its own
// command; the commands after it on the same context are answered as usual.
TEST_F(EcrCommandsTest, AReportReplyTooLongForTheLinkFailsOnlyItsOwnCommand) {
  auto section = [](const char* id, const std::string& summary) {
    return TerminalSimulator::step(TerminalSimulator::fields({id, "1"}), TerminalSimulator::fields({id, "0", summary}));
  };
  std::string huge = "Huge";
  while (huge.size() < 108 * 1024) huge += ",SALE|1|100";
  const struct {
    const char* name;
    ecr_status (*command)(EcrCtx_s*);
    PeerStep step;
    ecr_status expected;
    const char* title;  // the report title afterwards
  } commands[] = {
      {"small", ecr_getReportTotalSummary, section("32", "First,SALE|1|100"), ECR_OK, "First"},
      {"108 KB", ecr_getReportTotalSummary, section("32", huge), ECR_COMM_ERROR, "First"},
      {"small after it", ecr_getTransactionAnalysisSummary, section("35", "Second,SALE|2|200"), ECR_OK, "Second"},
      {"small again", ecr_getTransactionDccAnalysisTotalSummary, section("38", "Third,SALE|3|300"), ECR_OK,
       "Third"},
  };
  TerminalSimulator terminal;
  for (const auto& c : commands) terminal.addStep(c.step);
  connect(terminal, 2000);
  for (const auto& c : commands) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.command(ctx), c.expected);
    uint8_t title[16];
    size_t length = sizeof title;
    ASSERT_EQ(ecr_readReportTitle(ctx, title, &length), ECR_OK);
    EXPECT_EQ(std::string(title, title + length), c.title);
  }
  EXPECT_EQ(terminal.requests().size(), 4u);
  EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
  EXPECT_FALSE(hostLinesWith("dev", "Receive buffer overflow, 65536 buffered bytes dropped").empty());
}

struct ExchangeCase {
  const char* name;
  PeerStep step;
  size_t bufferSize;
  ecr_status expected;
  Bytes response;  // the buffer's first bytes afterwards
  size_t length;   // afterwards
};

PeerStep silentStep() {
  PeerStep step = TerminalSimulator::anyRequest({});
  step.silent = true;
  return step;
}

TEST_F(EcrCommandsTest, RawExchangeHandsBackTheWholeReplyWhenItFits) {
  const Bytes request = {'9', '9', 0x1C, 'X'};
  const Bytes reply = TerminalSimulator::text("99\x1C" "0\x1C" "ABCDEFGH");
  const ExchangeCase cases[] = {
      {"reply fits", TerminalSimulator::step(request, reply), 16, ECR_OK, reply, reply.size()},
      {"reply fits exactly", TerminalSimulator::step(request, reply), reply.size(), ECR_OK, reply, reply.size()},
      // Nothing written and the length kept: the host sees its own buffer.
      {"reply one byte too long", TerminalSimulator::step(request, reply), reply.size() - 1, ECR_ERROR, {},
       reply.size() - 1},
      {"reply longer than a small buffer", TerminalSimulator::step(request, reply), 4, ECR_ERROR, {}, 4},
      {"silent terminal", silentStep(), 16, ECR_COMM_ERROR, {}, 16},
  };
  for (const ExchangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    terminal.addStep(c.step);
    ecr_cleanup(&ctx);
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
    connect(terminal, 300);

    uint8_t buffer[32];
    std::memset(buffer, 0xA5, sizeof buffer);
    size_t length = c.bufferSize;
    EXPECT_EQ(ecr_cmdExchange(ctx, request.data(), request.size(), buffer, &length), c.expected);
    EXPECT_EQ(length, c.length);
    EXPECT_EQ(Bytes(buffer, buffer + c.response.size()), c.response);
    for (size_t i = c.response.size(); i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 0xA5) << "byte " << i;
    ASSERT_FALSE(terminal.requests().empty());
    EXPECT_EQ(terminal.requests()[0], request) << "sent as given, no envelope";
    if (c.expected == ECR_ERROR) {
      EXPECT_EQ(ctx->lastResult.getStatus(), zq::app::utils::RESULT_UNKNOWN_RETURN_CODE);
    }
  }
}

TEST_F(EcrCommandsTest, RawExchangeRefusesMissingBuffersBeforeSending) {
  TerminalSimulator terminal;
  terminal.addStep(TerminalSimulator::anyRequest(TerminalSimulator::text("99")));
  connect(terminal, 300);
  const uint8_t request[] = {'9', '9'};
  uint8_t buffer[4];
  size_t length = sizeof buffer;
  EXPECT_EQ(ecr_cmdExchange(ctx, nullptr, 2, buffer, &length), ECR_INVALID_ARGUMENT);
  EXPECT_EQ(ecr_cmdExchange(ctx, request, sizeof request, buffer, nullptr), ECR_INVALID_ARGUMENT);
  EXPECT_EQ(ecr_cmdExchange(ctx, request, sizeof request, nullptr, &length), ECR_INVALID_ARGUMENT);
  EXPECT_EQ(length, sizeof buffer);
  EXPECT_TRUE(terminal.requests().empty());
  EXPECT_EQ(ctx->lastResult, Result(zq::app::utils::RESULT_OK));
}

}  // namespace

// Reports and analyses against the scripted terminal over a real loopback
// link: generating a report (only at an idle terminal), the range reply,
// fetching summaries and single transactions, and the summary model the
// host reads afterwards.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "protocol/GeneralInformationMessage.h"
#include "protocol/GeneralReportGenerate.h"
#include "protocol/GeneralReportGenerateFlow.h"
#include "protocol/IndexFlows.h"
#include "protocol/ReportSummary.h"
#include "protocol/SingleTranFromBatchMessage.h"
#include "protocol/SummaryFlows.h"
#include "protocol/SummaryMessage.h"
#include "protocol/TransAnalTransDetails.h"
#include "protocol/message_session.h"

namespace zq::app::protocols::testing {
namespace {

const char* const kAbsent = "<absent>";
const Result kParseFailed(utils::RESULT_COMM_ERROR, "Unable to parse POS response");
const Result kNotBuilt(utils::RESULT_ARGUMENT_MISSING, "Unable to build Talvoren message");
constexpr int kTracePriority = 800;

std::vector<unsigned>& pauses() {
  static std::vector<unsigned> recorded;
  return recorded;
}
void recordPause(unsigned ms) { pauses().push_back(ms); }

// Session ignores pauses; these tests look at them.
void startRecordingPauses() {
  utils::registerCustomSleep(recordPause);
  pauses().clear();
}

Bytes message(std::initializer_list<std::string> fields) { return TerminalSimulator::fields(fields); }

using FlowMaker = std::function<std::unique_ptr<TalvorenFlowInterface>(Session&)>;

template <typename Flow>
FlowMaker reportFlow() {
  return [](Session& s) { return std::make_unique<Flow>(s.maintenance(), s.report()); };
}
template <typename Flow>
FlowMaker transactionFlow() {
  return [](Session& s) { return std::make_unique<Flow>(s.maintenance(), s.transaction()); };
}

const Bytes kStatusRequest = message({"20", "1"});

struct GenerateCase {
  const char* name;
  FlowMaker flow;
  const char* resetReport;  // stored TAG_RESET_REPORT, nullptr: absent
  Bytes request;
  const char* traceLine;
};

TEST(Reports, GenerateAtAnIdleTerminalSendsStatusThenRequestAndStoresTheRange) {
  const GenerateCase cases[] = {
      {"report, no reset tag", reportFlow<TransactionReportGenerateFlow>(), nullptr,
       message({"30", "1", "0"}), "Generate transactions report"},
      {"report, reset", reportFlow<TransactionReportGenerateFlow>(), "1",
       message({"30", "1", "1"}), "Generate transactions report"},
      {"report, reset stored as 0", reportFlow<TransactionReportGenerateFlow>(), "0",
       message({"30", "1", "0"}), "Generate transactions report"},
      {"analysis", reportFlow<TransactionAnalysisGenerateFlow>(), "1", message({"33", "1"}),
       "Generate transaction analysis"},
      {"DCC analysis", reportFlow<TransactionDccAnalysisGenerateFlow>(), nullptr,
       message({"36", "1"}), "Generate transaction DCC analysis"},
  };
  for (const GenerateCase& c : cases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::step(kStatusRequest, message({"20", "0", "0"})));
    const std::string id(c.request.begin(), c.request.begin() + 2);
    terminal.addStep(TerminalSimulator::step(c.request, message({id, "0", "0012,0345"})));
    Session library(terminal);
    if (c.resetReport != nullptr) library.api().setTagValue(TAG_RESET_REPORT, bytesOf(c.resetReport));
    library.report().setReportSummary("Earlier,SALE|1|5");
    startRecordingPauses();

    std::unique_ptr<TalvorenFlowInterface> flow = c.flow(library);
    EXPECT_EQ(flow->setupAndExecute(*library.link), Result(utils::RESULT_OK));
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
    EXPECT_EQ(terminal.requests(), (std::vector<Bytes>{kStatusRequest, c.request}));
    // The status read is monitored (300 ms), the report request plain.
    EXPECT_EQ(pauses(), std::vector<unsigned>{300});
    EXPECT_EQ(library.tag(TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION), "0012");
    EXPECT_EQ(library.tag(TAG_SEQUENCE_NUMBER_LAST_TRANSACTION), "0345");
    EXPECT_TRUE(logged(kTracePriority, "Check status"));
    EXPECT_TRUE(logged(kTracePriority, c.traceLine));
    // A generate reply carries no summary: the last one stays readable.
    EXPECT_EQ(library.report().getReportSummary().getTitle(), "Earlier");
  }
}

struct NotIdleCase {
  const char* name;
  FlowMaker flow;
  Bytes statusReply;
  Result result;
};

TEST(Reports, GenerateAtATerminalThatIsNotIdleSendsOnlyTheStatusRead) {
  const NotIdleCase cases[] = {
      {"report, waiting for card", reportFlow<TransactionReportGenerateFlow>(),
       message({"20", "0", "01"}), Result(utils::RESULT_TERMINAL_NOT_READY, "Wrong terminal status")},
      {"analysis, busy", reportFlow<TransactionAnalysisGenerateFlow>(), message({"20", "0", "08"}),
       Result(utils::RESULT_TERMINAL_NOT_READY, "Wrong terminal status")},
      {"DCC analysis, reconciliation needed", reportFlow<TransactionDccAnalysisGenerateFlow>(),
       message({"20", "0", "81"}), Result(utils::RESULT_TERMINAL_NOT_READY, "Wrong terminal status")},
      {"report, status read refused", reportFlow<TransactionReportGenerateFlow>(),
       message({"20", "6", "Busy here"}), Result(utils::RESULT_TERMINAL_CODE_6, "Busy here")},
  };
  for (const NotIdleCase& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::step(kStatusRequest, c.statusReply));
    // Would answer a report request, were one sent.
    terminal.addStep(TerminalSimulator::anyRequest(message({"30", "0", "1,2"})));
    Session library(terminal);
    library.api().setTagValue(TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION, bytesOf("7"));

    std::unique_ptr<TalvorenFlowInterface> flow = c.flow(library);
    EXPECT_EQ(flow->setupAndExecute(*library.link), c.result);
    EXPECT_EQ(terminal.requests(), std::vector<Bytes>{kStatusRequest});
    EXPECT_EQ(library.tag(TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION), "7");
  }
}

struct RangeCase {
  const char* name;
  Bytes reply;
  bool parses;
  const char* first;
  const char* last;
  const char* error;  // developer error logged, nullptr: none
};

TEST(Reports, RangeReplyNeedsExactlyTwoNumbersOrKeepsThePreviousRange) {
  const RangeCase cases[] = {
      {"two numbers", message({"33", "0", "1,250"}), true, "1", "250", nullptr},
      {"three numbers", message({"33", "0", "1,2,3"}), false, "old first", "old last",
       "Invalid range of sequence numbers acquired: 1,2,3"},
      {"one number", message({"33", "0", "17"}), false, "old first", "old last",
       "Invalid range of sequence numbers acquired: 17"},
      {"empty text", message({"33", "0", ""}), false, "old first", "old last",
       "Invalid range of sequence numbers acquired: "},
      {"no field", message({"33", "0"}), false, "old first", "old last",
       "Unable to extract range of sequence numbers"},
  };
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::step(message({"33", "1"}), c.reply));
    Session library(terminal);
    library.api().setTagValue(TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION, bytesOf("old first"));
    library.api().setTagValue(TAG_SEQUENCE_NUMBER_LAST_TRANSACTION, bytesOf("old last"));

    const Result result = library.exchange(
        [&] { return new TransAnalGenerate(library.maintenance(), library.report()); });
    EXPECT_EQ(result, c.parses ? Result(utils::RESULT_OK) : kParseFailed);
    EXPECT_EQ(library.tag(TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION), c.first);
    EXPECT_EQ(library.tag(TAG_SEQUENCE_NUMBER_LAST_TRANSACTION), c.last);
    if (c.error != nullptr) {
      EXPECT_TRUE(logged(kErrorPriority, c.error))
          << ::testing::PrintToString(developerLines(kErrorPriority));
    }
  }
}

struct Entry {
  std::string type;
  uint32_t count;
  int64_t amount;
  bool valid;
};

struct SummaryCase {
  const char* name;
  Bytes reply;
  std::string data;
  std::string title;
  std::vector<Entry> entries;
  std::vector<std::string> errors;
};

// Before each reply the stored summary is "Earlier,SALE|1|5".
TEST(Reports, SummaryReplyBecomesTitleAndEntries) {
  const int64_t max64 = std::numeric_limits<int64_t>::max();
  const int64_t min64 = std::numeric_limits<int64_t>::min();
  const SummaryCase cases[] = {
      {"entries with and without amount", message({"32", "0", "Totals,SALE|3|12550,REFUND|1"}),
       "Totals,SALE|3|12550,REFUND|1", "Totals",
       {{"SALE", 3, 12550, true}, {"REFUND", 1, 0, false}}, {}},
      // Report totals in minor units pass 32 bits easily.
      {"amounts beyond 32 bits",
       message({"32", "0",
                "Big,SALE|2|2147483648,REFUND|1|-3000000000,SUM|9|  +123456789012,"
                "HUGE|1|99999999999999999999,LOW|1|-99999999999999999999"}),
       "Big,SALE|2|2147483648,REFUND|1|-3000000000,SUM|9|  +123456789012,"
       "HUGE|1|99999999999999999999,LOW|1|-99999999999999999999",
       "Big",
       {{"SALE", 2, 2147483648LL, true},
        {"REFUND", 1, -3000000000LL, true},
        {"SUM", 9, 123456789012LL, true},
        {"HUGE", 1, max64, true},
        {"LOW", 1, min64, true}},
       {}},
      {"counts read like the terminal writes them",
       message({"32", "0", "C,A| 12|,B|7x|1x,D|x|,E|-1|0,F|99999999999"}),
       "C,A| 12|,B|7x|1x,D|x|,E|-1|0,F|99999999999", "C",
       {{"A", 12, 0, false},
        {"B", 7, 1, true},
        {"D", 0, 0, false},
        {"E", 0, 0, true},
        {"F", std::numeric_limits<uint32_t>::max(), 0, false}},
       {}},
      {"invalid entries are kept in place", message({"32", "0", "T,BAD,|5|7,X|2|3"}),
       "T,BAD,|5|7,X|2|3", "T",
       {{"", 0, 0, false}, {"", 5, 7, true}, {"X", 2, 3, true}},
       {"Invalid summary entry aquired: BAD"}},
      {"empty entry between commas", message({"32", "0", "T,,X|1"}), "T,,X|1", "T",
       {{"", 0, 0, false}, {"X", 1, 0, false}},
       {"Invalid summary entry aquired: "}},
      {"only a title", message({"32", "0", "Title only"}), "Title only", "Title only", {}, {}},
      {"empty text replaces the summary", message({"32", "0", ""}), "", "", {},
       {"Empty report data"}},
      {"no text keeps the summary", message({"32", "0"}), "Earlier,SALE|1|5", "Earlier",
       {{"SALE", 1, 5, true}}, {}},
  };
  for (const SummaryCase& c : cases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::step(message({"32", "1"}), c.reply));
    Session library(terminal);
    library.report().setReportSummary("Earlier,SALE|1|5");
    zq::test::journal().clear();

    EXPECT_TRUE(library
                    .exchange([&] {
                      return new TransRepGetTotalSummary(library.maintenance(), library.report());
                    })
                    .isOk());
    const ReportSummary summary = library.report().getReportSummary();
    EXPECT_EQ(summary.getData(), c.data);
    EXPECT_EQ(summary.getTitle(), c.title);
    for (size_t i = 0; i < c.entries.size(); ++i) {
      SCOPED_TRACE(i);
      utils::Optional<SummaryEntry> entry = summary.getEntry(i);
      ASSERT_TRUE(entry.isPresent());
      EXPECT_EQ(entry->getEntryType(), c.entries[i].type);
      EXPECT_EQ(entry->getTransactionCount(), c.entries[i].count);
      EXPECT_EQ(entry->getSummaryAmount(), c.entries[i].amount);
      EXPECT_EQ(entry->getSummaryAmountValid(), c.entries[i].valid);
    }
    EXPECT_EQ(developerLines(kErrorPriority), c.errors);
    EXPECT_FALSE(summary.getEntry(c.entries.size()).isPresent());
    EXPECT_TRUE(logged(kWarnPriority, "No summary entry with requested ID"));
  }
}

struct FetchCase {
  const char* name;
  FlowMaker flow;
  tlv::TlvTag indexTag;  // 0: none
  const char* index;
  Bytes request;
  Bytes reply;
  const char* traceLine;
};

// Every fetch goes out plain, without a pause; summaries land in the report
// view, "34" in the transaction tags.
TEST(Reports, FetchFlowsSendTheirExactRequestWithoutPause) {
  const FetchCase cases[] = {
      {"cardset summary", reportFlow<TransactionReportCardsetsFlow>(), TAG_CARDSET_ID, "12",
       message({"31", "1", "12"}), message({"31", "0", "Cardset 12,SALE|1|100"}),
       "Get report for cardset with index 12"},
      {"report total", reportFlow<TransactionReportTotalSummaryFlow>(), 0, nullptr,
       message({"32", "1"}), message({"32", "0", "Report total,SALE|1|100"}),
       "Get report summary"},
      {"analysis transaction", transactionFlow<TransactionAnalysisDetailsFlow>(), TAG_TRANSACTION_ID,
       "0042", message({"34", "1", "0042"}), message({"34", "0", "3", "0", "42", "A1B2C3"}),
       "Get transaction with index 0042"},
      {"analysis total", reportFlow<TransactionAnalysisSummaryFlow>(), 0, nullptr,
       message({"35", "1"}), message({"35", "0", "Analysis total,SALE|1|100"}),
       "Get analysis summary"},
      {"DCC currency", reportFlow<TransactionDccAnalysisCurrencyFlow>(), TAG_CURRENCY_ID, "978",
       message({"37", "1", "978"}), message({"37", "0", "EUR,SALE|1|100"}),
       "Get DCC analysis for currency with index 978"},
      {"DCC total", reportFlow<TransactionDccAnalysisSummaryFlow>(), 0, nullptr,
       message({"38", "1"}), message({"38", "0", "DCC total,SALE|1|100"}),
       "Get DCC analysis summary"},
  };
  for (const FetchCase& c : cases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::step(c.request, c.reply));
    Session library(terminal);
    if (c.indexTag != 0) library.api().setTagValue(c.indexTag, bytesOf(c.index));
    startRecordingPauses();

    std::unique_ptr<TalvorenFlowInterface> flow = c.flow(library);
    EXPECT_EQ(flow->setupAndExecute(*library.link), Result(utils::RESULT_OK));
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
    EXPECT_EQ(terminal.requests(), std::vector<Bytes>{c.request});
    EXPECT_TRUE(pauses().empty());
    EXPECT_TRUE(logged(kTracePriority, c.traceLine));
    if (c.request[1] == '4') {
      EXPECT_EQ(library.tag(TAG_TRANSACTION_TYPE), "1");
      EXPECT_EQ(library.tag(TAG_TRANSACTION_NUMBER), "42");
      EXPECT_EQ(library.tag(TAG_AUTHORIZATION_CODE), "A1B2C3");
    } else {
      const std::string summary(c.reply.begin() + 5, c.reply.end());
      EXPECT_EQ(library.report().getReportSummary().getData(), summary);
      ASSERT_TRUE(library.report().getReportSummary().getEntry(0).isPresent());
      EXPECT_EQ(library.report().getReportSummary().getEntry(0)->getSummaryAmount(), 100);
    }
  }
}

struct MissingIndexCase {
  const char* name;
  FlowMaker flow;
  Result flowResult;
  std::function<TalvorenMessageInterface*(Session&)> message;
  const char* buildError;
};

// The flow refuses before it builds anything; the message, built on its own,
// refuses too. Neither sends a byte.
TEST(Reports, WithoutItsIndexNothingIsSent) {
  const MissingIndexCase cases[] = {
      {"cardset", reportFlow<TransactionReportCardsetsFlow>(),
       Result(utils::RESULT_ARGUMENT_MISSING, "Cardset ID missing"),
       [](Session& s) { return new TransRepGetCardsetSummary(s.maintenance(), s.report()); },
       "Cardset index missing"},
      {"transaction", transactionFlow<TransactionAnalysisDetailsFlow>(),
       Result(utils::RESULT_ARGUMENT_MISSING, "Transaction ID missing"),
       [](Session& s) { return new TransAnalTransDetails(s.maintenance(), s.transaction()); },
       "Transaction index missing"},
      {"currency", reportFlow<TransactionDccAnalysisCurrencyFlow>(),
       Result(utils::RESULT_ARGUMENT_MISSING, "Currency ID missing"),
       [](Session& s) { return new TransDccAnalCurrencySummary(s.maintenance(), s.report()); },
       "Currency index missing"},
  };
  for (const MissingIndexCase& c : cases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    Session library(terminal);

    std::unique_ptr<TalvorenFlowInterface> flow = c.flow(library);
    EXPECT_EQ(flow->setupAndExecute(*library.link), c.flowResult);
    EXPECT_TRUE(logged(kTracePriority, c.flowResult.getMessage()));
    EXPECT_TRUE(developerLines(kErrorPriority).empty())
        << ::testing::PrintToString(developerLines(kErrorPriority));

    EXPECT_EQ(library.exchange([&] { return c.message(library); }), kNotBuilt);
    EXPECT_TRUE(logged(kErrorPriority, c.buildError));
    EXPECT_TRUE(terminal.received().empty());
  }
}

// An index stored by ecr_setTag (or by anything but its setter) goes out only
// when its setter would have taken it; otherwise nothing is sent.
TEST(Reports, AnIndexItsSetterWouldRefuseIsNotSent) {
  struct Case {
    const char* name;
    tlv::TlvTag tag;
    const char* stored;
    std::function<TalvorenMessageInterface*(Session&)> message;
  };
  const Case cases[] = {
      {"cardset of three digits", TAG_CARDSET_ID, "100",
       [](Session& s) { return new TransRepGetCardsetSummary(s.maintenance(), s.report()); }},
      {"currency with a letter", TAG_CURRENCY_ID, "97x",
       [](Session& s) { return new TransDccAnalCurrencySummary(s.maintenance(), s.report()); }},
      {"analysed transaction of nine digits", TAG_TRANSACTION_ID, "123456789",
       [](Session& s) { return new TransAnalTransDetails(s.maintenance(), s.transaction()); }},
      {"batch transaction with a blank", TAG_TRANSACTION_ID, "4 2",
       [](Session& s) { return new SingleTranFromBatchMessage(s.maintenance(), s.transaction()); }},
      {"terminal index of two digits", TAG_TERMINAL_INDEX, "12",
       [](Session& s) { return new GeneralInformationMessage(s.maintenance()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    Session library(terminal);
    library.api().setTagValue(c.tag, bytesOf(c.stored));
    EXPECT_EQ(library.exchange([&] { return c.message(library); }), kNotBuilt);
    EXPECT_TRUE(terminal.received().empty());
    EXPECT_TRUE(logged(kErrorPriority, std::string("Identifier ") + c.stored + " not accepted, request not built"))
        << ::testing::PrintToString(developerLines(kErrorPriority));
  }
}

}  // namespace
}  // namespace zq::app::protocols::testing

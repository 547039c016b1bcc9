// Each operation of the Talvoren protocol against the scripted terminal:
// which messages it sends, in which order, with which pause after each, and
// what comes back. The pass-through exchange, which bypasses the envelope,
// has its own table.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/Sleep.h"
#include "core/TagNames.h"
#include "link/CommPlatform.h"
#include "link/Link.h"
#include "link/StxEtxLinkLayer.h"
#include "protocol/TalvorenProtocol.h"
#include "support/TerminalSimulator.h"

namespace zq::app::protocols {
namespace {

using namespace zq::app::tlv;
using zq::test::PeerStep;
using zq::test::TerminalSimulator;
using Bytes = std::vector<unsigned char>;

constexpr uint32_t kLinkTimeoutMs = 300;

std::vector<unsigned>& pauses() {
  static std::vector<unsigned> recorded;
  return recorded;
}
void recordPause(unsigned ms) { pauses().push_back(ms); }

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// One protocol object on one open link to the simulator, cash register '1'.
class RoutingFixture {
 public:
  explicit RoutingFixture(const std::string& script) {
    std::istringstream in(script);
    std::vector<PeerStep> steps;
    std::string error;
    EXPECT_TRUE(TerminalSimulator::parseScript(in, steps, error)) << error;
    for (PeerStep& step : steps) terminal.addStep(std::move(step));
    link = std::make_unique<link::Link>(new link::StxEtxLrcNoAckLinkLayer(),
                                        comm::makeTcpClient("127.0.0.1", terminal.port(), kLinkTimeoutMs).release(),
                                        65536);
    EXPECT_TRUE(link->open().isOk());
    EXPECT_TRUE(protocol.setTag(TAG_CASH_REGISTER_ID, text("1")));
    utils::registerCustomSleep(recordPause);
    pauses().clear();
  }
  ~RoutingFixture() { utils::registerCustomSleep(nullptr); }

  // The requests as the script writes them.
  std::vector<std::string> requests() const {
    std::vector<std::string> out;
    for (const auto& request : terminal.requests()) {
      out.push_back(TerminalSimulator::escape(request));
    }
    return out;
  }

  TerminalSimulator terminal;
  TalvorenProtocol protocol;
  std::unique_ptr<link::Link> link;
};

struct Tag {
  TlvTag tag;
  std::string value;
};

struct RoutingCase {
  const char* operation;
  std::function<Result(TalvorenProtocol&, link::Link&)> run;
  std::vector<Tag> stored;  // what the host set beforehand
  const char* script;       // the terminal's side
  // The requests; one ending in '*' is matched up to there (the start
  // request carries the whole transaction and is the transaction tests' matter).
  std::vector<std::string> requests;
  std::vector<unsigned> pauses;
  utils::EcrTransactionResult status;
};

#define OP(name) #name, [](TalvorenProtocol& p, link::Link& l) { return p.name(l); }

// Return code 8 of the terminal ("no data") maps to RESULT_NO_DATA: a reply
// that only the message it answers can have produced.
const RoutingCase kCases[] = {
    {OP(getTerminalStatus), {}, R"(expect 20\x1C1
reply 20\x1C0\x1C0
)", {R"(20\x1C1)"}, {300}, utils::RESULT_OK},
    {OP(getTerminalGeneralInfo), {{TAG_TERMINAL_INDEX, "2"}}, R"(expect 26\x1C1\x1C2
reply 26\x1C8
)", {R"(26\x1C1\x1C2)"}, {300}, utils::RESULT_NO_DATA},
    {OP(getBatchSummary), {}, R"(expect 25\x1C1
reply 25\x1C8
)", {R"(25\x1C1)"}, {300}, utils::RESULT_NO_DATA},
    {OP(getSingleTransFromSummary), {{TAG_TRANSACTION_ID, "17"}}, R"(expect 24\x1C1\x1C17
reply 24\x1C8
)", {R"(24\x1C1\x1C17)"}, {}, utils::RESULT_NO_DATA},
    {OP(generateReport), {{TAG_RESET_REPORT, "1"}}, R"(expect 20\x1C1
reply 20\x1C0\x1C0
expect 30\x1C1\x1C1
reply 30\x1C0\x1C5,9
)", {R"(20\x1C1)", R"(30\x1C1\x1C1)"}, {300}, utils::RESULT_OK},
    {OP(getReportCardsetSummary), {{TAG_CARDSET_ID, "3"}}, R"(expect 31\x1C1\x1C3
reply 31\x1C0
)", {R"(31\x1C1\x1C3)"}, {}, utils::RESULT_OK},
    {OP(getReportTotalSummary), {}, R"(expect 32\x1C1
reply 32\x1C8
)", {R"(32\x1C1)"}, {}, utils::RESULT_NO_DATA},
    {OP(generateTransactionAnalysis), {}, R"(expect 20\x1C1
reply 20\x1C0\x1C0
expect 33\x1C1
reply 33\x1C8
)", {R"(20\x1C1)", R"(33\x1C1)"}, {300}, utils::RESULT_NO_DATA},
    {OP(getTransactionAnalysisDetails), {{TAG_TRANSACTION_ID, "4"}}, R"(expect 34\x1C1\x1C4
reply 34\x1C8
)", {R"(34\x1C1\x1C4)"}, {}, utils::RESULT_NO_DATA},
    {OP(getTransactionAnalysisSummary), {}, R"(expect 35\x1C1
reply 35\x1C0
)", {R"(35\x1C1)"}, {}, utils::RESULT_OK},
    {OP(generateTransactionDccAnalysis), {}, R"(expect 20\x1C1
reply 20\x1C0\x1C0
expect 36\x1C1
reply 36\x1C8
)", {R"(20\x1C1)", R"(36\x1C1)"}, {300}, utils::RESULT_NO_DATA},
    {OP(getTransactionDccAnalysisCurrencySummary), {{TAG_CURRENCY_ID, "985"}},
     R"(expect 37\x1C1\x1C985
reply 37\x1C8
)", {R"(37\x1C1\x1C985)"}, {}, utils::RESULT_NO_DATA},
    {OP(getTransactionDccAnalysisTotalSummary), {}, R"(expect 38\x1C1
reply 38\x1C0
)", {R"(38\x1C1)"}, {}, utils::RESULT_OK},
    {OP(getLastTransactionData), {}, R"(expect 27\x1C1
reply 27\x1C8
)", {R"(27\x1C1)"}, {300}, utils::RESULT_NO_DATA},
    {"startTransaction, new",
     [](TalvorenProtocol& p, link::Link& l) { return p.startTransaction(l); },
     {{TAG_CONTINUE_PREVIOUS_TRANSACTION, "0"},
      {TAG_TRANSACTION_TYPE, "0"},
      {TAG_AMOUNT, std::string("\x01\x00", 2)}},
     R"(expect 20\x1C1
reply 20\x1C0\x1C0
expect *
reply 21\x1C8
)", {R"(20\x1C1)", R"(21\x1C1\x1C*)"}, {300, 300}, utils::RESULT_NO_DATA},
    {"startTransaction, continued",
     [](TalvorenProtocol& p, link::Link& l) { return p.startTransaction(l); },
     {{TAG_CONTINUE_PREVIOUS_TRANSACTION, "1"}}, R"(expect 20\x1C1
reply 20\x1C0\x1C0
)", {R"(20\x1C1)"}, {300}, utils::RESULT_OK},
    {"startEvoucherTransaction, continued",
     [](TalvorenProtocol& p, link::Link& l) { return p.startEvoucherTransaction(l); },
     {{TAG_CONTINUE_PREVIOUS_TRANSACTION, "1"}}, R"(expect 20\x1C1
reply 20\x1C0\x1C0
)", {R"(20\x1C1)"}, {300}, utils::RESULT_OK},
    {OP(getEvouchOp), {{TAG_EV_OP_ID, "12"}}, R"(expect 41\x1C1\x1C12
reply 41\x1C8
)", {R"(41\x1C1\x1C12)"}, {300}, utils::RESULT_NO_DATA},
};

#undef OP

// Every operation the protocol runs over the link, as its header declares
// them: each needs its row above (the pass-through its own table below), so
// a new one cannot go untested unnoticed.
TEST(ProtocolRouting, EveryOperationHasItsRow) {
  const std::string header = std::string(ZQ_SOURCE_DIR) + "/protocol/TalvorenProtocol.h";
  std::ifstream in(header);
  ASSERT_TRUE(in) << header;
  std::set<std::string> covered = {"passThroughMessage"};
  for (const RoutingCase& c : kCases) {
    const std::string name = c.operation;
    covered.insert(name.substr(0, name.find(',')));
  }
  const std::regex operation(R"(\bResult\s+(\w+)\s*\(\s*link::Link\s*&)");
  std::vector<std::string> declared;
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_search(line, m, operation)) declared.push_back(m[1]);
  }
  EXPECT_GE(declared.size(), 18u) << "the header's operations were not found";
  for (const std::string& name : declared) {
    EXPECT_EQ(covered.count(name), 1u) << name << " has no row in kCases";
  }
}

TEST(ProtocolRouting, EachOperationSendsItsMessagesWithTheirPauses) {
  for (const RoutingCase& c : kCases) {
    SCOPED_TRACE(c.operation);
    RoutingFixture fixture(c.script);
    for (const Tag& t : c.stored) ASSERT_TRUE(fixture.protocol.setTag(t.tag, text(t.value)));

    const Result result = c.run(fixture.protocol, *fixture.link);
    EXPECT_EQ(result.getStatus(), c.status) << result.getMessage();

    const std::vector<std::string> sent = fixture.requests();
    ASSERT_EQ(sent.size(), c.requests.size());
    for (size_t i = 0; i < sent.size(); ++i) {
      const std::string& want = c.requests[i];
      if (!want.empty() && want.back() == '*') {
        EXPECT_EQ(sent[i].substr(0, want.size() - 1), want.substr(0, want.size() - 1));
      } else {
        EXPECT_EQ(sent[i], want);
      }
    }
    EXPECT_EQ(pauses(), c.pauses);
    EXPECT_TRUE(fixture.terminal.waitForSteps(c.requests.size(), 2000));
    EXPECT_TRUE(fixture.terminal.mismatches().empty());
  }
}

// The index operations need the host's index; without it nothing goes out.
TEST(ProtocolRouting, IndexOperationsSendNothingWithoutTheirIndex) {
  struct Case {
    const char* operation;
    std::function<Result(TalvorenProtocol&, link::Link&)> run;
    const char* text;
  };
  const Case cases[] = {
      {"getSingleTransFromSummary",
       [](TalvorenProtocol& p, link::Link& l) { return p.getSingleTransFromSummary(l); },
       "Transaction ID missing"},
      {"getTransactionAnalysisDetails",
       [](TalvorenProtocol& p, link::Link& l) { return p.getTransactionAnalysisDetails(l); },
       "Transaction ID missing"},
      {"getReportCardsetSummary",
       [](TalvorenProtocol& p, link::Link& l) { return p.getReportCardsetSummary(l); },
       "Cardset ID missing"},
      {"getTransactionDccAnalysisCurrencySummary",
       [](TalvorenProtocol& p, link::Link& l) {
         return p.getTransactionDccAnalysisCurrencySummary(l);
       },
       "Currency ID missing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operation);
    RoutingFixture fixture("");
    EXPECT_EQ(c.run(fixture.protocol, *fixture.link),
              Result(utils::RESULT_ARGUMENT_MISSING, c.text));
    EXPECT_TRUE(fixture.requests().empty());
    EXPECT_TRUE(pauses().empty());
  }
}

// The host's bytes go out unchanged, the whole reply comes back, and the
// terminal is given the long pause.
TEST(ProtocolRouting, PassThroughHandsBackTheWholeReply) {
  const Bytes untouched(12, 0xEE);
  struct Case {
    const char* name;
    const char* script;
    std::string request;
    size_t bufferSize;
    utils::EcrTransactionResult status;
    std::string reply;     // what the buffer holds afterwards (up to its size)
    size_t lengthAfter;    // the length argument afterwards
    size_t requestsSent;
    std::vector<unsigned> pauses;
    const char* message;   // the result's message, where it is the library's own
  };
  const char* const tooShort = "Flow stopped because response buffer is too short";
  const Case cases[] = {
      {"exact fit", "expect 99\\x1Cping\nreply pong\\x1Cdata12\n", "99\x1Cping", 11,
       utils::RESULT_OK, "pong\x1C" "data12", 11, 1, {1500}, ""},
      {"shorter reply", "expect 99\nreply ok\n", "99", 12, utils::RESULT_OK, "ok", 2, 1, {1500},
       ""},
      {"empty reply", "expect 99\nreply \n", "99", 12, utils::RESULT_OK, "", 0, 1, {1500}, ""},
      {"reply longer than the buffer", "expect 99\nreply 0123456789AB\n", "99", 10,
       utils::RESULT_UNKNOWN_RETURN_CODE, "", 10, 1, {1500}, tooShort},
      {"no reply", "expect 99\nsilent\n", "99", 12, utils::RESULT_COMM_ERROR, "", 12, 1, {1500},
       nullptr},
      {"empty request", "", "", 12, utils::RESULT_COMM_ERROR, "", 12, 0, {},
       "Unable to build Talvoren message"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RoutingFixture fixture(c.script);
    Bytes buffer = untouched;
    size_t length = c.bufferSize;
    const Bytes request = text(c.request);
    const Result result = fixture.protocol.passThroughMessage(
        *fixture.link, request.data(), request.size(), buffer.data(), &length);
    EXPECT_EQ(result.getStatus(), c.status) << result.getMessage();
    EXPECT_EQ(length, c.lengthAfter);
    Bytes expected = untouched;
    std::copy(c.reply.begin(), c.reply.end(), expected.begin());
    EXPECT_EQ(buffer, expected) << "nothing is written beyond the reply, nothing on failure";
    EXPECT_EQ(fixture.terminal.requests().size(), c.requestsSent);
    EXPECT_EQ(pauses(), c.pauses);
    if (c.message != nullptr) {
      EXPECT_EQ(result.getMessage(), c.message);
    }
  }
}

// Pointers a reply could not be handed back through stop the exchange
// before anything is sent.
TEST(ProtocolRouting, PassThroughRefusesNullPointers) {
  RoutingFixture fixture("");
  unsigned char buffer[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  size_t length = sizeof buffer;
  const unsigned char request[] = {'9', '9'};
  EXPECT_EQ(
      fixture.protocol.passThroughMessage(*fixture.link, nullptr, 2, buffer, &length).getStatus(),
      utils::RESULT_ARGUMENT_MISSING);
  EXPECT_EQ(
      fixture.protocol.passThroughMessage(*fixture.link, request, 2, buffer, nullptr).getStatus(),
      utils::RESULT_ARGUMENT_MISSING);
  EXPECT_EQ(
      fixture.protocol.passThroughMessage(*fixture.link, request, 2, nullptr, &length).getStatus(),
      utils::RESULT_ARGUMENT_MISSING);
  EXPECT_EQ(length, sizeof buffer);
  EXPECT_TRUE(fixture.terminal.requests().empty());
}

}  // namespace
}  // namespace zq::app::protocols

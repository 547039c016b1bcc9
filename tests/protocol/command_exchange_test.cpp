// Command exchanges end to end: the library's TCP link against the scripted
// terminal on a loopback socket, with the pauses recorded instead of slept.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/Sleep.h"
#include "link/CommPlatform.h"
#include "link/Link.h"
#include "link/StxEtxLinkLayer.h"
#include "protocol/CommonMessage.h"
#include "protocol/IndexFlows.h"
#include "protocol/SimpleFlow.h"
#include "protocol/TalvorenCtx.h"
#include "support/TerminalSimulator.h"

namespace zq::app::protocols {
namespace {

using zq::test::PeerStep;
using zq::test::TerminalSimulator;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kLinkTimeoutMs = 300;
constexpr uint8_t kNak = 0x15;

std::vector<unsigned>& pauses() {
  static std::vector<unsigned> recorded;
  return recorded;
}
void recordPause(unsigned ms) { pauses().push_back(ms); }

// A message "20" with no fields of its own either way.
class EnvelopeOnlyMessage : public CommonMessage {
 public:
  using CommonMessage::CommonMessage;
  std::string getId() override { return "20"; }

 protected:
  bool buildMessageSpecificPart() override { return true; }
  bool parseMessageSpecificPart() override { return true; }
};

class EnvelopeOnlyFlow : public SimpleFlow {
 public:
  EnvelopeOnlyFlow(MaintenanceSubCtx& ctx, TalvorenCommand::DelayCommand mode)
      : SimpleFlow(ctx, mode) {}
  TalvorenMessageInterface* prepareMessage() override {
    return new EnvelopeOnlyMessage(maintenanceCtx);
  }
};

link::Link* tcpLink(uint16_t port) {
  return new link::Link(new link::StxEtxLrcNoAckLinkLayer(),
                        comm::makeTcpClient("127.0.0.1", port, kLinkTimeoutMs).release(), 65536);
}

// The library's side of one terminal connection, cash register '1'.
struct Connection {
  explicit Connection(uint16_t port) : link(tcpLink(port)) {
    utils::registerCustomSleep(recordPause);
    pauses().clear();
    ctx.getApiCtx().setCashRegisterNumber('1');
    EXPECT_TRUE(link->open().isOk());
  }
  ~Connection() { utils::registerCustomSleep(nullptr); }

  Result run(TalvorenCommand::DelayCommand mode) {
    EnvelopeOnlyFlow flow(ctx.getMaintenanceCtx(), mode);
    return flow.setupAndExecute(*link);
  }

  TalvorenCtx ctx;
  std::unique_ptr<link::Link> link;
};

const Bytes kStatusRequest = TerminalSimulator::fields({"20", "1"});
const Bytes kStatusReply = TerminalSimulator::fields({"20", "0"});

struct ModeCase {
  TalvorenCommand::DelayCommand mode;
  std::vector<unsigned> pauses;
};

const ModeCase kModes[] = {
    {TalvorenCommand::NO_DELAY, {}},
    {TalvorenCommand::SHORT_DELAY, {300}},
    {TalvorenCommand::LONG_DELAY, {1500}},
};

TEST(CommandExchange, RequestFrameIsExactAndPauseFollowsTheMode) {
  for (const ModeCase& c : kModes) {
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::step(kStatusRequest, kStatusReply));
    Connection library(terminal.port());

    EXPECT_EQ(library.run(c.mode), Result(utils::RESULT_OK)) << "mode " << c.mode;
    ASSERT_TRUE(terminal.waitForSteps(1, 1000));
    // STX 2 0 FS 1 ETX LRC, and nothing else on the wire.
    EXPECT_EQ(terminal.received(), (Bytes{0x02, '2', '0', 0x1C, '1', 0x03, 0x2C}));
    EXPECT_TRUE(terminal.mismatches().empty());
    EXPECT_EQ(pauses(), c.pauses) << "mode " << c.mode;
  }
}

TEST(CommandExchange, PauseRunsAlsoWhenNoReplyCame) {
  for (const ModeCase& c : kModes) {
    TerminalSimulator terminal;
    PeerStep silent = TerminalSimulator::step(kStatusRequest, kStatusReply);
    silent.silent = true;
    terminal.addStep(silent);
    Connection library(terminal.port());

    const Result result = library.run(c.mode);
    EXPECT_EQ(result.getStatus(), utils::RESULT_COMM_ERROR) << "mode " << c.mode;
    EXPECT_EQ(pauses(), c.pauses) << "mode " << c.mode;
  }
}

// A port on which nobody listens: bound, then released.
uint16_t deadPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

TEST(CommandExchange, NoPauseWhenTheRequestCouldNotBeSent) {
  for (const ModeCase& c : kModes) {
    std::unique_ptr<link::Link> link(tcpLink(deadPort()));
    TalvorenCtx ctx;
    ctx.getApiCtx().setCashRegisterNumber('1');
    utils::registerCustomSleep(recordPause);
    pauses().clear();

    EnvelopeOnlyFlow flow(ctx.getMaintenanceCtx(), c.mode);
    const Result result = flow.setupAndExecute(*link);
    EXPECT_EQ(result.getStatus(), utils::RESULT_COMM_ERROR) << "mode " << c.mode;
    EXPECT_TRUE(pauses().empty()) << "mode " << c.mode;
    utils::registerCustomSleep(nullptr);
  }
}

TEST(CommandExchange, DamagedReplyIsAnsweredWithNak) {
  TerminalSimulator terminal;
  PeerStep damaged = TerminalSimulator::step(kStatusRequest, kStatusReply);
  damaged.badLrc = true;
  terminal.addStep(damaged);
  Connection library(terminal.port());

  const Result result = library.run(TalvorenCommand::SHORT_DELAY);
  EXPECT_EQ(result, Result(utils::RESULT_COMM_ERROR, "Message extraction failed"));
  ASSERT_TRUE(terminal.waitForReceived(TerminalSimulator::frame(kStatusRequest).size() + 1, 1000));
  EXPECT_EQ(terminal.controlBytes(), Bytes{kNak});
  EXPECT_EQ(pauses(), std::vector<unsigned>{300});
}

// A monitored request first looks for the terminal's end of transmission and
// reconnects; a plain one does not look.
TEST(CommandExchange, OnlyMonitoredRequestsReconnectAfterEot) {
  const std::pair<TalvorenCommand::DelayCommand, int> cases[] = {
      {TalvorenCommand::NO_DELAY, 1},
      {TalvorenCommand::SHORT_DELAY, 2},
  };
  for (const auto& c : cases) {
    TerminalSimulator terminal;
    PeerStep first = TerminalSimulator::step(kStatusRequest, kStatusReply);
    first.eotAfter = true;
    // The EOT comes on its own, after the reply has been taken in.
    first.splitChunk = TerminalSimulator::frame(kStatusReply).size();
    terminal.addStep(first);
    terminal.addStep(TerminalSimulator::step(kStatusRequest, kStatusReply));
    Connection library(terminal.port());

    ASSERT_TRUE(library.run(TalvorenCommand::NO_DELAY).isOk());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(library.run(c.first).isOk()) << "mode " << c.first;
    ASSERT_TRUE(terminal.waitForSteps(2, 1000));
    EXPECT_EQ(terminal.connectionCount(), c.second) << "mode " << c.first;
    EXPECT_TRUE(terminal.mismatches().empty());
  }
}

struct OutcomeCase {
  const char* name;
  Bytes reply;
  bool cashRegisterStored;
  Result expected;
  size_t requestsSent;
};

TEST(CommandExchange, ReplyOutcomesBecomeResults) {
  const OutcomeCase cases[] = {
      {"return code 0", kStatusReply, true, Result(utils::RESULT_OK), 1},
      {"return code 8 with its description",
       TerminalSimulator::fields({"20", "8", "No transactions"}), true,
       Result(utils::RESULT_NO_DATA, "No transactions"), 1},
      {"return code 64 without description", TerminalSimulator::fields({"20", "64"}), true,
       Result(utils::RESULT_TERMINAL_CODE_7), 1},
      {"return code 10 is not mapped", TerminalSimulator::fields({"20", "10", "?"}), true,
       Result(utils::RESULT_UNKNOWN_RETURN_CODE, "?"), 1},
      {"reply to another message", TerminalSimulator::fields({"26", "0"}), true,
       Result(utils::RESULT_COMM_ERROR, "Unable to parse POS response"), 1},
      {"request not buildable", kStatusReply, false,
       Result(utils::RESULT_ARGUMENT_MISSING, "Unable to build Talvoren message"), 0},
  };
  for (const OutcomeCase& c : cases) {
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::anyRequest(c.reply));
    Connection library(terminal.port());
    if (!c.cashRegisterStored) library.ctx.getApiCtx().removeTag(TAG_CASH_REGISTER_ID);

    EXPECT_EQ(library.run(TalvorenCommand::NO_DELAY), c.expected) << c.name;
    if (c.requestsSent > 0) {
      ASSERT_TRUE(terminal.waitForSteps(c.requestsSent, 1000)) << c.name;
    }
    EXPECT_EQ(terminal.requests().size(), c.requestsSent) << c.name;
  }
}

TEST(IndexFlows, SendTheStoredIndexOrNothing) {
  TerminalSimulator terminal;
  terminal.addStep(TerminalSimulator::step(TerminalSimulator::fields({"24", "1", "42"}),
                                           TerminalSimulator::fields({"24", "0", "1", "0"})));
  terminal.addStep(TerminalSimulator::step(TerminalSimulator::fields({"31", "1", "03"}),
                                           TerminalSimulator::fields({"31", "0"})));
  Connection library(terminal.port());
  MaintenanceSubCtx& maintenance = library.ctx.getMaintenanceCtx();
  TransactionSubCtx& transaction = library.ctx.getTransactionCtx();
  ReportSubCtx& report = library.ctx.getReportCtx();

  // Without their indexes the four flows send nothing.
  {
    SingleTranFromBatchFlow batch(maintenance, transaction);
    TransactionAnalysisDetailsFlow analysis(maintenance, transaction);
    TransactionReportCardsetsFlow cardsets(maintenance, report);
    TransactionDccAnalysisCurrencyFlow currency(maintenance, report);
    EXPECT_EQ(batch.setupAndExecute(*library.link),
              Result(utils::RESULT_ARGUMENT_MISSING, "Transaction ID missing"));
    EXPECT_EQ(analysis.setupAndExecute(*library.link),
              Result(utils::RESULT_ARGUMENT_MISSING, "Transaction ID missing"));
    EXPECT_EQ(cardsets.setupAndExecute(*library.link),
              Result(utils::RESULT_ARGUMENT_MISSING, "Cardset ID missing"));
    EXPECT_EQ(currency.setupAndExecute(*library.link),
              Result(utils::RESULT_ARGUMENT_MISSING, "Currency ID missing"));
    EXPECT_TRUE(terminal.received().empty());
  }

  library.ctx.getApiCtx().setTransactionIndex(42);
  library.ctx.getApiCtx().setTagValue(TAG_CARDSET_ID, Bytes{'0', '3'});
  SingleTranFromBatchFlow batch(maintenance, transaction);
  TransactionReportCardsetsFlow cardsets(maintenance, report);
  EXPECT_TRUE(batch.setupAndExecute(*library.link).isOk());
  EXPECT_TRUE(cardsets.setupAndExecute(*library.link).isOk());
  ASSERT_TRUE(terminal.waitForSteps(2, 1000));
  EXPECT_TRUE(terminal.mismatches().empty());
  EXPECT_TRUE(pauses().empty());
}

}  // namespace
}  // namespace zq::app::protocols

// The context guard in front of every setter, command and reader: a NULL
// context, or one without its link or its protocol, answers 6 and neither
// stores, sends, writes into the caller's buffers nor changes the last
// command's outcome or the link's time-out.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "api/EcrCtx.h"
#include "api/EcrTestHelpers.h"
#include "protocol/TalvorenProtocol.h"
#include "support/LoopbackPeer.h"
#include "zumbra_ecr.h"

namespace {

using zq::app::protocols::Result;
using zq::app::protocols::TalvorenProtocol;
using zq::test::hostLinesWith;
using zq::test::journal;

constexpr size_t kArenaSize = 512;
constexpr unsigned char kSentinel = 0xA5;

// Every output of every call points into this one sentinel-filled arena, so
// a function that writes before its guard is caught.
struct Arena {
  alignas(16) unsigned char bytes[kArenaSize];
  size_t lengths[3];
  void fill() {
    std::memset(bytes, kSentinel, sizeof bytes);
    for (size_t& length : lengths) length = 64;
  }
  bool untouched() const {
    for (unsigned char b : bytes)
      if (b != kSentinel) return false;
    for (size_t length : lengths)
      if (length != 64) return false;
    return true;
  }
  template <typename T>
  T* as(size_t offset = 0) {
    return reinterpret_cast<T*>(bytes + offset);
  }
  char* text(size_t offset = 0) { return as<char>(offset); }
  uint8_t* raw(size_t offset = 0) { return as<uint8_t>(offset); }
};

Arena& arena() {
  static Arena a;
  return a;
}

struct GuardedCall {
  const char* name;
  ecr_status (*call)(EcrCtx_s* ctx);
};

const uint8_t kBytes[] = {0x01, 0x02};

#define SETTER(expr) {#expr, [](EcrCtx_s* c) { return expr; }}
#define READER(expr) {#expr, [](EcrCtx_s* c) { Arena& a = arena(); (void)a; return expr; }}

const GuardedCall kSetters[] = {
    SETTER(ecr_setTransactionType(c, ECR_TRANSACTION_PURCHASE)),
    SETTER(ecr_setTransactionAmount(c, "100")),
    SETTER(ecr_setTransactionTitle(c, "Title")),
    SETTER(ecr_setTransactionBlikCode(c, "123456")),
    SETTER(ecr_setAdditionalPrintoutData(c, "Data")),
    SETTER(ecr_setEvoucherEan(c, "5901234123457")),
    SETTER(ecr_setNumberOfTransactionToComplete(c, "12")),
    SETTER(ecr_setNumberOfTransactionToReverse(c, "12")),
    SETTER(ecr_setTransactionId(c, 1)),
    SETTER(ecr_setCardsetId(c, 1)),
    SETTER(ecr_setCurrencyId(c, 985)),
    SETTER(ecr_setTerminalIndex(c, 1)),
    SETTER(ecr_setEvoucherOperationType(c, 1)),
    SETTER(ecr_setTransactionTokenGenerationEnabled(c)),
    SETTER(ecr_setResetReport(c, true)),
    SETTER(ecr_setHandleTerminalRequests(c, 1)),
    SETTER(ecr_setCashRegisterId(c, "1", 1)),
    SETTER(ecr_setTag(c, 0x9FCD60, kBytes, sizeof kBytes)),
    SETTER(ecr_setTagToEmpty(c, 0x9FD222)),
    SETTER(ecr_addFleetCardProductData(c, kBytes, sizeof kBytes)),
};

const GuardedCall kCommands[] = {
    SETTER(ecr_startTransaction(c)),
    SETTER(ecr_continueTransaction(c)),
    SETTER(ecr_startEvoucherTransaction(c)),
    SETTER(ecr_getLastTransactionData(c)),
    SETTER(ecr_getBatchSummary(c)),
    SETTER(ecr_getSingleTransactionFromBatch(c)),
    SETTER(ecr_getTerminalStatus(c)),
    SETTER(ecr_readTerminalInformationData(c)),
    SETTER(ecr_generateReport(c)),
    SETTER(ecr_getReportCardsetSummary(c)),
    SETTER(ecr_getReportTotalSummary(c)),
    SETTER(ecr_generateDccAnalysis(c)),
    SETTER(ecr_getTransactionDccAnalysisCurrencySummary(c)),
    SETTER(ecr_getTransactionDccAnalysisTotalSummary(c)),
    SETTER(ecr_generateTransactionAnalysis(c)),
    SETTER(ecr_getTransactionAnalysisDetails(c)),
    SETTER(ecr_getTransactionAnalysisSummary(c)),
    READER(ecr_cmdExchange(c, kBytes, sizeof kBytes, a.raw(), &a.lengths[0])),
    SETTER(ecr_cancelTransaction(c)),
    SETTER(ecr_waitForStatusChange(c)),
};

const GuardedCall kReaders[] = {
    READER(ecr_readTransactionType(c, a.as<ecr_transactionType>())),
    READER(ecr_readOriginalTransactionType(c, a.as<ecr_transactionType>())),
    READER(ecr_readUsedCardReaderType(c, a.as<CardReaderType>())),
    READER(ecr_readAuthorizationType(c, a.as<AuthorizationType>())),
    READER(ecr_readAuthorizationMethod(c, a.as<AuthorizationMethod>())),
    READER(ecr_readEmvCryptogramType(c, a.as<EmvCryptogramType>())),
    READER(ecr_readIfTerminalMadePrinout(c, a.as<bool>())),
    READER(ecr_readIfMultilanguagePrintoutIsRequired(c, a.as<bool>())),
    READER(ecr_readIfReversalWasManual(c, a.as<bool>())),
    READER(ecr_readIfTransactionWasReversal(c, a.as<bool>())),
    READER(ecr_readBatchStatus(c, a.as<ecr_batchStatus>())),
    READER(ecr_readTerminalStatus(c, a.as<ecr_terminalStatus>())),
    READER(ecr_readTransactionDate(c, a.text())),
    READER(ecr_readTransactionTime(c, a.text())),
    READER(ecr_readTransactionCryptogram(c, a.text())),
    READER(ecr_readTransactionCounter(c, a.text())),
    READER(ecr_readTransactionTvr(c, a.text())),
    READER(ecr_readTransactionTsi(c, a.text())),
    READER(ecr_readTransactionAid(c, a.text())),
    READER(ecr_readTransactionAmount(c, a.text())),
    READER(ecr_readTransactionAmountInTerminalCurrency(c, a.text())),
    READER(ecr_readTransactionCashback(c, a.text())),
    READER(ecr_readAosa(c, a.text())),
    READER(ecr_readTransactionAmountOfTip(c, a.text())),
    READER(ecr_readAdditionalPrintoutData(c, a.text())),
    READER(ecr_readTransactionCurrencyLabel(c, a.text())),
    READER(ecr_readTerminalCurrencyLabel(c, a.text())),
    READER(ecr_readTransactionCurrencyCode(c, a.as<uint16_t>())),
    READER(ecr_readTerminalCurrencyCode(c, a.as<uint16_t>())),
    READER(ecr_readCurrencyExponent(c, a.text())),
    READER(ecr_readTag(c, 0x9C, a.raw(), &a.lengths[0])),
    READER(ecr_readTerminalId(c, a.raw(), &a.lengths[0])),
    READER(ecr_readMerchantId(c, a.raw(), &a.lengths[0])),
    READER(ecr_readTerminalAddress(c, a.raw(0), &a.lengths[0], a.raw(64), &a.lengths[1], a.raw(128),
                                   &a.lengths[2])),
    READER(ecr_readResultTags(c, a.raw(), &a.lengths[0])),
    READER(ecr_readReportTitle(c, a.raw(), &a.lengths[0])),
    READER(ecr_readReportEntry(c, 1, a.raw(0), &a.lengths[0], a.as<uint32_t>(128), a.as<int64_t>(136))),
    READER(ecr_readReportEntryValid(c, 1, a.raw(0), &a.lengths[0], a.as<uint32_t>(128),
                                    a.as<int64_t>(136), a.as<bool>(144))),
    READER(ecr_readFleetCardData(c, 0xDF01, a.raw(), &a.lengths[0])),
    READER(ecr_readFleetCardProductData(c, 0, a.raw(), &a.lengths[0])),
    READER(ecr_readIfIsFleetCardIndicator(c, a.as<bool>())),
    READER(ecr_readIfIsFleetCardSignature(c, a.as<bool>())),
    READER(ecr_readFleetCardProductName(c, "1", a.text(), 64)),
    READER(ecr_readTransactionResult(c, a.as<ecr_transactionResult>())),
};

#undef SETTER
#undef READER

enum class Setup { NullContext, Nothing, ProtocolOnly, LinkOnly };

struct SetupCase {
  const char* name;
  Setup setup;
};

TEST(EcrGuard, EveryGuardedFunctionRefusesAContextThatIsNotReady) {
  zq::test::recordHostLogs();
  ASSERT_EQ(sizeof kSetters / sizeof kSetters[0], 20u);
  ASSERT_EQ(sizeof kCommands / sizeof kCommands[0], 20u);
  ASSERT_EQ(sizeof kReaders / sizeof kReaders[0], 44u);

  zq::test::LoopbackPeer terminal;  // would record anything a command sent
  const SetupCase setups[] = {{"NULL context", Setup::NullContext},
                              {"neither link nor protocol", Setup::Nothing},
                              {"protocol only", Setup::ProtocolOnly},
                              {"link only", Setup::LinkOnly}};
  const Result sentinel(zq::app::utils::RESULT_TERMINAL_CODE_6, "earlier command");
  constexpr uint32_t kTimeoutMs = 300;

  for (const SetupCase& s : setups) {
    SCOPED_TRACE(s.name);
    EcrCtx_s* ctx = nullptr;
    if (s.setup != Setup::NullContext) {
      ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
      ctx->lastResult = sentinel;
    }
    if (s.setup == Setup::ProtocolOnly) ecr_setProtocol(ctx, 0);
    if (s.setup == Setup::LinkOnly) {
      ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", terminal.port(), kTimeoutMs), ECR_OK);
      ASSERT_TRUE(terminal.waitForConnections(1, 2000));
    }

    for (const GuardedCall* table : {kSetters, kCommands, kReaders}) {
      const size_t count = table == kReaders ? 44 : 20;
      for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(table[i].name);
        arena().fill();
        journal().clear();
        EXPECT_EQ(table[i].call(ctx), ECR_NOT_INITIALIZED);
        EXPECT_TRUE(arena().untouched());
        // A NULL context is refused without a word; a half-set one says why.
        EXPECT_EQ(hostLinesWith("bus", "ECR context not initialized").size(),
                  s.setup == Setup::NullContext ? 0u : 1u);
        EXPECT_TRUE(hostLinesWith("bus", "Not implemented yet").empty());
      }
    }

    if (ctx != nullptr) {
      EXPECT_EQ(ctx->lastResult, sentinel);
    }
    if (s.setup == Setup::ProtocolOnly) {
      TalvorenProtocol& protocol = *static_cast<TalvorenProtocol*>(ctx->protocol.get());
      std::vector<unsigned char> value;
      for (TlvTag tag : {0x9Cu, 0x9F02u, 0x9FD407u, 0x9FD201u, 0x9FD222u, 0x9FCD02u, 0x9FCD56u, 0x9FCD60u})
        EXPECT_FALSE(protocol.readTag(tag, value)) << std::hex << tag;
      EXPECT_TRUE(protocol.getCtx().getTransactionCtx().getAdditionalRequestData().empty());
    }
    if (s.setup == Setup::LinkOnly) {
      EXPECT_EQ(ctx->link->getDefaultTimeout(), kTimeoutMs);
      EXPECT_TRUE(terminal.received().empty());
    }
    ecr_cleanup(&ctx);
  }
}

}  // namespace

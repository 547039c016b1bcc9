// The terminal commands: transactions, reports, analyses and maintenance.
//
// Each command runs one protocol operation over the context's link, keeps
// its Result as the context's lastResult and answers its mapping.
#include <vector>

#include "api/EcrCtx.h"
#include "api/EcrFunctionSupport.h"
#include "core/ExportGuard.h"
#include "core/TagNames.h"
#include "core/zumbra_log.h"

using zq::app::api::claimedCall;
using zq::app::api::CtxUse;
using zq::app::api::notImplementedAfterGuard;
using zq::app::link::Link;
using zq::app::protocols::ProtocolInterface;
using zq::app::protocols::Result;
using zq::app::tlv::TAG_CONTINUE_PREVIOUS_TRANSACTION;

namespace {

// Reports and analyses make the terminal walk its whole batch before it
// answers; the link waits at least this long for them.
constexpr uint32_t kReportTimeoutMs = 180000;

// Steps after the guard of every command: run the operation, keep its
// outcome, map it.
template <typename Operation>
ecr_status runCommand(const char* function, EcrCtx_s* ctx, Operation&& operation) noexcept {
  return claimedCall(function, ctx, CtxUse::COMMAND, [&](EcrCtx_s& c) -> ecr_status {
    c.lastResult = operation(*c.protocol, *c.link);
    return resultToStatus(c.lastResult);
  });
}

// Raises the link's default time-out for the life of the object when it is
// below the report time-out, and puts the old value back on every way out
// (also when the operation fails or throws).
class ReportTimeout {
 public:
  explicit ReportTimeout(Link& link) : link(link), previous(link.getDefaultTimeout()) {
    if (previous < kReportTimeoutMs) {
      link.setDefaultTimeout(kReportTimeoutMs);
      raised = true;
    }
  }
  ~ReportTimeout() {
    if (raised) link.setDefaultTimeout(previous);
  }
  ReportTimeout(const ReportTimeout&) = delete;
  ReportTimeout& operator=(const ReportTimeout&) = delete;

 private:
  Link& link;
  uint32_t previous;
  bool raised = false;
};

template <typename Operation>
ecr_status runReportCommand(const char* function, EcrCtx_s* ctx, Operation&& operation) noexcept {
  return runCommand(function, ctx, [&](ProtocolInterface& protocol, Link& link) -> Result {
    ReportTimeout timeout(link);
    return operation(protocol, link);
  });
}

// Which of the protocol's two transaction flows runs: a new start ("0") or
// the one the terminal is still busy with ("1").
template <typename Operation>
ecr_status runTransactionCommand(const char* function, EcrCtx_s* ctx, unsigned char continueFlag,
                                 Operation&& operation) noexcept {
  return runCommand(function, ctx, [&](ProtocolInterface& protocol, Link& link) -> Result {
    protocol.setTag(TAG_CONTINUE_PREVIOUS_TRANSACTION, std::vector<unsigned char>{continueFlag});
    return operation(protocol, link);
  });
}

}  // namespace

// ---- Terminal commands ----

ecr_status ecr_startTransaction(EcrCtx_s* ctx) {
  logBusDebug("Start transaction");
  return runTransactionCommand(__func__, ctx, '0',
                               [](ProtocolInterface& p, Link& l) { return p.startTransaction(l); });
}

ecr_status ecr_continueTransaction(EcrCtx_s* ctx) {
  logBusDebug("Continue transaction");
  return runTransactionCommand(__func__, ctx, '1',
                               [](ProtocolInterface& p, Link& l) { return p.startTransaction(l); });
}

ecr_status ecr_startEvoucherTransaction(EcrCtx_s* ctx) {
  logBusDebug("Start EV transaction");
  // A flag left at "1" by a continued transaction would make the sale skip
  // its start request and report success with nothing sold.
  return runTransactionCommand(__func__, ctx, '0', [](ProtocolInterface& p, Link& l) {
    return p.startEvoucherTransaction(l);
  });
}

ecr_status ecr_getLastTransactionData(EcrCtx_s* ctx) {
  logBusDebug("Get last transaction data");
  return runCommand(__func__, ctx,
                    [](ProtocolInterface& p, Link& l) { return p.getLastTransactionData(l); });
}

ecr_status ecr_getBatchSummary(EcrCtx_s* ctx) {
  logBusDebug("Get batch summary");
  return runCommand(__func__, ctx, [](ProtocolInterface& p, Link& l) { return p.getBatchSummary(l); });
}

ecr_status ecr_getSingleTransactionFromBatch(EcrCtx_s* ctx) {
  logBusDebug("Get single transaction from batch");
  return runCommand(__func__, ctx,
                    [](ProtocolInterface& p, Link& l) { return p.getSingleTransFromSummary(l); });
}

ecr_status ecr_getTerminalStatus(EcrCtx_s* ctx) {
  logBusDebug("Get terminal status");
  return runCommand(__func__, ctx, [](ProtocolInterface& p, Link& l) { return p.getTerminalStatus(l); });
}

ecr_status ecr_readTerminalInformationData(EcrCtx_s* ctx) {
  logBusDebug("Read terminal information data");
  return runCommand(__func__, ctx,
                    [](ProtocolInterface& p, Link& l) { return p.getTerminalGeneralInfo(l); });
}

ecr_status ecr_generateReport(EcrCtx_s* ctx) {
  logBusDebug("Generate transaction report");
  return runReportCommand(__func__, ctx, [](ProtocolInterface& p, Link& l) { return p.generateReport(l); });
}

ecr_status ecr_getReportCardsetSummary(EcrCtx_s* ctx) {
  logBusDebug("Get transaction report cardset summary");
  return runReportCommand(__func__, ctx,
                          [](ProtocolInterface& p, Link& l) { return p.getReportCardsetSummary(l); });
}

ecr_status ecr_getReportTotalSummary(EcrCtx_s* ctx) {
  logBusDebug("Get transaction report total summary");
  return runReportCommand(__func__, ctx,
                          [](ProtocolInterface& p, Link& l) { return p.getReportTotalSummary(l); });
}

ecr_status ecr_generateDccAnalysis(EcrCtx_s* ctx) {
  logBusDebug("Generate DCC Analysis");
  return runReportCommand(__func__, ctx,
                          [](ProtocolInterface& p, Link& l) { return p.generateTransactionDccAnalysis(l); });
}

ecr_status ecr_getTransactionDccAnalysisCurrencySummary(EcrCtx_s* ctx) {
  logBusDebug("DCC Analysis - currency summary");
  return runReportCommand(__func__, ctx, [](ProtocolInterface& p, Link& l) {
    return p.getTransactionDccAnalysisCurrencySummary(l);
  });
}

ecr_status ecr_getTransactionDccAnalysisTotalSummary(EcrCtx_s* ctx) {
  logBusDebug("DCC Analysis - total summary");
  return runReportCommand(__func__, ctx, [](ProtocolInterface& p, Link& l) {
    return p.getTransactionDccAnalysisTotalSummary(l);
  });
}

ecr_status ecr_generateTransactionAnalysis(EcrCtx_s* ctx) {
  logBusDebug("Generate transaction analysis");
  return runReportCommand(__func__, ctx,
                          [](ProtocolInterface& p, Link& l) { return p.generateTransactionAnalysis(l); });
}

ecr_status ecr_getTransactionAnalysisDetails(EcrCtx_s* ctx) {
  logBusDebug("Transaction analysis - details");
  return runReportCommand(__func__, ctx,
                          [](ProtocolInterface& p, Link& l) { return p.getTransactionAnalysisDetails(l); });
}

ecr_status ecr_getTransactionAnalysisSummary(EcrCtx_s* ctx) {
  logBusDebug("Transaction analysis - summary");
  return runReportCommand(__func__, ctx,
                          [](ProtocolInterface& p, Link& l) { return p.getTransactionAnalysisSummary(l); });
}

ecr_status ecr_cmdExchange(EcrCtx_s* ctx, const uint8_t* request, size_t requestLength, uint8_t* response,
                           size_t* responseLength) {
  logBusDebug("Exchange raw data:");
  logBusTrace("Outgoing message: ");
  if (request != nullptr) logBusTraceHex(request, requestLength);
  return claimedCall(__func__, ctx, CtxUse::COMMAND, [&](EcrCtx_s& c) -> ecr_status {
    // Nothing to send from, or nowhere to put the reply: refused before the
    // terminal is disturbed; lastResult keeps the previous command's outcome.
    if ((request == nullptr && requestLength != 0) || responseLength == nullptr ||
        (response == nullptr && *responseLength != 0)) {
      logBusError("NULL pointer provided");
      return ECR_INVALID_ARGUMENT;
    }
    c.lastResult = c.protocol->passThroughMessage(*c.link, request, requestLength, response, responseLength);
    return resultToStatus(c.lastResult);
  });
}

// ---- Operations the terminal protocol does not offer (final) ----
ecr_status ecr_cancelTransaction(EcrCtx_s* ctx) {
  logBusDebug("Cancel transaction");
  return notImplementedAfterGuard(ctx, __func__);
}
ecr_status ecr_waitForStatusChange(EcrCtx_s* ctx) {
  logBusDebug("Wait for status change");
  return notImplementedAfterGuard(ctx, __func__);
}

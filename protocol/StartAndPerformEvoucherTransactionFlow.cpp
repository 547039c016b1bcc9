#include "protocol/StartAndPerformEvoucherTransactionFlow.h"

#include "core/zumbra_log.h"
#include "protocol/EndDataReadEvoucherMessage.h"
#include "protocol/StartEvoucherTransactionMessage.h"

namespace zq::app::protocols {

Result StartAndPerformEvoucherTransactionFlow::execute() {
  transactionCtx.clearTransactionTags();
  const Result result = startTransaction();
  if (!result.isOk()) return result;
  return handleTransaction();
}

Result StartAndPerformEvoucherTransactionFlow::startTransaction() {
  logDevTrace("Evoucher Transaction start - check terminal status");
  Result result = pollTerminalStatusUntilSettled();
  if (!result.isOk()) return result;

  // Unlike a card start, a terminal that needs a reconciliation sells no
  // e-voucher.
  if (maintenanceCtx.getTransactionStatus() != TERMINAL_STATUS_READY) {
    logDevTrace("%s", resultTexts::kStartEvoucherTerminalNotReady);
    return Result(utils::RESULT_TERMINAL_NOT_READY, resultTexts::kStartEvoucherTerminalNotReady);
  }
  logDevTrace("Terminal is ready - sending Start Evoucher Transaction request");
  TalvorenCommand command(new StartEvoucherTransactionMessage(maintenanceCtx, transactionCtx));
  return exchangeCommandAndCheckResult(command, TalvorenCommand::SHORT_DELAY);
}

Result StartAndPerformEvoucherTransactionFlow::endTransaction() {
  logDevTrace("Evoucher Transaction end");
  TalvorenCommand command(new EndDataReadEvoucherMessage(maintenanceCtx, transactionCtx));
  return exchangeCommandAndCheckResult(command, TalvorenCommand::SHORT_DELAY);
}

}  // namespace zq::app::protocols

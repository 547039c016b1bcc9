#include "protocol/StartAndPerformTransactionFlow.h"

#include "core/zumbra_log.h"
#include "protocol/StartTransactionMessage.h"

namespace zq::app::protocols {

Result StartAndPerformTransactionFlow::execute() {
  transactionCtx.clearTransactionTags();
  const Result result = startTransaction();
  // The terminal runs the connection to its management system on its own:
  // there is no status loop to follow.
  if (storedTransactionTypeIs(ECR_TRANSACTION_CONNECT_TO_TMS)) return result;
  if (!result.isOk()) return result;
  return handleTransaction();
}

Result StartAndPerformTransactionFlow::startTransaction() {
  logDevTrace("Transaction start - check terminal status");
  Result result = pollTerminalStatusUntilSettled();
  if (!result.isOk()) return result;

  const ecr_terminalStatus status = maintenanceCtx.getTransactionStatus();
  // A terminal that needs a reconciliation still accepts exactly that.
  const bool ready = status == TERMINAL_STATUS_READY ||
                     (status == TERMINAL_STATUS_RECONCILIATION_NEEDED &&
                      storedTransactionTypeIs(ECR_TRANSACTION_RECONCILIATION));
  if (ready) {
    logDevTrace("Terminal is ready - sending Start Transaction request");
    TalvorenCommand command(new StartTransactionMessage(maintenanceCtx, transactionCtx));
    return exchangeCommandAndCheckResult(command, TalvorenCommand::SHORT_DELAY);
  }
  if (status == TERMINAL_STATUS_APPLICATION_ERROR) {
    logDevTrace("%s", resultTexts::kStartApplicationError);
    return Result(utils::RESULT_TERMINAL_NOT_READY, resultTexts::kStartApplicationError);
  }
  if (status == TERMINAL_STATUS_RECONCILIATION_NEEDED) {
    logDevTrace("%s", resultTexts::kStartReconciliationNeeded);
    return Result(utils::RESULT_TERMINAL_NOT_READY, resultTexts::kStartReconciliationNeeded);
  }
  logDevTrace("%s", resultTexts::kStartTerminalNotReady);
  return Result(utils::RESULT_TERMINAL_NOT_READY, resultTexts::kStartTerminalNotReady);
}

Result ContinueTransactionFlow::execute() {
  logDevInfo("Continuing previous transaction");
  transactionCtx.clearTransactionTags();
  return handleTransaction();
}

}  // namespace zq::app::protocols

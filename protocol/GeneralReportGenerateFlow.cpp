#include "protocol/GeneralReportGenerateFlow.h"

#include "core/zumbra_log.h"
#include "protocol/GeneralReportGenerate.h"
#include "protocol/StatusReadMessage.h"

namespace zq::app::protocols {

Result GeneralReportGenerateFlow::execute() {
  logDevTrace("Check status");
  TalvorenCommand statusRead(new StatusReadMessage(maintenanceCtx));
  const Result status = exchangeCommandAndCheckResult(statusRead, TalvorenCommand::SHORT_DELAY);
  if (!status.isOk()) return status;
  if (maintenanceCtx.getTransactionStatus() != TERMINAL_STATUS_READY) {
    return Result(utils::RESULT_TERMINAL_NOT_READY, resultTexts::kWrongTerminalStatus);
  }
  TalvorenCommand generate(prepareMessage());
  return exchangeCommandAndCheckResult(generate, TalvorenCommand::NO_DELAY);
}

TalvorenMessageInterface* TransactionReportGenerateFlow::prepareMessage() {
  logDevTrace("Generate transactions report");
  return new TransRepGenerate(maintenanceCtx, reportCtx);
}

TalvorenMessageInterface* TransactionAnalysisGenerateFlow::prepareMessage() {
  logDevTrace("Generate transaction analysis");
  return new TransAnalGenerate(maintenanceCtx, reportCtx);
}

TalvorenMessageInterface* TransactionDccAnalysisGenerateFlow::prepareMessage() {
  logDevTrace("Generate transaction DCC analysis");
  return new TransDccAnalGenerate(maintenanceCtx, reportCtx);
}

}  // namespace zq::app::protocols

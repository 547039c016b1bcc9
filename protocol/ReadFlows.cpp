#include "protocol/ReadFlows.h"

#include "core/zumbra_log.h"
#include "protocol/BatchSummaryReadMessage.h"
#include "protocol/GeneralInformationMessage.h"
#include "protocol/LastTransactionDataMessage.h"
#include "protocol/StatusReadMessage.h"

namespace zq::app::protocols {

TalvorenMessageInterface* TerminalStatusReadFlow::prepareMessage() {
  logDevTrace("Get status");
  return new StatusReadMessage(maintenanceCtx);
}

TalvorenMessageInterface* TerminalGeneralInfoReadFlow::prepareMessage() {
  logDevTrace("Get terminal general information");
  return new GeneralInformationMessage(maintenanceCtx);
}

TalvorenMessageInterface* BatchSummaryFlow::prepareMessage() {
  logDevTrace("Get batch summary");
  return new BatchSummaryReadMessage(maintenanceCtx, reportCtx);
}

TalvorenMessageInterface* LastTransactionDataFlow::prepareMessage() {
  logDevTrace("Get last transaction data");
  return new LastTransactionDataMessage(maintenanceCtx, transactionCtx);
}

}  // namespace zq::app::protocols

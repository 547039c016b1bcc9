#include "protocol/SummaryFlows.h"

#include "core/zumbra_log.h"
#include "protocol/SummaryMessage.h"

namespace zq::app::protocols {

TalvorenMessageInterface* TransactionReportTotalSummaryFlow::prepareMessage() {
  logDevTrace("Get report summary");
  return new TransRepGetTotalSummary(maintenanceCtx, reportCtx);
}

TalvorenMessageInterface* TransactionAnalysisSummaryFlow::prepareMessage() {
  logDevTrace("Get analysis summary");
  return new TransAnalTotalSummary(maintenanceCtx, reportCtx);
}

TalvorenMessageInterface* TransactionDccAnalysisSummaryFlow::prepareMessage() {
  logDevTrace("Get DCC analysis summary");
  return new TransDccAnalTotalSummary(maintenanceCtx, reportCtx);
}

}  // namespace zq::app::protocols

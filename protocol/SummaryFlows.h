// Flows that fetch the total summary of a generated report: the
// transaction report ("32"), the transaction analysis ("35") and the DCC
// analysis ("38"). Report requests go out with a plain send, no pause.
#pragma once

#include "protocol/ReportSubCtx.h"
#include "protocol/SimpleFlow.h"

namespace zq::app::protocols {

class TransactionReportTotalSummaryFlow : public SimpleFlow {
 public:
  TransactionReportTotalSummaryFlow(MaintenanceSubCtx& maintenanceCtx, ReportSubCtx& reportCtx)
      : SimpleFlow(maintenanceCtx, TalvorenCommand::NO_DELAY), reportCtx(reportCtx) {}
  TalvorenMessageInterface* prepareMessage() override;

 private:
  ReportSubCtx& reportCtx;
};

class TransactionAnalysisSummaryFlow : public SimpleFlow {
 public:
  TransactionAnalysisSummaryFlow(MaintenanceSubCtx& maintenanceCtx, ReportSubCtx& reportCtx)
      : SimpleFlow(maintenanceCtx, TalvorenCommand::NO_DELAY), reportCtx(reportCtx) {}
  TalvorenMessageInterface* prepareMessage() override;

 private:
  ReportSubCtx& reportCtx;
};

class TransactionDccAnalysisSummaryFlow : public SimpleFlow {
 public:
  TransactionDccAnalysisSummaryFlow(MaintenanceSubCtx& maintenanceCtx, ReportSubCtx& reportCtx)
      : SimpleFlow(maintenanceCtx, TalvorenCommand::NO_DELAY), reportCtx(reportCtx) {}
  TalvorenMessageInterface* prepareMessage() override;

 private:
  ReportSubCtx& reportCtx;
};

}  // namespace zq::app::protocols

// Flows that ask for one item by an index the host stored beforehand; with
// no index they send nothing.
#pragma once

#include "protocol/ReportSubCtx.h"
#include "protocol/TalvorenFlowInterface.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

class SingleTranFromBatchFlow : public TalvorenFlowInterface {
 public:
  SingleTranFromBatchFlow(MaintenanceSubCtx& maintenanceCtx, TransactionSubCtx& transactionCtx)
      : TalvorenFlowInterface(maintenanceCtx), transactionCtx(transactionCtx) {}
  Result execute() override;

 private:
  TransactionSubCtx& transactionCtx;
};

class TransactionAnalysisDetailsFlow : public TalvorenFlowInterface {
 public:
  TransactionAnalysisDetailsFlow(MaintenanceSubCtx& maintenanceCtx,
                                 TransactionSubCtx& transactionCtx)
      : TalvorenFlowInterface(maintenanceCtx), transactionCtx(transactionCtx) {}
  Result execute() override;

 private:
  TransactionSubCtx& transactionCtx;
};

class TransactionReportCardsetsFlow : public TalvorenFlowInterface {
 public:
  TransactionReportCardsetsFlow(MaintenanceSubCtx& maintenanceCtx, ReportSubCtx& reportCtx)
      : TalvorenFlowInterface(maintenanceCtx), reportCtx(reportCtx) {}
  Result execute() override;

 private:
  ReportSubCtx& reportCtx;
};

class TransactionDccAnalysisCurrencyFlow : public TalvorenFlowInterface {
 public:
  TransactionDccAnalysisCurrencyFlow(MaintenanceSubCtx& maintenanceCtx, ReportSubCtx& reportCtx)
      : TalvorenFlowInterface(maintenanceCtx), reportCtx(reportCtx) {}
  Result execute() override;

 private:
  ReportSubCtx& reportCtx;
};

}  // namespace zq::app::protocols

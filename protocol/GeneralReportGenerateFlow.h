// Has the terminal generate a report, after checking that it is idle: a
// terminal in the middle of something is not asked at all.
#pragma once

#include "protocol/ReportSubCtx.h"
#include "protocol/TalvorenFlowInterface.h"

namespace zq::app::protocols {

class GeneralReportGenerateFlow : public TalvorenFlowInterface {
 public:
  GeneralReportGenerateFlow(MaintenanceSubCtx& maintenanceCtx, ReportSubCtx& reportCtx)
      : TalvorenFlowInterface(maintenanceCtx), reportCtx(reportCtx) {}

  Result execute() override;
  // The generate request of the member; the caller takes ownership.
  virtual TalvorenMessageInterface* prepareMessage() = 0;

 protected:
  ReportSubCtx& reportCtx;
};

class TransactionReportGenerateFlow : public GeneralReportGenerateFlow {
 public:
  using GeneralReportGenerateFlow::GeneralReportGenerateFlow;
  TalvorenMessageInterface* prepareMessage() override;
};

class TransactionAnalysisGenerateFlow : public GeneralReportGenerateFlow {
 public:
  using GeneralReportGenerateFlow::GeneralReportGenerateFlow;
  TalvorenMessageInterface* prepareMessage() override;
};

class TransactionDccAnalysisGenerateFlow : public GeneralReportGenerateFlow {
 public:
  using GeneralReportGenerateFlow::GeneralReportGenerateFlow;
  TalvorenMessageInterface* prepareMessage() override;
};

}  // namespace zq::app::protocols

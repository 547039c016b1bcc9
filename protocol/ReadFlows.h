// Flows that read what the terminal knows with a single monitored
// request: its status ("20"), its general information ("26"), the summary
// of its batch ("25") and its last transaction ("27"). The terminal is
// given the short pause after each.
#pragma once

#include "protocol/ReportSubCtx.h"
#include "protocol/SimpleFlow.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

class TerminalStatusReadFlow : public SimpleFlow {
 public:
  explicit TerminalStatusReadFlow(MaintenanceSubCtx& maintenanceCtx)
      : SimpleFlow(maintenanceCtx, TalvorenCommand::SHORT_DELAY) {}
  TalvorenMessageInterface* prepareMessage() override;
};

class TerminalGeneralInfoReadFlow : public SimpleFlow {
 public:
  explicit TerminalGeneralInfoReadFlow(MaintenanceSubCtx& maintenanceCtx)
      : SimpleFlow(maintenanceCtx, TalvorenCommand::SHORT_DELAY) {}
  TalvorenMessageInterface* prepareMessage() override;
};

class BatchSummaryFlow : public SimpleFlow {
 public:
  BatchSummaryFlow(MaintenanceSubCtx& maintenanceCtx, ReportSubCtx& reportCtx)
      : SimpleFlow(maintenanceCtx, TalvorenCommand::SHORT_DELAY), reportCtx(reportCtx) {}
  TalvorenMessageInterface* prepareMessage() override;

 private:
  ReportSubCtx& reportCtx;
};

class LastTransactionDataFlow : public SimpleFlow {
 public:
  LastTransactionDataFlow(MaintenanceSubCtx& maintenanceCtx, TransactionSubCtx& transactionCtx)
      : SimpleFlow(maintenanceCtx, TalvorenCommand::SHORT_DELAY), transactionCtx(transactionCtx) {}
  TalvorenMessageInterface* prepareMessage() override;

 private:
  TransactionSubCtx& transactionCtx;
};

}  // namespace zq::app::protocols

// Fetches an e-voucher operator's template ("41"): the reply frame, then
// the raw template bytes that follow it.
#pragma once

#include "protocol/SimpleFlow.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

class GetEvoucherOpFlow : public SimpleFlow {
 public:
  GetEvoucherOpFlow(MaintenanceSubCtx& maintenanceCtx, TransactionSubCtx& transactionCtx)
      : SimpleFlow(maintenanceCtx, TalvorenCommand::SHORT_DELAY), transactionCtx(transactionCtx) {}

  // The common check of the reply, then the raw template; a template that
  // cannot be received or does not check out is a communication error.
  Result exchangeCommandAndCheckResult(TalvorenCommand& command,
                                       TalvorenCommand::DelayCommand mode) override;
  TalvorenMessageInterface* prepareMessage() override;

 private:
  TransactionSubCtx& transactionCtx;
};

}  // namespace zq::app::protocols

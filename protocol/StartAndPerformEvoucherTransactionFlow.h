// An e-voucher sale: the card transaction's start poll and status loop with
// the e-voucher start request and the e-voucher end data.
#pragma once

#include "protocol/TransactionFlow.h"

namespace zq::app::protocols {

class StartAndPerformEvoucherTransactionFlow : public TransactionFlow {
 public:
  using TransactionFlow::TransactionFlow;
  Result execute() override;
  Result endTransaction() override;
  virtual Result startTransaction();
};

}  // namespace zq::app::protocols

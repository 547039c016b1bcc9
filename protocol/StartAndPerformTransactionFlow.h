// The two ways into the status loop of a card transaction: a new start, and
// picking up a transaction that is already running on the terminal.
#pragma once

#include "protocol/TransactionFlow.h"

namespace zq::app::protocols {

// Waits until the terminal is ready, sends the start request "21" and runs
// the status loop (not for the connection to the terminal management
// system, which has none).
class StartAndPerformTransactionFlow : public TransactionFlow {
 public:
  using TransactionFlow::TransactionFlow;
  Result execute() override;
  virtual Result startTransaction();
};

// Runs the status loop for a transaction already running on the terminal,
// e.g. after a communication failure ended the previous operation.
class ContinueTransactionFlow : public TransactionFlow {
 public:
  using TransactionFlow::TransactionFlow;
  Result execute() override;
};

}  // namespace zq::app::protocols

// The reply layout shared by every message that reports one transaction:
// the kind (0x80 added for a reversal), its return code, and optionally its
// number and the details text.
#pragma once

#include "protocol/CommonMessage.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

class TransactionDataMessage : public CommonMessage {
 public:
  TransactionDataMessage(MaintenanceSubCtx& maintenanceCtx, TransactionSubCtx& transactionCtx)
      : CommonMessage(maintenanceCtx), transactionCtx(transactionCtx) {}

  // The host's transaction kind of a terminal number; 13 (none) for a
  // number the host has no kind for.
  static uint32_t terminalNumberToTransactionType(uint32_t terminalNumber);

 protected:
  bool parseMessageSpecificPart() override;

  TransactionSubCtx& transactionCtx;
};

}  // namespace zq::app::protocols

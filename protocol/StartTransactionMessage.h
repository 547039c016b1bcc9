// Request "21": start the stored transaction kind on the terminal. The one
// field is the kind's number and its sub-fields; the reply is the envelope.
#pragma once

#include <string>

#include "protocol/CommonMessage.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

class StartTransactionMessage : public CommonMessage {
 public:
  StartTransactionMessage(MaintenanceSubCtx& maintenanceCtx, TransactionSubCtx& transactionCtx)
      : CommonMessage(maintenanceCtx), transactionCtx(transactionCtx) {}
  std::string getId() override { return "21"; }

 protected:
  bool buildMessageSpecificPart() override;
  bool parseMessageSpecificPart() override { return true; }

  TransactionSubCtx& transactionCtx;
};

}  // namespace zq::app::protocols

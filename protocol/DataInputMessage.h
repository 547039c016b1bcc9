// Request "23": the answer to the terminal's current prompt, the prompt
// number and the answer text stored in the transaction view. The reply is
// the envelope only.
#pragma once

#include <string>

#include "protocol/CommonMessage.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

class DataInputMessage : public CommonMessage {
 public:
  DataInputMessage(MaintenanceSubCtx& maintenanceCtx, TransactionSubCtx& transactionCtx)
      : CommonMessage(maintenanceCtx), transactionCtx(transactionCtx) {}
  std::string getId() override { return "23"; }

  // Yes / OK, and no / cancel / interruption, as the terminal reads them:
  // two printable characters each.
  static std::string getYesAnswer() { return "\\n"; }
  static std::string getNoAnswer() { return "\\e"; }

 protected:
  bool buildMessageSpecificPart() override;
  bool parseMessageSpecificPart() override { return true; }

  TransactionSubCtx& transactionCtx;
};

}  // namespace zq::app::protocols

// Request "27": the data of the terminal's last transaction. No fields of
// its own; the reply is transaction data.
#pragma once

#include <string>

#include "protocol/TransactionDataMessage.h"

namespace zq::app::protocols {

class LastTransactionDataMessage : public TransactionDataMessage {
 public:
  using TransactionDataMessage::TransactionDataMessage;
  std::string getId() override { return "27"; }

 protected:
  bool buildMessageSpecificPart() override;
};

}  // namespace zq::app::protocols

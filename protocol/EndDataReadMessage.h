// Request "22": read the end data of the transaction that just ran. No
// fields of its own; the reply is transaction data.
#pragma once

#include <string>

#include "protocol/TransactionDataMessage.h"

namespace zq::app::protocols {

class EndDataReadMessage : public TransactionDataMessage {
 public:
  using TransactionDataMessage::TransactionDataMessage;
  std::string getId() override { return "22"; }

 protected:
  bool buildMessageSpecificPart() override;
};

}  // namespace zq::app::protocols

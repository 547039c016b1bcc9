// Request "24": one transaction of the batch, named by the index the host
// stored; the reply is transaction data.
#pragma once

#include <string>

#include "protocol/TransactionDataMessage.h"

namespace zq::app::protocols {

class SingleTranFromBatchMessage : public TransactionDataMessage {
 public:
  using TransactionDataMessage::TransactionDataMessage;
  std::string getId() override { return "24"; }

 protected:
  bool buildMessageSpecificPart() override;
};

}  // namespace zq::app::protocols

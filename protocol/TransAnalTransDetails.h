// "34": one transaction of the generated transaction analysis, named by
// the index the host stored; the reply is transaction data.
#pragma once

#include <string>

#include "protocol/TransactionDataMessage.h"

namespace zq::app::protocols {

class TransAnalTransDetails : public TransactionDataMessage {
 public:
  using TransactionDataMessage::TransactionDataMessage;
  std::string getId() override { return "34"; }

 protected:
  // FS and the stored transaction index; no index, no request.
  bool buildMessageSpecificPart() override;
};

}  // namespace zq::app::protocols

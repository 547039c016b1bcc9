// Request "22" at the end of an e-voucher sale. The reply holds the
// e-voucher transaction type, its return code and the e-voucher details
// text, all three required.
#pragma once

#include <string>

#include "protocol/TransactionDataMessage.h"

namespace zq::app::protocols {

class EndDataReadEvoucherMessage : public TransactionDataMessage {
 public:
  using TransactionDataMessage::TransactionDataMessage;
  std::string getId() override { return "22"; }

 protected:
  bool buildMessageSpecificPart() override { return true; }
  bool parseMessageSpecificPart() override;
};

}  // namespace zq::app::protocols

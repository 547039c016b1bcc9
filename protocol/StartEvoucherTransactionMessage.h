// Request "21" of an e-voucher sale: the same start request as a card
// transaction, built from the stored kind (the e-voucher kind adds the
// operation type and the EAN). The reply is the envelope only.
#pragma once

#include "protocol/StartTransactionMessage.h"

namespace zq::app::protocols {

class StartEvoucherTransactionMessage : public StartTransactionMessage {
 public:
  using StartTransactionMessage::StartTransactionMessage;
};

}  // namespace zq::app::protocols

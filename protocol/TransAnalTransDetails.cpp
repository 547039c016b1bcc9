#include "protocol/TransAnalTransDetails.h"

#include "core/Validators.h"

namespace zq::app::protocols {

bool TransAnalTransDetails::buildMessageSpecificPart() {
  return addIdentifierToData(transactionCtx.getTransactionIndex(), utils::validateTransactionId,
                             "Transaction index missing");
}

}  // namespace zq::app::protocols

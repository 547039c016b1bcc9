#include "protocol/SingleTranFromBatchMessage.h"

#include "core/Validators.h"

namespace zq::app::protocols {

bool SingleTranFromBatchMessage::buildMessageSpecificPart() {
  return addIdentifierToData(transactionCtx.getTransactionIndex(), utils::validateTransactionId,
                             "Transaction index missing");
}

}  // namespace zq::app::protocols

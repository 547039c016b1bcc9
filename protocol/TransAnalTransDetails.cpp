#include "protocol/TransAnalTransDetails.h"

#include "core/zumbra_log.h"

namespace zq::app::protocols {

bool TransAnalTransDetails::buildMessageSpecificPart() {
  utils::Optional<TransactionSubCtx::Bytes> index = transactionCtx.getTransactionIndex();
  if (!index.isPresent()) {
    logDevError("Transaction index missing");
    return false;
  }
  addFsToData();
  addVectorToData(*index);
  return true;
}

}  // namespace zq::app::protocols

#include "protocol/SingleTranFromBatchMessage.h"

#include "core/zumbra_log.h"

namespace zq::app::protocols {

bool SingleTranFromBatchMessage::buildMessageSpecificPart() {
  utils::Optional<std::vector<unsigned char>> index = transactionCtx.getTransactionIndex();
  if (!index.isPresent()) {
    logDevError("Transaction index missing");
    return false;
  }
  addFsToData();
  addVectorToData(*index);
  return true;
}

}  // namespace zq::app::protocols

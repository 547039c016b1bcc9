#include "protocol/StartTransactionMessage.h"

#include <memory>
#include <vector>

#include "core/zumbra_log.h"

namespace zq::app::protocols {

bool StartTransactionMessage::buildMessageSpecificPart() {
  addFsToData();
  std::unique_ptr<TalvorenTransactionType> kind(transactionCtx.getTransactionType());
  if (!kind) {
    logDevError("Transaction type missing");
    return false;
  }
  const std::vector<unsigned char> field = kind->getTransactionSpecificData();
  if (field.empty()) return false;
  addVectorToData(field);
  return true;
}

}  // namespace zq::app::protocols

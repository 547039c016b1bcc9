#include "protocol/IndexedRequestMessages.h"

#include "core/zumbra_log.h"

namespace zq::app::protocols {

bool IndexedRequestMessage::buildMessageSpecificPart() {
  utils::Optional<std::vector<unsigned char>> index = getIndex();
  if (!index.isPresent()) {
    logDevError("%s", missingIndexText);
    return false;
  }
  addFsToData();
  addVectorToData(*index);
  return true;
}

}  // namespace zq::app::protocols

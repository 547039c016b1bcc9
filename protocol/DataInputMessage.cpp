#include "protocol/DataInputMessage.h"

#include "core/Converters.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

bool DataInputMessage::buildMessageSpecificPart() {
  addFsToData();
  utils::Optional<uint32_t> prompt = transactionCtx.getPromptNumber();
  if (!prompt.isPresent()) {
    logDevError("Prompt number missing");
    return false;
  }
  utils::addUint32ToDataVector(*prompt, data);
  addFsToData();
  addStringToData(transactionCtx.getCharSequenceForTerminal());
  return true;
}

}  // namespace zq::app::protocols

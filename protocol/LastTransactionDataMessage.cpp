#include "protocol/LastTransactionDataMessage.h"

namespace zq::app::protocols {

bool LastTransactionDataMessage::buildMessageSpecificPart() { return true; }

}  // namespace zq::app::protocols

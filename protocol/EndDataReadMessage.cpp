#include "protocol/EndDataReadMessage.h"

namespace zq::app::protocols {

bool EndDataReadMessage::buildMessageSpecificPart() { return true; }

}  // namespace zq::app::protocols

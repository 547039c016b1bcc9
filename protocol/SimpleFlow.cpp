#include "protocol/SimpleFlow.h"

namespace zq::app::protocols {

Result SimpleFlow::execute() {
  TalvorenCommand command(prepareMessage());
  return exchangeCommandAndCheckResult(command, mode);
}

}  // namespace zq::app::protocols

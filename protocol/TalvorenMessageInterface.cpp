#include "protocol/TalvorenMessageInterface.h"

#include "core/zumbra_log.h"

namespace zq::app::protocols {

uint32_t TalvorenMessageInterface::get_extra_data_size() {
  logDevError("Call to generic get_extra_data_size()!");
  return 0;
}

bool TalvorenMessageInterface::parse_extra_data(const std::vector<unsigned char>&) {
  logDevError("Call to generic parse_extra_data()!");
  return false;
}

}  // namespace zq::app::protocols

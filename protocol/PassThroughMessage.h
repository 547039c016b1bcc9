// The host's raw message, sent without any envelope; the terminal's raw
// reply replaces it.
#pragma once

#include "protocol/TalvorenMessageInterface.h"

namespace zq::app::protocols {

class PassThroughMessage : public TalvorenMessageInterface {
 public:
  explicit PassThroughMessage(MaintenanceSubCtx& maintenanceCtx)
      : TalvorenMessageInterface(maintenanceCtx) {}

  std::vector<unsigned char> build() override { return maintenanceCtx.getCustomData(); }
  bool parse(const std::vector<unsigned char>& reply) override {
    maintenanceCtx.setCustomData(reply);
    return true;
  }
  std::string getId() override { return std::string(); }
};

}  // namespace zq::app::protocols

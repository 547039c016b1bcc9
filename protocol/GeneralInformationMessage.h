// Request "26": the terminal's address lines, merchant and terminal
// identifiers, for the terminal index the host stored.
#pragma once

#include <string>

#include "protocol/CommonMessage.h"

namespace zq::app::protocols {

class GeneralInformationMessage : public CommonMessage {
 public:
  explicit GeneralInformationMessage(MaintenanceSubCtx& maintenanceCtx)
      : CommonMessage(maintenanceCtx) {}
  std::string getId() override { return "26"; }

 protected:
  bool buildMessageSpecificPart() override;
  bool parseMessageSpecificPart() override;
};

}  // namespace zq::app::protocols

// Request "20": the terminal's transaction status, the prompt it shows and
// the input it expects. No request fields of its own. The reply is read and
// checked whole before anything of it is stored, so a reply that fails
// leaves the status, the prompt and the characteristics as they were.
#pragma once

#include <string>
#include <vector>

#include "protocol/CommonMessage.h"
#include "protocol/ExpectedDataCharacteristics.h"

namespace zq::app::protocols {

class StatusReadMessage : public CommonMessage {
 public:
  explicit StatusReadMessage(MaintenanceSubCtx& maintenanceCtx) : CommonMessage(maintenanceCtx) {}
  std::string getId() override { return "20"; }

  // The fields of the last expected-data characteristics text read.
  const std::vector<std::string>& getCharacteristicsFields() const { return fields; }

 protected:
  bool buildMessageSpecificPart() override { return true; }
  bool parseMessageSpecificPart() override;
  // Reads and checks the characteristics field (the defaults when there is
  // none) into `characteristics`; nothing is stored.
  bool readExpectedDataCharacteristics(ExpectedDataCharacteristics& characteristics);

 private:
  std::vector<std::string> fields;
};

}  // namespace zq::app::protocols

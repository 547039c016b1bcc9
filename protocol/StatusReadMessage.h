// Request "20": the terminal's transaction status, the prompt it shows and
// the input it expects. No request fields of its own.
#pragma once

#include <string>
#include <vector>

#include "protocol/CommonMessage.h"

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
  bool setExpectedDataCharacteristics();

 private:
  std::vector<std::string> fields;
};

}  // namespace zq::app::protocols

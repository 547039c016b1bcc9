#include "protocol/GeneralInformationMessage.h"

#include <vector>

#include "core/Converters.h"
#include "core/TagNames.h"
#include "core/Validators.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

namespace {

constexpr size_t kInformationFields = 5;

}  // namespace

bool GeneralInformationMessage::buildMessageSpecificPart() {
  // The setter stores one digit, which is the byte the request carries.
  return addIdentifierToData(
      maintenanceCtx.getVector(tlv::TAG_TERMINAL_INDEX),
      [](const unsigned int& index) {
        return index <= 0xFF && utils::validateTerminalId(static_cast<unsigned char>(index));
      },
      "Unable to get terminal index");
}

bool GeneralInformationMessage::parseMessageSpecificPart() {
  // Read and checked whole first: a reply that fails keeps the information
  // of the last one that did not.
  std::string text;
  if (!extractString(text)) {
    logDevError("Unable to extract terminal information");
    return false;
  }
  if (text.empty()) {
    maintenanceCtx.clearTerminalInformation();
    logDevDebug("Terminal information not available");
    return true;
  }
  // Five fields are four commas; a terminal without a TID ends the text
  // with the last ',' and that still makes the fifth, empty, field.
  std::vector<std::string> fields = utils::csvToFields(text, ',');
  if (text.back() == ',') fields.emplace_back();
  if (fields.size() != kInformationFields) {
    logDevError("Invalid terminal data aquired: %s", text.c_str());
    return false;
  }
  maintenanceCtx.clearTerminalInformation();
  maintenanceCtx.setAddress(utils::asciiToVector(fields[0]), utils::asciiToVector(fields[1]),
                            utils::asciiToVector(fields[2]));
  maintenanceCtx.setMid(utils::asciiToVector(fields[3]));
  maintenanceCtx.setTid(utils::asciiToVector(fields[4]));
  return true;
}

}  // namespace zq::app::protocols

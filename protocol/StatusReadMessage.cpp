#include "protocol/StatusReadMessage.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "core/Converters.h"
#include "core/zumbra_log.h"
#include "protocol/ExpectedDataCharacteristics.h"

namespace zq::app::protocols {

namespace {

constexpr size_t kMaxCharacteristicsFields = 5;
constexpr size_t kMaxLengthDigits = 2;

bool allDigits(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

// The fields of the characteristics text, at most five, the fifth holding
// the rest of the text with its commas. A ',' at the very end still closes
// a field: "0,20,n," is the four fields of a prompt without a special
// answer, not three.
std::vector<std::string> splitCharacteristics(const std::string& text) {
  std::vector<std::string> fields = utils::csvToFields(text, ',', kMaxCharacteristicsFields);
  if (!text.empty() && text.back() == ',' && fields.size() < kMaxCharacteristicsFields) {
    fields.emplace_back();
  }
  return fields;
}

ExpectedDataCharacteristics noCharacteristics() {
  return ExpectedDataCharacteristics(0, 0, ALLOWED_CHARACTERS_NONE, SPECIAL_CHARACTERS_NONE, "");
}

}  // namespace

bool StatusReadMessage::parseMessageSpecificPart() {
  uint32_t raw = 0;
  if (!extractTwoByteHexInt(raw, 1)) {
    logDevError("Unable to extract transaction status");
    return false;
  }

  std::optional<uint32_t> prompt;
  if (isIteratorOnDataEnd()) {
    logDevTrace("Prompt data not present");
  } else {
    logDevTrace("Prompt data present");
    uint32_t number = 0;
    if (!extractFourByteInt(number, 0)) {
      logDevError("Unable to extract prompt ID");
      return false;
    }
    logDevTrace("Prompt ID %u extracted", number);
    prompt = number;
  }

  ExpectedDataCharacteristics characteristics;
  if (!readExpectedDataCharacteristics(characteristics)) return false;

  // The whole reply is sound: only now does it reach the context (and the
  // host hear of a new status).
  maintenanceCtx.setTransactionStatus(raw);
  if (prompt) maintenanceCtx.setPromptNumber(*prompt);
  maintenanceCtx.setExpectedDataCharacteristics(characteristics);
  return true;
}

bool StatusReadMessage::readExpectedDataCharacteristics(ExpectedDataCharacteristics& characteristics) {
  fields.clear();
  if (isIteratorOnDataEnd()) {
    logDevTrace("Prompt expected data characteristics not present");
    characteristics = noCharacteristics();
    return true;
  }
  std::string text;
  if (!extractString(text)) {
    logDevError("Unable to extract expected data characteristics");
    return false;
  }
  fields = splitCharacteristics(text);
  logDevDebug("Expected data arguments number: %u", static_cast<unsigned>(fields.size()));
  if (fields.empty()) {
    characteristics = noCharacteristics();
    return true;
  }
  if (fields.size() < 4) {
    logDevError("%u arguments provided in data characteristics %s",
                static_cast<unsigned>(fields.size()), text.c_str());
    return false;
  }

  const std::string& minimum = fields[0];
  if (minimum.size() > kMaxLengthDigits || !allDigits(minimum)) {
    logDevError("Invalid min length %s", minimum.c_str());
    return false;
  }
  const std::string& maximum = fields[1];
  if (maximum.empty() || maximum.size() > kMaxLengthDigits || !allDigits(maximum)) {
    logDevError("Invalid max length %s", maximum.c_str());
    return false;
  }
  const std::string& allowed = fields[2];
  TalvorenAllowedCharacters allowedValue = ALLOWED_CHARACTERS_NONE;
  if (!allowed.empty()) {
    if (allowed.size() != 1 || (allowed[0] != 'S' && allowed[0] != 'n' && allowed[0] != 'A')) {
      logDevError("Invalid allowed characters designation %s", allowed.c_str());
      return false;
    }
    allowedValue = static_cast<TalvorenAllowedCharacters>(allowed[0]);
  }
  const std::string& special = fields[3];
  TalvorenAllowedSpecialCharacters specialValue = SPECIAL_CHARACTERS_NONE;
  if (!special.empty()) {
    if (special.size() != 1 || special[0] < '1' || special[0] > '3') {
      logDevError("Invalid allowed special characters designation %s", special.c_str());
      return false;
    }
    specialValue = static_cast<TalvorenAllowedSpecialCharacters>(special[0] - '0');
  }
  const std::string prompt = fields.size() == kMaxCharacteristicsFields ? fields[4] : std::string();
  characteristics = ExpectedDataCharacteristics(utils::asciiToUint8(minimum), utils::asciiToUint8(maximum),
                                                allowedValue, specialValue, prompt);
  return true;
}

}  // namespace zq::app::protocols

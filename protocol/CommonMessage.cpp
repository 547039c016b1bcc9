#include "protocol/CommonMessage.h"

#include <algorithm>

#include "core/Converters.h"
#include "core/Validators.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

std::vector<unsigned char> CommonMessage::build() {
  data.clear();
  readPosition = 0;
  copyId();
  addFsToData();
  utils::Optional<unsigned char> cashRegister = maintenanceCtx.getCashRegisterNumber();
  if (!cashRegister.isPresent()) {
    logDevError("Cash register ID type missing");
    return {};
  }
  const unsigned char cashRegisterByte = *cashRegister;
  if (!utils::validateNoControlBytes(&cashRegisterByte, 1)) {
    logDevError("Stored cash register ID not accepted, request not built");
    return {};
  }
  data.push_back(cashRegisterByte);
  if (!buildMessageSpecificPart()) return {};
  return data;
}

bool CommonMessage::parse(const std::vector<unsigned char>& reply) {
  data = reply;
  readPosition = 0;
  logDevTrace("Parse data:");
  logDevTraceHex(data.data(), data.size());
  if (!checkId()) return false;
  readPosition = getId().size();
  bool nonZero = false;
  if (!checkReturnCode(nonZero)) return false;
  // A refusal carries no message fields; the flow reports the code.
  if (nonZero) return true;
  return parseMessageSpecificPart();
}

void CommonMessage::copyId() { addStringToData(getId()); }

void CommonMessage::addFsToData() { data.push_back(FS); }

void CommonMessage::addVectorToData(const std::vector<unsigned char>& bytes) {
  data.insert(data.end(), bytes.begin(), bytes.end());
}

void CommonMessage::addStringToData(const std::string& text) {
  data.insert(data.end(), text.begin(), text.end());
}

bool CommonMessage::addIdentifierToData(const utils::Optional<std::vector<unsigned char>>& stored,
                                        bool (*accepted)(const unsigned int&), const char* missingText) {
  if (!stored.isPresent()) {
    logDevError("%s", missingText);
    return false;
  }
  const std::string text(stored->begin(), stored->end());
  // One to nine digits: more than any identifier takes. No digits at all
  // would read as 0, which a setter never stores as an empty text.
  const utils::Optional<unsigned int> number = !stored->empty() && stored->size() <= 9
                                                   ? utils::dataInVectorToUint32t(*stored)
                                                   : utils::Optional<unsigned int>();
  if (!number.isPresent() || !accepted(*number)) {
    logDevError("Identifier %s not accepted, request not built", text.c_str());
    return false;
  }
  addFsToData();
  addVectorToData(*stored);
  return true;
}

bool CommonMessage::isNotFsOnIterator() const {
  return readPosition < data.size() && data[readPosition] != FS;
}

bool CommonMessage::isNotEtxOnIterator() const {
  return readPosition < data.size() && data[readPosition] != ETX;
}

bool CommonMessage::isIteratorOnDataEnd() const { return readPosition >= data.size(); }

bool CommonMessage::checkArgumentPresence() {
  if (readPosition >= data.size() || data.size() - readPosition < 2) {
    logDevError("Insufficient data provided");
    return false;
  }
  if (data[readPosition] != FS) {
    logDevError("Unable to extract data, FS byte expected, 0x%02X found", data[readPosition]);
    return false;
  }
  ++readPosition;
  return true;
}

bool CommonMessage::extractNumber(uint64_t& value, size_t maxCharacters, unsigned base,
                                  bool signAllowed, size_t minimum, bool& negative) {
  if (!checkArgumentPresence()) return false;
  uint64_t number = 0;
  size_t consumed = 0;
  size_t digits = 0;
  negative = false;
  while (readPosition < data.size() && data[readPosition] != FS && consumed < maxCharacters) {
    const unsigned char c = data[readPosition];
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (signAllowed && c == '-') {
      negative = true;
      ++consumed;
      ++readPosition;
      continue;
    } else {
      logDevError("0x%02X id not a digit", c);
      return false;
    }
    number = number * base + digit;
    ++digits;
    ++consumed;
    ++readPosition;
  }
  if (digits < minimum) return false;
  value = number;
  return true;
}

namespace {

// Reads into a 64-bit number, then hands a 32-bit destination its value
// only when the read succeeded.
template <typename Read>
bool readUint32(uint32_t& value, Read read) {
  uint64_t number = 0;
  if (!read(number)) return false;
  value = static_cast<uint32_t>(number);
  return true;
}

}  // namespace

bool CommonMessage::extractTwoByteInt(uint32_t& value, size_t minimum) {
  return readUint32(value, [&](uint64_t& number) {
    bool negative = false;
    return extractNumber(number, 2, 10, false, minimum, negative);
  });
}

bool CommonMessage::extractFourByteInt(uint32_t& value, size_t minimum) {
  return readUint32(value, [&](uint64_t& number) {
    bool negative = false;
    return extractNumber(number, 4, 10, false, minimum, negative);
  });
}

bool CommonMessage::extractEightByteInt(uint32_t& value, size_t minimum) {
  return readUint32(value, [&](uint64_t& number) {
    bool negative = false;
    return extractNumber(number, 8, 10, false, minimum, negative);
  });
}

bool CommonMessage::extractTwelveByteInt(uint64_t& value, size_t minimum) {
  bool negative = false;
  return extractNumber(value, 12, 10, false, minimum, negative);
}

bool CommonMessage::extractSixteenByteInt(uint64_t& value, size_t minimum) {
  bool negative = false;
  return extractNumber(value, 16, 10, false, minimum, negative);
}

bool CommonMessage::extractTwoByteHexInt(uint32_t& value, size_t minimum) {
  return readUint32(value, [&](uint64_t& number) {
    bool negative = false;
    return extractNumber(number, 2, 16, false, minimum, negative);
  });
}

bool CommonMessage::extractFourByteHexInt(uint32_t& value, size_t minimum) {
  return readUint32(value, [&](uint64_t& number) {
    bool negative = false;
    return extractNumber(number, 4, 16, false, minimum, negative);
  });
}

bool CommonMessage::extractTwelveByteSignedInt(int64_t& value, size_t minimum) {
  uint64_t number = 0;
  bool negative = false;
  if (!extractNumber(number, 12, 10, true, minimum, negative)) return false;
  // At most 12 digits, so the magnitude always fits.
  value = negative ? -static_cast<int64_t>(number) : static_cast<int64_t>(number);
  return true;
}

bool CommonMessage::extractFunctionCode(uint32_t& value) { return extractTwoByteInt(value, 1); }

bool CommonMessage::extractText(std::string& text, bool stopAtEtx) {
  if (readPosition >= data.size() || data[readPosition] != FS) return false;
  ++readPosition;
  while (readPosition < data.size() && data[readPosition] != FS &&
         !(stopAtEtx && data[readPosition] == ETX)) {
    text.push_back(static_cast<char>(data[readPosition]));
    ++readPosition;
  }
  return true;
}

bool CommonMessage::extractString(std::string& text) { return extractText(text, false); }

bool CommonMessage::extractString_Etx(std::string& text) { return extractText(text, true); }

bool CommonMessage::checkId() {
  const std::string id = getId();
  if (data.size() < id.size()) {
    logDevError("Insufficient data, ID %s longer than provided %u bytes", id.c_str(),
                static_cast<unsigned>(data.size()));
    return false;
  }
  if (!std::equal(id.begin(), id.end(), data.begin())) {
    const unsigned char first = data.size() > 0 ? data[0] : 0;
    const unsigned char second = data.size() > 1 ? data[1] : 0;
    logDevError("Message with invalid ID received, %s expected, %c%c (0x%02X 0x%02X) received",
                id.c_str(), first, second, first, second);
    return false;
  }
  return true;
}

bool CommonMessage::checkReturnCode(bool& nonZero) {
  uint32_t code = 0;
  if (!extractFunctionCode(code)) {
    logDevError("Unable to extract function return code");
    return false;
  }
  maintenanceCtx.setLastFunctionReturnCode(code);
  if (code == 0) {
    nonZero = false;
    return true;
  }
  const std::string id = getId();
  logDevTrace("Nonzero function return code: %u for message with ID: %s", code, id.c_str());
  nonZero = true;
  if (isIteratorOnDataEnd()) {
    logDevTrace("No error description from terminal");
    maintenanceCtx.setErrorDescription(std::string());
    return true;
  }
  std::string description;
  if (!extractString(description)) {
    logDevError("Unable to extract error description");
    return false;
  }
  logDevTrace("Error description: %s", description.c_str());
  maintenanceCtx.setErrorDescription(description);
  return true;
}

}  // namespace zq::app::protocols

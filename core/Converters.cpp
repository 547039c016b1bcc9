#include "core/Converters.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/CurrencyTable.h"
#include "zumbra_log.h"

namespace zq::app::utils {

namespace {

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Value of one hexadecimal digit, or -1.
int hexNibble(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int decimalNibble(unsigned char c) { return isDigit(c) ? c - '0' : -1; }

// Pairs the digits from the left; an odd count starts with a 0 nibble.
std::vector<unsigned char> packNibbles(const std::string& text, int (*nibble)(unsigned char)) {
  std::vector<unsigned char> out;
  out.reserve(text.size() / 2 + 1);
  bool high = (text.size() % 2) == 0;
  unsigned char current = 0;
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    const int value = nibble(c);
    if (value < 0) {
      logDevError("Invalid byte 0x%02X", static_cast<unsigned>(c));
      return std::vector<unsigned char>();
    }
    if (high) {
      current = static_cast<unsigned char>(value << 4);
    } else {
      out.push_back(static_cast<unsigned char>(current | value));
      current = 0;
    }
    high = !high;
  }
  return out;
}

template <typename T>
Optional<T> bytesToNumber(const std::vector<unsigned char>& bytes, const char* title) {
  logDevDebug("%s", title);
  logDevDebugHex(bytes.data(), bytes.size());
  constexpr unsigned width = std::numeric_limits<T>::digits;
  constexpr T limit = static_cast<T>(T(1) << (width - 8));
  T value = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0 && value >= limit) {
      logDevError("Overflow detected on vector to int conversion, capacity %u bytes", width / 8);
      return Optional<T>();
    }
    value = static_cast<T>((value << 8) | bytes[i]);
  }
  return Optional<T>(value);
}

void appendText(const std::string& text, std::vector<unsigned char>& data) {
  data.insert(data.end(), text.begin(), text.end());
}

}  // namespace

std::vector<unsigned char> asciiToVector(const std::string& text) {
  return std::vector<unsigned char>(text.begin(), text.end());
}

std::string vectorToAscii(const std::vector<unsigned char>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

uint8_t asciiToUint8(const std::string& text) {
  logDevDebug("Convert to uint8_t: %s", text.c_str());
  unsigned value = 0;  // kept modulo 256: only the low byte decides the result
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (!isDigit(c)) {
      return 0;
    }
    const unsigned next = value * 10u + (c - '0');
    if (next > 255u) {
      logDevWarn("Type overflow while converting string");
    }
    value = next % 256u;
  }
  return static_cast<uint8_t>(value);
}

// A wrapped amount or identifier would be silently wrong, so an overflow is
// a failure like a non-digit.
Optional<std::uint64_t> asciiToUint64(const std::string& text) {
  logDevDebug("Convert to uint64_t: %s", text.c_str());
  constexpr std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t value = 0;
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (!isDigit(c)) {
      return Optional<std::uint64_t>();
    }
    const unsigned digit = c - '0';
    if (value > (max - digit) / 10u) {
      logDevError("Type overflow while converting string");
      return Optional<std::uint64_t>();
    }
    value = value * 10u + digit;
  }
  return Optional<std::uint64_t>(value);
}

Optional<unsigned int> dataInVectorToUint32t(const std::vector<unsigned char>& bytes) {
  constexpr unsigned int max = std::numeric_limits<unsigned int>::max();
  unsigned int value = 0;
  for (unsigned char c : bytes) {
    if (!isDigit(c)) {
      logDevError("0x%02X id not a digit", static_cast<unsigned>(c));
      return Optional<unsigned int>();
    }
    const unsigned digit = c - '0';
    if (value > (max - digit) / 10u) {
      logDevError("Type overflow while converting string");
      return Optional<unsigned int>();
    }
    value = value * 10u + digit;
  }
  return Optional<unsigned int>(value);
}

Optional<unsigned short> vectorToHexUint16(const std::vector<unsigned char>& bytes) {
  return bytesToNumber<unsigned short>(bytes, "Convert to uint16_t (hex):");
}

Optional<unsigned int> vectorToHexUint32(const std::vector<unsigned char>& bytes) {
  return bytesToNumber<unsigned int>(bytes, "Convert to uint32_t (hex):");
}

Optional<std::uint64_t> vectorToHexUint64(const std::vector<unsigned char>& bytes) {
  return bytesToNumber<std::uint64_t>(bytes, "Convert to uint64_t (hex):");
}

std::vector<unsigned char> uint64ToVector(std::uint64_t value) {
  std::vector<unsigned char> out;
  int shift = 56;
  while (shift > 0 && ((value >> shift) & 0xFFu) == 0) {
    shift -= 8;
  }
  for (; shift >= 0; shift -= 8) {
    out.push_back(static_cast<unsigned char>((value >> shift) & 0xFFu));
  }
  return out;
}

std::string int64ToAscii(std::int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%" PRId64, value);
  return text;
}

std::string uint64ToAscii(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%" PRIu64, value);
  return text;
}

std::string uint64ToAscii(std::uint64_t value, std::size_t width, char fill) {
  std::string text = uint64ToAscii(value);
  if (text.size() < width) {
    text.insert(0, width - text.size(), fill);
  }
  return text;
}

void addUint32ToDataVector(unsigned int value, std::vector<unsigned char>& data) {
  appendText(uint64ToAscii(value), data);
}

void addUint64ToDataVector(std::uint64_t value, std::vector<unsigned char>& data) {
  appendText(uint64ToAscii(value), data);
}

void addInt64ToDataVector(std::int64_t value, std::vector<unsigned char>& data) {
  appendText(int64ToAscii(value), data);
}

std::string bcdToAscii(const std::vector<unsigned char>& bytes) {
  std::string text;
  bool started = false;
  for (unsigned char byte : bytes) {
    for (unsigned nibble : {static_cast<unsigned>(byte >> 4), static_cast<unsigned>(byte & 0x0Fu)}) {
      if (!started && nibble == 0) {
        continue;
      }
      started = true;
      text += std::to_string(nibble);
    }
  }
  return text;
}

std::string hexToAscii(const std::vector<unsigned char>& bytes, bool dropLeadingZeros) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  size_t i = 0;
  if (dropLeadingZeros) {
    while (i < bytes.size() && bytes[i] == 0) {
      ++i;
    }
    if (i < bytes.size() && bytes[i] < 0x10) {
      text += digits[bytes[i]];
      ++i;
    }
  }
  for (; i < bytes.size(); ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 0x0F];
  }
  return text;
}

std::string hexToAscii(const std::vector<unsigned char>& bytes) { return hexToAscii(bytes, false); }

std::vector<unsigned char> asciiToBcd(const std::string& text) { return packNibbles(text, decimalNibble); }

std::vector<unsigned char> asciiToHex(const std::string& text) { return packNibbles(text, hexNibble); }

std::vector<std::string> csvToFields(const std::string& text, char separator, std::size_t max) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (max != 0 && fields.size() + 1 == max) {
      fields.push_back(text.substr(pos));
      break;
    }
    const std::size_t end = text.find(separator, pos);
    if (end == std::string::npos) {
      fields.push_back(text.substr(pos));
      break;
    }
    fields.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return fields;
}

std::vector<std::string> csvToFields(const std::string& text, char separator) {
  return csvToFields(text, separator, 0);
}

std::string currencyCodeToCurrencyLabel(const std::vector<unsigned char>& code) {
  const Optional<unsigned short> number = vectorToHexUint16(code);
  if (!number.isPresent()) {
    logDevError("Unable to get currency code");
    return std::string();
  }
  for (const Currency& row : currencyTable) {
    if (row.code == *number) {
      return row.label;
    }
  }
  logDevError("Unable to find label for currency code 0x%04X", static_cast<unsigned>(*number));
  return std::string();
}

std::vector<unsigned char> currencyLabelToCurrencyCode(const std::string& label) {
  for (const Currency& row : currencyTable) {
    if (label == row.label) {
      return uint64ToVector(row.code);
    }
  }
  logDevError("Unable to find currency code for label %s", label.c_str());
  return std::vector<unsigned char>();
}

bool convertUint32ToTransactionResult(const unsigned int& value, ecr_transactionResult& out) {
  switch (value) {
    case ECR_TRANSACTION_RESULT_0:
    case ECR_TRANSACTION_RESULT_1:
    case ECR_TRANSACTION_RESULT_2:
    case ECR_TRANSACTION_RESULT_7:
      out = static_cast<ecr_transactionResult>(value);
      return true;
    default:
      return false;
  }
}

}  // namespace zq::app::utils

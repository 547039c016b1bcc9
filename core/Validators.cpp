#include "core/Validators.h"

#include <cinttypes>

#include "zumbra_log.h"

namespace zq::app::utils {

namespace {

bool allDigits(const std::string& text) {
  for (char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
  }
  return true;
}

}  // namespace

// Lengths are checked before the characters: a text that is both too long
// and not numeric is reported by its length only.
bool validateAmount(const std::string& amount) {
  if (amount.empty() || amount.size() > 12) {
    logDevError("Incorrect amount len %u, expected in range 1-12", static_cast<unsigned>(amount.size()));
    return false;
  }
  if (!allDigits(amount)) {
    logDevError("Entered amount is not numeric");
    return false;
  }
  return true;
}

bool validateTitle(const std::string& title) {
  if (title.size() > 46) {
    logDevError("Incorrect title len %u, expected in range 0-46", static_cast<unsigned>(title.size()));
    return false;
  }
  return validateNoControlBytes(title);
}

// The terminal API logs a refused length itself.
bool validateAdditionalPrintoutData(const std::string& data) {
  return data.size() <= 64 && validateNoControlBytes(data);
}

bool validateTransactionId(const unsigned int& id) {
  if (id >= 100000000u) {
    logDevError("Incorrect id %u, expected max. 8 digits", id);
    return false;
  }
  return true;
}

bool validateTerminalId(const unsigned char& id) {
  if (id >= 10u) {
    logDevError("Incorrect id %u, expected max. 1 digit", static_cast<unsigned>(id));
    return false;
  }
  return true;
}

bool validateCardsetId(const unsigned int& id) {
  if (id >= 100u) {
    logDevError("Incorrect id %u, expected max. 2 digits", id);
    return false;
  }
  return true;
}

bool validateCurrencyId(const unsigned int& id) {
  if (id >= 1000u) {
    logDevError("Incorrect id %u, expected max. 3 digits", id);
    return false;
  }
  return true;
}

bool validateBlikCode(const std::string& code) {
  if (code.empty()) {
    logDevError("Entered BLIK code is empty");
    return false;
  }
  if (!allDigits(code)) {
    logDevError("Entered BLIK code is not numeric");
    return false;
  }
  return true;
}

bool validateEAN(const std::string& ean) {
  if (ean.empty() || ean.size() > 13) {
    logDevError("Incorrect ean len %u, expected in range 1-13", static_cast<unsigned>(ean.size()));
    return false;
  }
  if (!allDigits(ean)) {
    logDevError("Entered EAN code is not numeric");
    return false;
  }
  return true;
}

bool validateNoControlBytes(const unsigned char* data, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    switch (data[i]) {
      case 0x02:  // STX
      case 0x03:  // ETX
      case 0x04:  // EOT
      case 0x06:  // ACK
      case 0x15:  // NAK
      case 0x1C:  // FS
        logDevError("Control byte 0x%02X at position %u refused", static_cast<unsigned>(data[i]),
                    static_cast<unsigned>(i));
        return false;
      default:
        break;
    }
  }
  return true;
}

bool validateNoControlBytes(const std::string& text) {
  return validateNoControlBytes(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

bool validateRange(std::int64_t number, std::int64_t first, std::int64_t last) {
  if (number < first || number > last) {
    logDevError("Incorrect value %" PRId64 ", expected in range %" PRId64 "-%" PRId64, number, first,
                last);
    return false;
  }
  return true;
}

}  // namespace zq::app::utils

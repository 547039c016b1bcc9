#include "core/Validators.h"

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
  return true;
}

// The terminal API logs this refusal itself.
bool validateAdditionalPrintoutData(const std::string& data) { return data.size() <= 64; }

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

}  // namespace zq::app::utils

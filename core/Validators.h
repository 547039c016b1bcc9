// Checks of host parameters before the terminal API stores them. Each
// refusal is logged on the developer category at error level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zq::app::utils {

bool validateAmount(const std::string& amount);
// Both texts also refuse the link's control bytes (validateNoControlBytes).
bool validateTitle(const std::string& title);
bool validateAdditionalPrintoutData(const std::string& data);
bool validateTransactionId(const unsigned int& id);
bool validateTerminalId(const unsigned char& id);
bool validateCardsetId(const unsigned int& id);
bool validateCurrencyId(const unsigned int& id);
bool validateBlikCode(const std::string& code);
bool validateEAN(const std::string& ean);

// A request's fields travel between FS bytes inside STX .. ETX without any
// escaping, so a field holding STX, ETX, EOT, ACK, NAK or FS would cut the
// frame or add fields to it. False for such a text or byte string.
bool validateNoControlBytes(const std::string& text);
bool validateNoControlBytes(const unsigned char* data, size_t length);

// A number from the host (a C int, a Java int) names an enumerator only when
// it lies in [first, last]. It is checked as a number, before it becomes the
// enumeration, because an enumeration holding any other value is not one a
// switch or a table lookup can be trusted with.
bool validateRange(std::int64_t number, std::int64_t first, std::int64_t last);

template <typename Enum>
bool enumFromNumber(std::int64_t number, Enum first, Enum last, Enum& out) {
  if (!validateRange(number, static_cast<std::int64_t>(first), static_cast<std::int64_t>(last)))
    return false;
  out = static_cast<Enum>(number);
  return true;
}

}  // namespace zq::app::utils

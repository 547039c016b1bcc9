// The ISO 4217 currencies the terminal may name: alphabetic label and the
// numeric code held as four BCD digits (PLN 985 is 0x0985, ALL 8 is 0x0008).
#pragma once

#include <cstddef>
#include <cstdint>

namespace zq::app::utils {

struct Currency {
  const char* label;   // three upper-case letters
  std::uint16_t code;  // numeric code as four BCD digits
};

constexpr std::size_t currencyTableSize = 180;

// Alphabetical, except LTL at the end. Look-ups scan it in this order and
// the first matching row wins. Constant data: ready before any code runs.
extern const Currency currencyTable[currencyTableSize];

}  // namespace zq::app::utils

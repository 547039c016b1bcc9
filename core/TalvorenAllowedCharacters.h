#pragma once

#include <cstdint>

namespace zq::app::protocols {

// Which characters the user may type for a data-entry prompt. The value is the
// designation letter exactly as the terminal sends it, so any byte read from a
// prompt is a valid value; unknown designations allow nothing.
enum TalvorenAllowedCharacters : std::uint8_t {
  ALLOWED_CHARACTERS_NONE = 0,
  ALLOWED_CHARACTERS_PRINTABLE = 'S',
  ALLOWED_CHARACTERS_NUMERIC = 'n',
  ALLOWED_CHARACTERS_ALPHANUMERIC = 'A',
};

}  // namespace zq::app::protocols

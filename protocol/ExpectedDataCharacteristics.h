// What the terminal expects as the answer to its current prompt: length
// bounds, the characters the user may type, the special answer and the text.
#pragma once

#include <cstdint>
#include <string>

#include "core/TalvorenAllowedCharacters.h"

namespace zq::app::protocols {

enum TalvorenAllowedSpecialCharacters : uint32_t {
  SPECIAL_CHARACTERS_NONE = 0,
  SPECIAL_CHARACTERS_OK = 1,
  SPECIAL_CHARACTERS_CANCEL = 2,
  SPECIAL_CHARACTERS_YES_NO = 3,
};

class ExpectedDataCharacteristics {
 public:
  // The values a prompt has when the terminal sent no characteristics.
  ExpectedDataCharacteristics()
      : minimumCharacters(0),
        maximumCharacters(99),
        allowedCharacters(static_cast<TalvorenAllowedCharacters>(0)),
        allowedSpecialCharacters(SPECIAL_CHARACTERS_NONE) {}
  ExpectedDataCharacteristics(uint8_t minimum, uint8_t maximum, TalvorenAllowedCharacters allowed,
                              TalvorenAllowedSpecialCharacters special,
                              const std::string& promptText)
      : minimumCharacters(minimum),
        maximumCharacters(maximum),
        allowedCharacters(allowed),
        allowedSpecialCharacters(special),
        promptText(promptText) {}

  uint8_t getMinimumCharacters() const { return minimumCharacters; }
  uint8_t getMaximumCharacters() const { return maximumCharacters; }
  TalvorenAllowedCharacters getAllowedCharacters() const { return allowedCharacters; }
  TalvorenAllowedSpecialCharacters getAllowedSpecialCharacters() const {
    return allowedSpecialCharacters;
  }
  std::string getPromptText() const { return promptText; }

 private:
  uint8_t minimumCharacters;
  uint8_t maximumCharacters;
  TalvorenAllowedCharacters allowedCharacters;
  TalvorenAllowedSpecialCharacters allowedSpecialCharacters;
  std::string promptText;
};

}  // namespace zq::app::protocols

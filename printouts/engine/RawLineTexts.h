// The one to three texts of a print line, before any layout.
#pragma once

#include <string>

#include "zumbra_printout_types.h"

namespace zq::app::printouts {

class RawLineTexts {
 public:
  RawLineTexts() = default;
  RawLineTexts(std::string text1);  // NOLINT: a lone text is a line's texts
  RawLineTexts(std::string text1, std::string text2);
  RawLineTexts(std::string text1, std::string text2, std::string text3);
  // A label and its value for the two-text layouts: text1 is the label's
  // phrase followed by ": ", text2 the value.
  RawLineTexts(pr_Dictionary label, const std::string& value);

  // "<label phrase>: <value phrase>" and "<label phrase>: <value>". Phrases
  // are read now, so the dictionary's DCC switch applies.
  static std::string getPair(pr_Dictionary label, pr_Dictionary value);
  static std::string getPair(pr_Dictionary label, const std::string& value);

  std::string text1;
  std::string text2;
  std::string text3;
};

}  // namespace zq::app::printouts

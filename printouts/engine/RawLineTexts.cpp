#include "printouts/engine/RawLineTexts.h"

#include <utility>

#include "printouts/engine/PrintDictionary.h"

namespace zq::app::printouts {

namespace {
const char kLabelSeparator[] = ": ";
}

RawLineTexts::RawLineTexts(std::string text1) : text1(std::move(text1)) {}

RawLineTexts::RawLineTexts(std::string text1, std::string text2)
    : text1(std::move(text1)), text2(std::move(text2)) {}

RawLineTexts::RawLineTexts(std::string text1, std::string text2, std::string text3)
    : text1(std::move(text1)), text2(std::move(text2)), text3(std::move(text3)) {}

RawLineTexts::RawLineTexts(pr_Dictionary label, const std::string& value)
    : text1(PrintDictionary::phrase(label) + kLabelSeparator), text2(value) {}

std::string RawLineTexts::getPair(pr_Dictionary label, pr_Dictionary value) {
  return getPair(label, PrintDictionary::phrase(value));
}

std::string RawLineTexts::getPair(pr_Dictionary label, const std::string& value) {
  return PrintDictionary::phrase(label) + kLabelSeparator + value;
}

}  // namespace zq::app::printouts

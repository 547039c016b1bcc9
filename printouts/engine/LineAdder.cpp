#include "printouts/engine/LineAdder.h"

#include <algorithm>
#include <cstring>

namespace zq::app::printouts {

pr_Line LineAdderInterface::prepareLine(const std::string& text, const uint32_t& id) const {
  pr_Line line;
  std::memset(&line, 0, sizeof line);
  line.id = id;
  // Stop at an embedded NUL as well: the host reads the text up to its first
  // NUL, and every byte after the text is zero.
  const std::size_t length =
      std::min<std::size_t>(std::strlen(text.c_str()), PR_LINE_TEXT_MAX_LEN);
  std::memcpy(line.text, text.data(), length);
  setAdditionalLineParameters(line);
  return line;
}

void SimpleLineAdder::setAdditionalLineParameters(pr_Line&) const {}

void BoldLineAdder::setAdditionalLineParameters(pr_Line& line) const { line.bold = 1; }

void BigLineAdder::setAdditionalLineParameters(pr_Line& line) const { line.fontSize = PR_FONT_BIG; }

void BigBoldLineAdder::setAdditionalLineParameters(pr_Line& line) const {
  line.fontSize = PR_FONT_BIG;
  line.bold = 1;
}

void NegativeLineAdder::setAdditionalLineParameters(pr_Line& line) const { line.negative = 1; }

void NegativeBigBoldLineAdder::setAdditionalLineParameters(pr_Line& line) const {
  line.fontSize = PR_FONT_BIG;
  line.negative = 1;
  line.bold = 1;
}

void SmallLineAdder::setAdditionalLineParameters(pr_Line& line) const {
  line.fontSize = PR_FONT_SMALL;
}

LineAdders& lineAdders() {
  static LineAdders& adders = *new LineAdders();
  return adders;
}

const std::array<LineAdderInterface*, kLineAdderCount>& allLineAdders() {
  static const std::array<LineAdderInterface*, kLineAdderCount> adders = [] {
    LineAdders& all = lineAdders();
    return std::array<LineAdderInterface*, kLineAdderCount>{
        &all.fiscalSimpleLeftLineAdder,
        &all.fiscalSimpleRightLineAdder,
        &all.fiscalSimpleCenterLineAdder,
        &all.fiscalSimpleTwoTextsLineAdder,
        &all.fiscalSimpleUnformattedLineAdder,
        &all.standardSimpleLeftLineAdder,
        &all.standardBigLeftLineAdder,
        &all.standardBoldLeftLineAdder,
        &all.standardSimpleRightLineAdder,
        &all.standardBigBoldCenterLineAdder,
        &all.standardBigCenterLineAdder,
        &all.standardBoldCenterLineAdder,
        &all.standardNegativeBigBoldCenterLineAdder,
        &all.standardNegativeCenterLineAdder,
        &all.standardSimpleCenterLineAdder,
        &all.standardSmallCenterLineAdder,
        &all.standardBoldTwoTextsLineAdder,
        &all.standardSimpleTwoTextsLineAdder,
        &all.standardSimpleThreeTextsLineAdder,
        &all.standardSimpleUnformattedLineAdder,
    };
  }();
  return adders;
}

}  // namespace zq::app::printouts

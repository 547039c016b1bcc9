#include "printouts/engine/LineFormatter.h"

#include <algorithm>

#include "printouts/engine/FiscalFormat.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

namespace {

const char kBlank = ' ';
const char kRecordSeparator = '\x1E';

// A context's lengths are kept within a line's capacity by their setters; the
// cap here keeps a length written past them from pushing the end of right or
// centred text beyond what a line keeps.
uint32_t lineWidth(uint32_t length) { return std::min<uint32_t>(length, PR_LINE_TEXT_MAX_LEN); }

std::string layoutLeft(const std::string& text, std::size_t width) {
  if (text.size() > width) return text.substr(0, width);
  return text + std::string(width - text.size(), kBlank);
}

std::string layoutRight(const std::string& text, std::size_t width) {
  if (text.size() > width) return text.substr(text.size() - width);
  return std::string(width - text.size(), kBlank) + text;
}

// A cut takes one byte more from the end than from the start, and an odd
// fill puts the extra blank on the right.
std::string layoutCenter(const std::string& text, std::size_t width) {
  if (text.size() > width) return text.substr((text.size() - width) / 2, width);
  const std::size_t before = (width - text.size()) / 2;
  return std::string(before, kBlank) + text + std::string(width - text.size() - before, kBlank);
}

// Both texts on width when they fit (touching when they fill it exactly),
// otherwise the middle of "a b" on fallbackWidth.
std::string layoutTwo(const std::string& a, const std::string& b, std::size_t width,
                      std::size_t fallbackWidth) {
  if (a.size() + b.size() <= width) return a + std::string(width - a.size() - b.size(), kBlank) + b;
  return layoutCenter(a + kBlank + b, fallbackWidth);
}

}  // namespace

uint32_t LineFormatterWithStandardWidth::getLineWidth() const {
  return ctx ? lineWidth(ctx->normalLineLen) : 0;
}

uint32_t LineFormatterWithSmallWidth::getLineWidth() const {
  return ctx ? lineWidth(ctx->smallLineLen) : 0;
}

uint32_t LineFormatterWithBigWidth::getLineWidth() const {
  return ctx ? lineWidth(ctx->bigLineLen) : 0;
}

uint32_t LineFormatterWithFiscalCustomWidth::getLineWidth() const {
  return FiscalFormat::getInstance().getLineWidth();
}

std::string LeftFormatter::getFormattedString(const RawLineTexts& texts) const {
  return layoutLeft(texts.text1, getLineWidth());
}

std::string RightFormatter::getFormattedString(const RawLineTexts& texts) const {
  return layoutRight(texts.text1, getLineWidth());
}

std::string CenterFormatter::getFormattedString(const RawLineTexts& texts) const {
  return layoutCenter(texts.text1, getLineWidth());
}

std::string EmptyFormatter::getFormattedString(const RawLineTexts& texts) const { return texts.text1; }

std::string TwoTextsFormatter::getFormattedString(const RawLineTexts& texts) const {
  const uint32_t width = getLineWidth();
  return layoutTwo(texts.text1, texts.text2, width, width);
}

std::string ThreeTextsFormatter::getTwoFormattedTexts(const std::string& a, const std::string& b,
                                                      uint32_t width) const {
  return layoutTwo(a, b, width, getLineWidth());
}

std::string ThreeTextsFormatter::getFormattedString(const RawLineTexts& texts) const {
  const uint32_t width = getLineWidth();
  const std::string right = getTwoFormattedTexts(texts.text2, texts.text3, width / 2);
  return getTwoFormattedTexts(texts.text1, right, width);
}

std::string FiscalTwoTextsFormatter::getFormattedString(const RawLineTexts& texts) const {
  return texts.text1 + kRecordSeparator + texts.text2;
}

}  // namespace zq::app::printouts

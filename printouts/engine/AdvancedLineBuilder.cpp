#include "printouts/engine/AdvancedLineBuilder.h"

#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

namespace {

// Strict: texts go on one line only with at least one blank between them,
// although the two-text layout would also take texts that fill the width.
bool twoTextsFit(const RawLineTexts& texts, unsigned long width) {
  return texts.text1.size() + texts.text2.size() < width;
}

}  // namespace

void AdvancedLineBuilder::buildLine(const RawLineTexts& texts, const unsigned long& width) {
  this->texts = texts;
  if (doesTextsFit(width)) {
    addSingleLine();
  } else {
    addTwoLines();
  }
}

// The builders are left alive at exit, as every process-wide object of the
// library is.
TwoEntryLineBrokenBuilder& TwoEntryLineBrokenBuilder::get() {
  static TwoEntryLineBrokenBuilder& instance = *new TwoEntryLineBrokenBuilder();
  return instance;
}

bool TwoEntryLineBrokenBuilder::doesTextsFit(const unsigned long& width) const {
  return twoTextsFit(texts, width);
}

void TwoEntryLineBrokenBuilder::addSingleLine() const {
  PrintoutCtx_s::addStandardSimpleTwoTextsLineToCtx(texts);
}

void TwoEntryLineBrokenBuilder::addTwoLines() {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(texts.text1));
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(texts.text2));
}

TwoEntryLineOverlapBuilder& TwoEntryLineOverlapBuilder::get() {
  static TwoEntryLineOverlapBuilder& instance = *new TwoEntryLineOverlapBuilder();
  return instance;
}

bool TwoEntryLineOverlapBuilder::doesTextsFit(const unsigned long& width) const {
  return twoTextsFit(texts, width);
}

void TwoEntryLineOverlapBuilder::addSingleLine() const {
  PrintoutCtx_s::addStandardSimpleTwoTextsLineToCtx(texts);
}

void TwoEntryLineOverlapBuilder::addTwoLines() {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(texts.text1));
  PrintoutCtx_s::addStandardSimpleRightLineToCtx(RawLineTexts(texts.text2));
}

ThreeEntryLineBuilder& ThreeEntryLineBuilder::get() {
  static ThreeEntryLineBuilder& instance = *new ThreeEntryLineBuilder();
  return instance;
}

bool ThreeEntryLineBuilder::doesTextsFit(const unsigned long& width) const {
  const unsigned long half = width / 2;
  return texts.text1.size() < half && texts.text2.size() + texts.text3.size() < half;
}

void ThreeEntryLineBuilder::addSingleLine() const {
  PrintoutCtx_s::addStandardSimpleThreeTextsLineToCtx(texts);
}

void ThreeEntryLineBuilder::addTwoLines() {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(texts.text1));
  texts.text1.clear();
  PrintoutCtx_s::addStandardSimpleThreeTextsLineToCtx(texts);
}

}  // namespace zq::app::printouts

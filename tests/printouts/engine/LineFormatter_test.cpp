#include "printouts/engine/LineFormatter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "EngineState.h"
#include "printouts/engine/FiscalFormat.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {
namespace {

enum class Layout { Left, Right, Center, Unchanged, TwoTexts, ThreeTexts, FiscalTwoTexts };

struct LayoutCase {
  const char* what;
  Layout layout;
  uint32_t width;
  RawLineTexts texts;
  std::string expected;
};

std::string blanks(std::size_t n) { return std::string(n, ' '); }

class LineFormatterTest : public ::testing::Test {
 protected:
  // The layouts on the normal width of a context, the fiscal two-text form on
  // the fiscal table.
  std::string format(Layout layout, uint32_t width, const RawLineTexts& texts) {
    ctx.normalLineLen = width;
    switch (layout) {
      case Layout::Left: return bound<StandardLeftFormatter>().getFormattedString(texts);
      case Layout::Right: return bound<StandardRightFormatter>().getFormattedString(texts);
      case Layout::Center: return bound<StandardCenterFormatter>().getFormattedString(texts);
      case Layout::Unchanged: return bound<StandardEmptyFormatter>().getFormattedString(texts);
      case Layout::TwoTexts: return bound<StandardTwoTextsFormatter>().getFormattedString(texts);
      case Layout::ThreeTexts: return bound<StandardThreeTextsFormatter>().getFormattedString(texts);
      case Layout::FiscalTwoTexts:
        FiscalFormat::getInstance().set(PR_FISCAL_GENERIC, {14, width});
        return FiscalTwoTextsFormatter().getFormattedString(texts);
    }
    return {};
  }

  template <typename F>
  F bound() {
    F formatter;
    formatter.setCtx(&ctx);
    return formatter;
  }

  EngineState state;
  PrintoutCtx_s ctx;
};

TEST_F(LineFormatterTest, LaysTextsOutOnTheWidth) {
  const LayoutCase cases[] = {
      {"left fills", Layout::Left, 10, {"ABC"}, "ABC" + blanks(7)},
      {"right fills", Layout::Right, 10, {"ABC"}, blanks(7) + "ABC"},
      {"left keeps the start", Layout::Left, 3, {"ABCDE"}, "ABC"},
      {"right keeps the end", Layout::Right, 3, {"ABCDE"}, "CDE"},
      {"left exact", Layout::Left, 3, {"ABC"}, "ABC"},
      {"centre odd fill puts the extra blank right", Layout::Center, 5, {"ab"}, " ab  "},
      {"centre odd cut takes more from the end", Layout::Center, 4, {"abcdefg"}, "bcde"},
      {"centre even cut", Layout::Center, 4, {"abcdef"}, "bcde"},
      {"centre of nothing", Layout::Center, 6, {""}, blanks(6)},
      {"unchanged is neither filled nor cut", Layout::Unchanged, 3, {" AB CD "}, " AB CD "},
      {"two texts at both margins", Layout::TwoTexts, 10, {"ab", "cd"}, "ab" + blanks(6) + "cd"},
      {"two texts touch when they fill the line", Layout::TwoTexts, 4, {"ab", "cd"}, "abcd"},
      {"two texts too long: middle of 'abc de'", Layout::TwoTexts, 4, {"abc", "de"}, "bc d"},
      {"two texts ignore text3", Layout::TwoTexts, 6, {"a", "b", "c"}, "a    b"},
      {"three texts: right half is the last 5", Layout::ThreeTexts, 10, {"A", "B", "C"},
       "A    B   C"},
      {"three texts: right half too long, centred on the line", Layout::ThreeTexts, 10,
       {"", "BBBB", "CCCC"}, "BBBB CCCC "},
      {"three texts: right pair joined and cut to the line", Layout::ThreeTexts, 10,
       {"", "BBBBBB", "CCCCCC"}, "BBBBB CCCC"},
      {"three texts: text1 wider than the left half", Layout::ThreeTexts, 10,
       {"AAAAAA", "B", "C"}, "AAAAA B   "},
      {"three texts on odd width: right half is the last 2", Layout::ThreeTexts, 5,
       {"A", "B", "C"}, "A  BC"},
      {"fiscal two texts: separator, no width", Layout::FiscalTwoTexts, 4,
       {"ABCDEFGH", "abcdefgh"}, "ABCDEFGH\x1E" "abcdefgh"},
      {"fiscal two texts of nothing", Layout::FiscalTwoTexts, 31, {"", ""}, "\x1E"},
      {"width 0: left", Layout::Left, 0, {"ABC"}, ""},
      {"width 0: right", Layout::Right, 0, {"ABC"}, ""},
      {"width 0: centre", Layout::Center, 0, {"ABC"}, ""},
      {"width 0: two texts", Layout::TwoTexts, 0, {"A", "B"}, ""},
      {"width 0: three texts", Layout::ThreeTexts, 0, {"A", "B", "C"}, ""},
      {"width 0: unchanged stays", Layout::Unchanged, 0, {"ABC"}, "ABC"},
  };
  for (const LayoutCase& c : cases) {
    EXPECT_EQ(format(c.layout, c.width, c.texts), c.expected) << c.what;
  }
}

TEST_F(LineFormatterTest, ThreeTextsPairsTwoTextsOnTheirOwnWidth) {
  const auto formatter = bound<StandardThreeTextsFormatter>();
  ctx.normalLineLen = 10;
  EXPECT_EQ(formatter.getTwoFormattedTexts("ab", "cd", 6), "ab  cd");
  // Not fitting the given width, "a b" is centred on the formatter's width.
  EXPECT_EQ(formatter.getTwoFormattedTexts("abc", "de", 4), "  abc de  ");
}

// Each formatter reads its width from its own source at the moment it formats.
TEST_F(LineFormatterTest, WidthSources) {
  ctx.normalLineLen = 10;
  ctx.smallLineLen = 20;
  ctx.bigLineLen = 30;
  FiscalFormat::getInstance().set(PR_FISCAL_GENERIC, {14, 40});

  struct WidthCase {
    const char* what;
    std::unique_ptr<LineFormatterInterface> formatter;
    uint32_t expected;
  };
  auto standard = [this](auto* f) {
    f->setCtx(&ctx);
    return std::unique_ptr<LineFormatterInterface>(f);
  };
  WidthCase cases[] = {
      {"StandardLeft", standard(new StandardLeftFormatter), 10},
      {"StandardRight", standard(new StandardRightFormatter), 10},
      {"StandardCenter", standard(new StandardCenterFormatter), 10},
      {"StandardEmpty", standard(new StandardEmptyFormatter), 10},
      {"StandardTwoTexts", standard(new StandardTwoTextsFormatter), 10},
      {"StandardThreeTexts", standard(new StandardThreeTextsFormatter), 10},
      {"BigLeft", standard(new BigLeftFormatter), 30},
      {"BigCenter", standard(new BigCenterFormatter), 30},
      {"SmallCenter", standard(new SmallCenterFormatter), 20},
      {"FiscalLeft", std::make_unique<FiscalLeftFormatter>(), 40},
      {"FiscalRight", std::make_unique<FiscalRightFormatter>(), 40},
      {"FiscalCenter", std::make_unique<FiscalCenterFormatter>(), 40},
      {"FiscalEmpty", std::make_unique<FiscalEmptyFormatter>(), 40},
      {"FiscalTwoTexts", std::make_unique<FiscalTwoTextsFormatter>(), 40},
  };
  for (const WidthCase& c : cases) {
    EXPECT_EQ(c.formatter->getLineWidth(), c.expected) << c.what;
  }

  // A changed length counts from the next line on.
  ctx.normalLineLen = 4;
  EXPECT_EQ(cases[0].formatter->getFormattedString({"a"}), "a   ");
}

TEST_F(LineFormatterTest, UnboundFormatterHasWidthZero) {
  EXPECT_EQ(StandardLeftFormatter().getLineWidth(), 0u);
  EXPECT_EQ(SmallCenterFormatter().getFormattedString({"abc"}), "");
  EXPECT_EQ(BigCenterFormatter().getFormattedString({"abc"}), "");
  EXPECT_EQ(StandardThreeTextsFormatter().getFormattedString({"a", "b", "c"}), "");
  EXPECT_EQ(StandardEmptyFormatter().getFormattedString({"abc"}), "abc");
}

// Wider than a line can hold, text would be laid out past the 64 bytes a line
// keeps and lose its right end.
TEST_F(LineFormatterTest, WidthsAboveALineAreCappedAt64) {
  FiscalFormat::getInstance().set(PR_FISCAL_GENERIC, {14, 100});
  EXPECT_EQ(FiscalRightFormatter().getLineWidth(), 64u);
  EXPECT_EQ(FiscalRightFormatter().getFormattedString({"X"}), blanks(63) + "X");
  EXPECT_EQ(FiscalCenterFormatter().getFormattedString({"XY"}), blanks(31) + "XY" + blanks(31));

  ctx.normalLineLen = 200;  // written past the setters' check
  EXPECT_EQ(bound<StandardRightFormatter>().getFormattedString({"X"}), blanks(63) + "X");
}

}  // namespace
}  // namespace zq::app::printouts

#include "printouts/engine/AdvancedLineBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineState.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {
namespace {

std::string blanks(std::size_t n) { return std::string(n, ' '); }

enum class Builder { Broken, Overlap, ThreeEntry };

struct BuildCase {
  const char* what;
  Builder builder;
  RawLineTexts texts;
  unsigned long width;
  std::vector<std::string> expectedLines;
};

AdvancedLineBuilder& builderOf(Builder b) {
  switch (b) {
    case Builder::Broken: return TwoEntryLineBrokenBuilder::get();
    case Builder::Overlap: return TwoEntryLineOverlapBuilder::get();
    case Builder::ThreeEntry: return ThreeEntryLineBuilder::get();
  }
  return TwoEntryLineBrokenBuilder::get();
}

class AdvancedLineBuilderTest : public ::testing::Test {
 protected:
  EngineState state;
};

// One line only with a blank to spare: texts that exactly fill the width go
// on two lines.
TEST_F(AdvancedLineBuilderTest, OneLineWhenTheTextsFitStrictlyElseTwo) {
  const BuildCase cases[] = {
      {"broken, 8 < 10", Builder::Broken, {"abcd", "efgh"}, 10, {"abcd  efgh"}},
      {"broken, 9 < 10", Builder::Broken, {"abcd", "efghi"}, 10, {"abcd efghi"}},
      {"broken, 10 fills the line", Builder::Broken, {"abcde", "fghij"}, 10,
       {"abcde" + blanks(5), "fghij" + blanks(5)}},
      {"broken, longer than the line", Builder::Broken, {"abcdefghijkl", "x"}, 10,
       {"abcdefghij", "x" + blanks(9)}},
      {"overlap, 8 < 10", Builder::Overlap, {"abcd", "efgh"}, 10, {"abcd  efgh"}},
      {"overlap, 10 fills the line", Builder::Overlap, {"abcde", "fghij"}, 10,
       {"abcde" + blanks(5), blanks(5) + "fghij"}},
      {"overlap, second longer than the line keeps its end", Builder::Overlap,
       {"a", "0123456789XY"}, 10, {"a" + blanks(9), "23456789XY"}},
      {"three, 4 < 5 and 2 < 5", Builder::ThreeEntry, {"abcd", "b", "c"}, 10, {"abcd b   c"}},
      {"three, text1 fills the half", Builder::ThreeEntry, {"abcde", "b", "c"}, 10,
       {"abcde" + blanks(5), blanks(5) + "b   c"}},
      {"three, right pair fills the half", Builder::ThreeEntry, {"a", "bbb", "cc"}, 10,
       {"a" + blanks(9), blanks(5) + "bbbcc"}},
      {"three, right pair wider than the half", Builder::ThreeEntry, {"a", "bbbb", "cccc"}, 10,
       {"a" + blanks(9), "bbbb cccc "}},
      {"three, odd width halves down", Builder::ThreeEntry, {"ab", "b", "c"}, 7, {"ab  b c"}},
  };
  for (const BuildCase& c : cases) {
    PrintoutCtx_s ctx;
    ctx.normalLineLen = static_cast<uint32_t>(c.width);
    builderOf(c.builder).buildLine(c.texts, c.width);
    std::vector<std::string> texts;
    for (const pr_Line& line : ctx.lines) texts.emplace_back(line.text);
    EXPECT_EQ(texts, c.expectedLines) << c.what;
    for (std::size_t i = 0; i < ctx.lines.size(); ++i) EXPECT_EQ(ctx.lines[i].id, i) << c.what;
  }
}

// The fit is tested on the width passed, the layout on the bound context.
TEST_F(AdvancedLineBuilderTest, FitTestUsesTheWidthPassed) {
  PrintoutCtx_s ctx;
  ctx.normalLineLen = 12;
  TwoEntryLineBrokenBuilder::get().buildLine({"abcde", "fghij"}, 10);
  ASSERT_EQ(ctx.lines.size(), 2u);
  EXPECT_EQ(std::string(ctx.lines[0].text), "abcde" + blanks(7));
}

TEST_F(AdvancedLineBuilderTest, NothingIsAddedWithoutABoundContext) {
  ThreeEntryLineBuilder::get().buildLine({"abcdef", "b", "c"}, 10);
  PrintoutCtx_s ctx;
  EXPECT_TRUE(ctx.lines.empty());
  // The next call starts from its own texts, whatever the last call left.
  ThreeEntryLineBuilder::get().buildLine({"x", "y", "z"}, 64);
  ASSERT_EQ(ctx.lines.size(), 1u);
  EXPECT_EQ(std::string(ctx.lines[0].text), "x" + blanks(31) + "y" + blanks(30) + "z");
}

}  // namespace
}  // namespace zq::app::printouts

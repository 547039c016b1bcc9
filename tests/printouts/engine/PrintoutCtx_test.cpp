#include "printouts/engine/PrintoutCtx.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "EngineState.h"
#include "printouts/engine/FiscalFormat.h"
#include "printouts/engine/LineAdder.h"

// The closing-day batch belongs to the printout documents; this stand-in only
// counts its destructions.
namespace zq::app::printouts {
class Batch {
 public:
  explicit Batch(int* destroyed) : destroyed_(destroyed) {}
  virtual ~Batch() { ++*destroyed_; }

 private:
  int* destroyed_;
};
}  // namespace zq::app::printouts

namespace {

using zq::app::printouts::RawLineTexts;

std::string blanks(std::size_t n) { return std::string(n, ' '); }

std::string textOf(const pr_Line& line) { return std::string(line.text); }

// Every byte after the text's NUL is zero.
bool zeroFilledAfterText(const pr_Line& line) {
  const std::size_t length = strnlen(line.text, sizeof line.text);
  if (length >= sizeof line.text) return false;
  for (std::size_t i = length; i < sizeof line.text; ++i) {
    if (line.text[i] != 0) return false;
  }
  return true;
}

pr_Line pictureLine(uint32_t id, uint32_t picture) {
  pr_Line line;
  std::memset(&line, 0, sizeof line);
  line.id = id;
  line.lineType = PR_LINE_PICTURE;
  line.pictureType = picture;
  return line;
}

class PrintoutCtxTest : public ::testing::Test {
 protected:
  EngineState state;
};

TEST_F(PrintoutCtxTest, NewContextDefaults) {
  PrintoutCtx_s ctx;
  EXPECT_EQ(ctx.normalLineLen, 64u);
  EXPECT_EQ(ctx.smallLineLen, 64u);
  EXPECT_EQ(ctx.bigLineLen, 64u);
  EXPECT_TRUE(ctx.lines.empty());
  EXPECT_EQ(ctx.nextLine, 0u);
  EXPECT_FALSE(ctx.dcc);
  EXPECT_FALSE(ctx.multilang);
  EXPECT_EQ(ctx.batch, nullptr);
  EXPECT_FALSE(PrintoutCtx_s::hideAddress_);
  EXPECT_FALSE(PrintoutCtx_s::useSignatureVerifiedLine_);
}

using AddLine = void (*)(const RawLineTexts&);

enum class IdKind { Index, Fiscal };

struct AdderCase {
  const char* operation;
  AddLine add;
  std::string expectedText;  // texts "ab", "cd", "ef"; widths below
  uint32_t fontSize;
  uint32_t negative;
  uint32_t bold;
  IdKind idKind;
};

// Fiscal lines are numbered after this fiscal line id (printer line 31).
const pr_FiscalFormatId kFmt = PR_FISCAL_AMOUNT;

// All twenty operations: layout and width source (normal 10, small 12, big 14,
// fiscal 16), style and id.
const AdderCase kAdders[] = {
    {"addFiscalSimpleLeftLineToCtx",
     [](const RawLineTexts& t) { PrintoutCtx_s::addFiscalSimpleLeftLineToCtx(t, kFmt); },
     "ab" + blanks(14), 0, 0, 0, IdKind::Fiscal},
    {"addFiscalSimpleRightLineToCtx",
     [](const RawLineTexts& t) { PrintoutCtx_s::addFiscalSimpleRightLineToCtx(t, kFmt); },
     blanks(14) + "ab", 0, 0, 0, IdKind::Fiscal},
    {"addFiscalSimpleCenterLineToCtx",
     [](const RawLineTexts& t) { PrintoutCtx_s::addFiscalSimpleCenterLineToCtx(t, kFmt); },
     blanks(7) + "ab" + blanks(7), 0, 0, 0, IdKind::Fiscal},
    {"addFiscalSimpleTwoTextsLineToCtx",
     [](const RawLineTexts& t) { PrintoutCtx_s::addFiscalSimpleTwoTextsLineToCtx(t, kFmt); },
     "ab\x1E" "cd", 0, 0, 0, IdKind::Fiscal},
    {"addFiscalSimpleUnformattedLineToCtx",
     [](const RawLineTexts& t) { PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(t, kFmt); },
     "ab", 0, 0, 0, IdKind::Fiscal},
    {"addStandardSimpleLeftLineToCtx", &PrintoutCtx_s::addStandardSimpleLeftLineToCtx,
     "ab" + blanks(8), 0, 0, 0, IdKind::Index},
    {"addStandardBigLeftLineToCtx", &PrintoutCtx_s::addStandardBigLeftLineToCtx,
     "ab" + blanks(12), 2, 0, 0, IdKind::Index},
    {"addStandardBoldLeftLineToCtx", &PrintoutCtx_s::addStandardBoldLeftLineToCtx,
     "ab" + blanks(8), 0, 0, 1, IdKind::Index},
    {"addStandardSimpleRightLineToCtx", &PrintoutCtx_s::addStandardSimpleRightLineToCtx,
     blanks(8) + "ab", 0, 0, 0, IdKind::Index},
    {"addStandardBigBoldCenterLineToCtx", &PrintoutCtx_s::addStandardBigBoldCenterLineToCtx,
     blanks(6) + "ab" + blanks(6), 2, 0, 1, IdKind::Index},
    {"addStandardBigCenterLineToCtx", &PrintoutCtx_s::addStandardBigCenterLineToCtx,
     blanks(6) + "ab" + blanks(6), 2, 0, 0, IdKind::Index},
    {"addStandardBoldCenterLineToCtx", &PrintoutCtx_s::addStandardBoldCenterLineToCtx,
     blanks(4) + "ab" + blanks(4), 0, 0, 1, IdKind::Index},
    {"addStandardNegativeBigBoldCenterLineToCtx",
     &PrintoutCtx_s::addStandardNegativeBigBoldCenterLineToCtx, blanks(6) + "ab" + blanks(6), 2, 1,
     1, IdKind::Index},
    {"addStandardNegativeCenterLineToCtx", &PrintoutCtx_s::addStandardNegativeCenterLineToCtx,
     blanks(4) + "ab" + blanks(4), 0, 1, 0, IdKind::Index},
    {"addStandardSimpleCenterLineToCtx", &PrintoutCtx_s::addStandardSimpleCenterLineToCtx,
     blanks(4) + "ab" + blanks(4), 0, 0, 0, IdKind::Index},
    {"addStandardSmallCenterLineToCtx", &PrintoutCtx_s::addStandardSmallCenterLineToCtx,
     blanks(5) + "ab" + blanks(5), 1, 0, 0, IdKind::Index},
    {"addStandardBoldTwoTextsLineToCtx", &PrintoutCtx_s::addStandardBoldTwoTextsLineToCtx,
     "ab" + blanks(6) + "cd", 0, 0, 1, IdKind::Index},
    {"addStandardSimpleTwoTextsLineToCtx", &PrintoutCtx_s::addStandardSimpleTwoTextsLineToCtx,
     "ab" + blanks(6) + "cd", 0, 0, 0, IdKind::Index},
    {"addStandardSimpleThreeTextsLineToCtx",
     &PrintoutCtx_s::addStandardSimpleThreeTextsLineToCtx, "ab   cd ef", 0, 0, 0, IdKind::Index},
    {"addStandardSimpleUnformattedLineToCtx",
     &PrintoutCtx_s::addStandardSimpleUnformattedLineToCtx, "ab", 0, 0, 0, IdKind::Index},
};

TEST_F(PrintoutCtxTest, EachOperationHasItsLayoutWidthStyleAndId) {
  zq::app::printouts::FiscalFormat::getInstance().set(PR_FISCAL_GENERIC, {14, 16});
  for (const AdderCase& c : kAdders) {
    PrintoutCtx_s ctx;
    ctx.normalLineLen = 10;
    ctx.smallLineLen = 12;
    ctx.bigLineLen = 14;
    // Two lines already there: a standard line's id is its index, 2.
    ctx.add(pictureLine(0, PR_PICTURE_HEADER_LOGO));
    ctx.add(pictureLine(1, PR_PICTURE_HEADER_LOGO));

    c.add(RawLineTexts("ab", "cd", "ef"));

    ASSERT_EQ(ctx.lines.size(), 3u) << c.operation;
    const pr_Line& line = ctx.lines.back();
    EXPECT_EQ(textOf(line), c.expectedText) << c.operation;
    EXPECT_TRUE(zeroFilledAfterText(line)) << c.operation;
    EXPECT_EQ(line.id, c.idKind == IdKind::Index ? 2u : 31u) << c.operation;
    EXPECT_EQ(line.fontSize, c.fontSize) << c.operation;
    EXPECT_EQ(line.negative, c.negative) << c.operation;
    EXPECT_EQ(line.bold, c.bold) << c.operation;
    EXPECT_EQ(line.lineType, static_cast<uint32_t>(PR_LINE_TEXT)) << c.operation;
    EXPECT_EQ(line.pictureType, 0u) << c.operation;
  }
}

TEST_F(PrintoutCtxTest, StandardIdsAreIndexesAndCountPictureLines) {
  PrintoutCtx_s ctx;
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx({"a"});
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx({"b"});
  ctx.add(pictureLine(2, PR_PICTURE_FOOTER_LOGO));
  PrintoutCtx_s::addStandardBoldCenterLineToCtx({"c"});
  ASSERT_EQ(ctx.lines.size(), 4u);
  for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(ctx.lines[i].id, i);
  EXPECT_EQ(ctx.lines[2].lineType, static_cast<uint32_t>(PR_LINE_PICTURE));
}

TEST_F(PrintoutCtxTest, FiscalIdsFollowTheTableAndItsDccSwitch) {
  PrintoutCtx_s ctx;
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx({"  x  "}, PR_FISCAL_GENERIC);
  zq::app::printouts::FiscalFormat::getInstance().setDcc(true);
  PrintoutCtx_s::addFiscalSimpleLeftLineToCtx({"y"}, PR_FISCAL_RECEIPT_NUMBER);
  PrintoutCtx_s::addFiscalSimpleLeftLineToCtx({"z"}, static_cast<pr_FiscalFormatId>(500));
  ASSERT_EQ(ctx.lines.size(), 3u);
  EXPECT_EQ(ctx.lines[0].id, 14u);
  EXPECT_EQ(textOf(ctx.lines[0]), "  x  ");
  // Laid out on the generic width whichever id numbers the line.
  EXPECT_EQ(ctx.lines[1].id, 76u);
  EXPECT_EQ(textOf(ctx.lines[1]), "y" + blanks(30));
  EXPECT_EQ(ctx.lines[2].id, 0u);
}

TEST_F(PrintoutCtxTest, TextIsCutTo64BytesAndZeroFilled) {
  PrintoutCtx_s ctx;
  const std::string sixtyFour(64, 'x');
  PrintoutCtx_s::addStandardSimpleUnformattedLineToCtx({sixtyFour});
  PrintoutCtx_s::addStandardSimpleUnformattedLineToCtx({sixtyFour + "YZ"});
  PrintoutCtx_s::addFiscalSimpleTwoTextsLineToCtx({sixtyFour, "tail"}, PR_FISCAL_GENERIC);
  PrintoutCtx_s::addStandardSimpleUnformattedLineToCtx({"short"});
  // A NUL inside a value ends the text: nothing after it may reach the host.
  PrintoutCtx_s::addStandardSimpleUnformattedLineToCtx({std::string("ab\0cd", 5)});
  ASSERT_EQ(ctx.lines.size(), 5u);
  EXPECT_EQ(textOf(ctx.lines[0]), sixtyFour);
  EXPECT_EQ(textOf(ctx.lines[1]), sixtyFour);
  EXPECT_EQ(textOf(ctx.lines[2]), sixtyFour);
  EXPECT_EQ(textOf(ctx.lines[3]), "short");
  EXPECT_EQ(textOf(ctx.lines[4]), "ab");
  for (const pr_Line& line : ctx.lines) EXPECT_TRUE(zeroFilledAfterText(line));
}

TEST_F(PrintoutCtxTest, LengthZeroGivesEmptyAlignedLinesThatAreStillAdded) {
  PrintoutCtx_s ctx;
  ctx.normalLineLen = 0;
  ctx.smallLineLen = 0;
  ctx.bigLineLen = 0;
  for (const AdderCase& c : kAdders) {
    if (c.idKind == IdKind::Fiscal || c.add == &PrintoutCtx_s::addStandardSimpleUnformattedLineToCtx) {
      continue;
    }
    const std::size_t before = ctx.lines.size();
    c.add(RawLineTexts("ab", "cd", "ef"));
    ASSERT_EQ(ctx.lines.size(), before + 1) << c.operation;
    EXPECT_EQ(textOf(ctx.lines.back()), "") << c.operation;
  }
}

TEST_F(PrintoutCtxTest, LinesAfterTheOnlyContextIsGoneAreDropped) {
  auto ctx = std::make_unique<PrintoutCtx_s>();
  ctx.reset();
  for (const auto* adder : zq::app::printouts::allLineAdders()) EXPECT_EQ(adder->getCtx(), nullptr);
  // Under the sanitizer a write into the destroyed context would be caught.
  for (const AdderCase& c : kAdders) c.add(RawLineTexts("ab", "cd", "ef"));
  PrintoutCtx_s next;
  EXPECT_TRUE(next.lines.empty());
}

TEST_F(PrintoutCtxTest, NewestContextReceivesLinesUntilItIsDestroyed) {
  PrintoutCtx_s older;
  auto newer = std::make_unique<PrintoutCtx_s>();
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx({"n"});
  EXPECT_TRUE(older.lines.empty());
  EXPECT_EQ(newer->lines.size(), 1u);

  newer.reset();  // the older one is not rebound by itself
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx({"dropped"});
  EXPECT_TRUE(older.lines.empty());
}

TEST_F(PrintoutCtxTest, DestroyingAnUnboundContextKeepsTheBinding) {
  auto older = std::make_unique<PrintoutCtx_s>();
  PrintoutCtx_s newer;
  older.reset();
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx({"a"});
  PrintoutCtx_s::addFiscalSimpleLeftLineToCtx({"b"}, PR_FISCAL_GENERIC);
  EXPECT_EQ(newer.lines.size(), 2u);
}

// A printout built on an older context binds it for its own lines: they go
// there, on its widths, and destroying another context does not drop them.
TEST_F(PrintoutCtxTest, BindingAnOlderContextSendsLinesThereOnItsWidths) {
  PrintoutCtx_s older;
  older.normalLineLen = 6;
  older.bigLineLen = 8;
  auto newer = std::make_unique<PrintoutCtx_s>();
  newer->normalLineLen = 20;

  PrintoutCtx_s::bindLineAdders(&older);
  PrintoutCtx_s::addStandardSimpleRightLineToCtx({"ab"});
  newer.reset();
  PrintoutCtx_s::addStandardBigCenterLineToCtx({"ab"});
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx({"f"}, PR_FISCAL_GENERIC);

  ASSERT_EQ(older.lines.size(), 3u);
  EXPECT_EQ(textOf(older.lines[0]), "    ab");
  EXPECT_EQ(textOf(older.lines[1]), "   ab   ");
  EXPECT_EQ(older.lines[1].id, 1u);
  EXPECT_EQ(older.lines[2].id, 14u);
}

TEST_F(PrintoutCtxTest, DestroyingAContextReleasesItsBatch) {
  int destroyed = 0;
  {
    PrintoutCtx_s ctx;
    ctx.batch.reset(new zq::app::printouts::Batch(&destroyed));
  }
  EXPECT_EQ(destroyed, 1);
}

}  // namespace

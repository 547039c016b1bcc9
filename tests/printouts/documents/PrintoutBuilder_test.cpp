// The frame every printout shares, on a small builder of its own: header and
// footer in both layouts, the date and time part, the address switch, the
// refusal of missing contexts, and the cardset lines.
#include "printouts/documents/PrintoutBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printouts/documents/AdditionalCardsetLineInterface.h"
#include "printouts/documents/DocumentsFixture.h"
#include "printouts/documents/GoldenLines.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using zq::test::GoldenLine;
using zq::test::apartIn;
using zq::test::journal;
using zq::test::leftIn;

// A printout of the frame and one empty line as its body.
template <typename Layout, typename EmptyLine>
class FrameBuilder : public Layout, public EmptyLine {
 public:
  bool multilang = false;

  uint32_t build(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
    const uint32_t status = this->preparePrintout(ctx, ecr);
    if (status != PRINTOUT_OK) return status;
    this->addEmptyLine();
    this->date = "08.12.2026";
    this->time = "14:05:09";
    this->finishPrintout();
    return PRINTOUT_OK;
  }

  void prepareBasicPrintoutInformation() override {
    this->ctx->dcc = false;
    this->ctx->multilang = multilang;
  }
  void prepareTidAndMidPart() override {
    PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(this->tid + " " + this->mid));
  }
  void handleAdditionalFooterPart() const override {
    PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(std::string("FOOTER")));
  }
  const char* getPrintoutName() const override { return "frame"; }
};

using StandardFrame = FrameBuilder<PrintoutBuilderWithLogos, StandardEmptyLine>;
using FiscalFrame = FrameBuilder<PrintoutBuilderWithoutLogos, FiscalEmptyLine>;

class PrintoutBuilderTest : public zq::test::DocumentsTest {
 protected:
  void SetUp() override {
    DocumentsTest::SetUp();
    setText(TAG_TID, "T4567890");
    setText(TAG_MID, "M123");
    setText(TAG_TERMINAL_ADDRESS_1, "Shop 7");
    setText(TAG_TERMINAL_ADDRESS_2, "Long St 1");
    setText(TAG_TERMINAL_ADDRESS_3, "00-950 City");
    journal().clear();
  }
};

TEST_F(PrintoutBuilderTest, StandardFrameFromHeaderLogoToFooterLogo) {
  printout.normalLineLen = 40;
  printout.lines.push_back(pr_Line{});  // an earlier printout's line
  printout.nextLine = 1;
  StandardFrame builder;
  ASSERT_EQ(builder.build(&printout, ecr), PRINTOUT_OK);
  zq::test::expectLines(printout.lines,
                        {
                            zq::test::pictureLine(0, PR_PICTURE_HEADER_LOGO),
                            GoldenLine{leftIn("Shop 7", 40), 1},
                            GoldenLine{leftIn("Long St 1", 40), 2},
                            GoldenLine{leftIn("00-950 City", 40), 3},
                            GoldenLine{leftIn("T4567890 M123", 40), 4},
                            GoldenLine{leftIn("", 40), 5},
                            GoldenLine{apartIn("DATA: 08.12.2026", "GODZINA: 14:05:09", 40), 6},
                            GoldenLine{leftIn("FOOTER", 40), 7},
                            zq::test::pictureLine(8, PR_PICTURE_FOOTER_LOGO),
                        });
  EXPECT_EQ(printout.nextLine, 0u);
  EXPECT_EQ(busCount("Generate frame printout"), 1u);
  EXPECT_EQ(busCount("Printout generation succeded, 9 lines available"), 1u);
}

TEST_F(PrintoutBuilderTest, FiscalFrameHasNoPicturesAndNumbersItsFiscalLines) {
  printout.normalLineLen = 40;
  FiscalFrame builder;
  ASSERT_EQ(builder.build(&printout, ecr), PRINTOUT_OK);
  // Address, empty line, date and time are fiscal lines (fiscal width 31,
  // line number 14); the builder's own standard lines keep their indexes.
  zq::test::expectLines(printout.lines, {
                                            GoldenLine{leftIn("Shop 7", 31), 14},
                                            GoldenLine{leftIn("Long St 1", 31), 14},
                                            GoldenLine{leftIn("00-950 City", 31), 14},
                                            GoldenLine{leftIn("T4567890 M123", 40), 3},
                                            GoldenLine{"", 14},
                                            GoldenLine{"DATA: 08.12.2026", 14},
                                            GoldenLine{"GODZINA: 14:05:09", 14},
                                            GoldenLine{leftIn("FOOTER", 40), 7},
                                        });
}

TEST_F(PrintoutBuilderTest, DateAndTimeShareALineOnlyWithABlankToSpare) {
  const struct {
    uint32_t width;
    bool multilang;
    std::vector<std::string> lines;  // between the empty line and the footer, trailing blanks cut
  } cases[] = {
      {34, false, {"DATA: 08.12.2026 GODZINA: 14:05:09"}},
      {33, false, {"DATA: 08.12.2026", "GODZINA: 14:05:09"}},
      {40, true, {"DATA: 08.12.2026       GODZINA: 14:05:09", "DATE: 08.12.2026          HOUR: 14:05:09"}},
      {30, true, {"DATA: 08.12.2026", "GODZINA: 14:05:09", "DATE: 08.12.2026", "HOUR: 14:05:09"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    printout.normalLineLen = c.width;
    StandardFrame builder;
    builder.multilang = c.multilang;
    ASSERT_EQ(builder.build(&printout, ecr), PRINTOUT_OK);
    const std::vector<std::string> texts = trimmedTexts();
    ASSERT_EQ(texts.size(), 8 + c.lines.size());
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 6, texts.end() - 2), c.lines);
    for (const pr_Line& line : printout.lines) {
      if (line.lineType == PR_LINE_TEXT) {
        EXPECT_EQ(std::string(line.text).size(), c.width);
      }
    }
  }
}

TEST_F(PrintoutBuilderTest, HiddenAddressLeavesTheIdsInPlace) {
  PrintoutCtx_s::hideAddress_ = true;
  StandardFrame standard;
  ASSERT_EQ(standard.build(&printout, ecr), PRINTOUT_OK);
  EXPECT_EQ(trimmedTexts(), (std::vector<std::string>{"", "T4567890 M123", "",
                                                      "DATA: 08.12.2026" + std::string(31, ' ') +
                                                          "GODZINA: 14:05:09",
                                                      "FOOTER", ""}));
  FiscalFrame fiscal;
  ASSERT_EQ(fiscal.build(&printout, ecr), PRINTOUT_OK);
  EXPECT_EQ(trimmedTexts().at(0), "T4567890 M123");
}

TEST_F(PrintoutBuilderTest, AMissingContextAnswersOneAndKeepsThePreviousPrintout) {
  StandardFrame builder;
  ASSERT_EQ(builder.build(&printout, ecr), PRINTOUT_OK);
  const std::vector<std::string> before = texts();
  printout.nextLine = 3;
  journal().clear();
  EXPECT_EQ(builder.build(&printout, nullptr), PRINTOUT_NULL_CTX);
  EXPECT_EQ(builder.build(nullptr, ecr), PRINTOUT_NULL_CTX);
  EXPECT_EQ(texts(), before);
  EXPECT_EQ(printout.nextLine, 3u);
  EXPECT_EQ(busCount("NULL CTX argument provided"), 2u);
  EXPECT_EQ(busCount("Generate frame printout"), 0u);
}

TEST_F(PrintoutBuilderTest, APrintoutOnAnOlderContextGetsItsLinesOnItsWidths) {
  printout.normalLineLen = 20;
  PrintoutCtx_s newer;  // the adders now follow this one
  newer.normalLineLen = 50;
  StandardFrame builder;
  ASSERT_EQ(builder.build(&printout, ecr), PRINTOUT_OK);
  EXPECT_TRUE(newer.lines.empty());
  ASSERT_EQ(printout.lines.size(), 10u);
  EXPECT_EQ(std::string(printout.lines[1].text), leftIn("Shop 7", 20));
  ASSERT_EQ(builder.build(&newer, ecr), PRINTOUT_OK);
  EXPECT_EQ(std::string(newer.lines[1].text), leftIn("Shop 7", 50));
}

TEST_F(PrintoutBuilderTest, CardsetValuesPresentPrintInTagOrder) {
  printout.normalLineLen = 20;
  setText(TAG_ADDITIONAL_CARDSET_VALUE_4, "Fourth");
  setText(TAG_ADDITIONAL_CARDSET_VALUE_1, "First");
  setText(TAG_ADDITIONAL_CARDSET_VALUE_3, std::string(129, 'x'));  // more than the room
  set(TAG_ADDITIONAL_CARDSET_VALUE_5, {'F', 'i', 'f', 0, 't', 'h'});  // bytes as they are
  StandardCardsetLine(ecr).handleCardsetLines();
  FiscalCardsetLine(ecr).handleCardsetLines();
  zq::test::expectLines(printout.lines, {
                                            GoldenLine{leftIn("First", 20), 0},
                                            GoldenLine{leftIn("Fourth", 20), 1},
                                            GoldenLine{"Fif", 2},
                                            GoldenLine{leftIn("First", 31), 14},
                                            GoldenLine{leftIn("Fourth", 31), 14},
                                            GoldenLine{"Fif", 14},
                                        });
  // An absent value is not worth a line in the log either.
  EXPECT_EQ(busCount("Unable to get tag 0x0000DF07, status 0x05"), 0u);
}

}  // namespace

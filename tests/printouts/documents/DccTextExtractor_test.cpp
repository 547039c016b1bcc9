// The two DCC texts: text 1 word-wrapped and left-aligned ("?" when
// missing), text 2 split into lines at its backslashes, each piece
// word-wrapped and centred after an empty line; in standard and fiscal form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printouts/documents/DccText1Extractor.h"
#include "printouts/documents/DccText2Extractor.h"
#include "printouts/documents/DocumentsFixture.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using Strings = std::vector<std::string>;
using DccTextTest = zq::test::DocumentsTest;

TEST_F(DccTextTest, TextTwoBreaksAtEveryBackslashAndDropsTheCharacterAfterIt) {
  const struct {
    const char* name;
    const char* text;  // nullptr: absent
    unsigned width;
    Strings lines;     // without the blanks of the layout
  } cases[] = {
      {"one break", "I accept\\nthe rate", 64, {"", "I accept", "the rate"}},
      {"no backslash", "I accept the rate", 64, {"", "I accept the rate"}},
      {"wrapped pieces", "I accept the offered rate\\nand fee", 12,
       {"", "I accept the", "offered rate", "and fee"}},
      {"ends with a backslash and a letter", "I accept\\n", 64, {"", "I accept", ""}},
      {"ends with a lone backslash", "I accept\\", 64, {"", "I accept"}},
      {"begins with a backslash and a letter", "\\nI accept", 64, {"", "", "I accept"}},
      // Two backslashes in a row: the empty piece between them has no
      // character to drop and stays an empty line.
      {"two backslashes in a row", "I accept\\\\nthe rate", 64, {"", "I accept", "", "the rate"}},
      {"only backslashes", "\\\\", 64, {"", "", ""}},
      {"absent: nothing at all", nullptr, 64, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    clearLines();
    if (c.text) setText(TAG_DCC_TEXT_2, c.text);
    DccText2Extractor().addTextToPrintout(ecr, c.width);
    EXPECT_EQ(strippedTexts(), c.lines);
  }
  // Centred on the normal width, after a left-aligned empty line.
  clearLines();
  setText(TAG_DCC_TEXT_2, "I accept\\nthe rate");
  DccText2Extractor().addTextToPrintout(ecr, 64);
  EXPECT_EQ(texts(), (Strings{std::string(64, ' '), std::string(27, ' ') + "I accept " + std::string(28, ' '),
                              std::string(27, ' ') + "the rate " + std::string(28, ' ')}));
}

TEST_F(DccTextTest, TextOneIsWrappedLeftOrUnknown) {
  DccText1Extractor().addTextToPrintout(ecr, 64);
  EXPECT_EQ(trimmedTexts(), Strings{"?"});
  EXPECT_TRUE(busLogged("Unable to get tag 0x009FD409, status 0x05"));

  clearLines();
  setText(TAG_DCC_TEXT_1, "Transaction currency chosen by the cardholder");
  DccText1Extractor().addTextToPrintout(ecr, 20);
  EXPECT_EQ(trimmedTexts(), (Strings{"Transaction currency", "chosen by the", "cardholder"}));
}

TEST_F(DccTextTest, FiscalTextsUseTheFiscalWidthAndGenericLine) {
  setText(TAG_DCC_TEXT_1, "Transaction currency chosen by the cardholder");
  setText(TAG_DCC_TEXT_2, "I accept\\nthe rate");
  FiscalDccText1Extractor().addTextToPrintout(ecr);
  FiscalDccText2Extractor().addTextToPrintout(ecr);
  EXPECT_EQ(texts(), (Strings{"Transaction currency chosen by ", "the cardholder                 ", "",
                              "           I accept            ", "           the rate            "}));
  EXPECT_EQ(ids(), std::vector<uint32_t>(5, 14));
}

}  // namespace

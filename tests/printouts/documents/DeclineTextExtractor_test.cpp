// The decline block: the reason (server message, connection problem or
// none), word-wrapped, then the decline phrase, whose style depends on
// whether a reason stood above it; standard, bilingual and fiscal.
#include "printouts/documents/DeclineTextExtractor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printouts/documents/DocumentsFixture.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using Strings = std::vector<std::string>;
using DeclineTest = zq::test::DocumentsTest;

// The text of a line without its layout blanks, and its style.
struct Line {
  std::string text;
  uint32_t fontSize;
  uint32_t negative;
  uint32_t bold;
  bool operator==(const Line& o) const {
    return text == o.text && fontSize == o.fontSize && negative == o.negative && bold == o.bold;
  }
};

std::ostream& operator<<(std::ostream& os, const Line& l) {
  return os << "{'" << l.text << "' font " << l.fontSize << " neg " << l.negative << " bold " << l.bold << "}";
}

const std::string kDecline = "ODMOWA";
const std::string kConnectionProblem = "B\xA3\xA5" "D PO\xA3\xA5" "CZENIA";
Line headline(const std::string& t) { return {t, PR_FONT_BIG, 1, 1}; }
Line bold(const std::string& t) { return {t, PR_FONT_NORMAL, 0, 1}; }

TEST_F(DeclineTest, StandardBlockStatesTheReasonThenTheDecline) {
  const struct {
    const char* name;
    bool multilang;
    const char* message;  // TAG_SERVER_ERROR_MESSAGE; nullptr: absent
    const char* result;   // transaction result; nullptr: absent
    unsigned bigWidth;
    std::vector<Line> lines;
  } cases[] = {
      {"server message", false, "KARTA ZASTRZEZONA", "1", 64,
       {headline("KARTA ZASTRZEZONA"), bold(kDecline)}},
      {"connection problem", false, nullptr, "2", 64, {headline(kConnectionProblem), bold(kDecline)}},
      {"no reason", false, nullptr, "1", 64, {headline(kDecline)}},
      {"no reason, result unreadable", false, nullptr, nullptr, 64, {headline(kDecline)}},
      {"long message wraps on the big width", false, "TRANSAKCJA ODRZUCONA PRZEZ WYSTAWCE KARTY", "1", 16,
       {headline("TRANSAKCJA"), headline("ODRZUCONA PRZEZ"), headline("WYSTAWCE KARTY"), bold(kDecline)}},
      // A word longer than the width is not split: it stands alone and the
      // centre rule shows its middle.
      {"a word longer than the width", false, "NIEAUTORYZOWANA TRANSAKCJA", "1", 8,
       {headline(""), headline("UTORYZOW"), headline("RANSAKCJ"), bold(kDecline)}},
      {"bilingual, no reason", true, nullptr, "1", 64, {headline(kDecline), headline("DECLINE")}},
      {"bilingual with reason", true, "KARTA ZASTRZEZONA", "1", 64,
       {headline("KARTA ZASTRZEZONA"), bold(kDecline), bold("DECLINE")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    clearLines();
    printout.bigLineLen = c.bigWidth;
    if (c.message) setText(TAG_SERVER_ERROR_MESSAGE, c.message);
    if (c.result) setText(TAG_TRANSACTION_RETURN_CODE, c.result);
    if (c.multilang) {
      MultilangDeclineTextExtractor().addTextToPrintout(ecr, c.bigWidth);
    } else {
      StandardDeclineTextExtractor().addTextToPrintout(ecr, c.bigWidth);
    }
    std::vector<Line> lines;
    const Strings stripped = strippedTexts();
    for (size_t i = 0; i < printout.lines.size(); ++i) {
      const pr_Line& l = printout.lines[i];
      lines.push_back({stripped[i], l.fontSize, l.negative, l.bold});
    }
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(busLogged("Unable to get tag 0x009FD402, status 0x05"), c.message == nullptr);
    EXPECT_EQ(busLogged("Unable to get transaction status"), c.message == nullptr && c.result == nullptr);
  }
}

TEST_F(DeclineTest, DccReceiptReadsTheEnglishPhrases) {
  setText(TAG_TRANSACTION_RETURN_CODE, "2");
  PrintDictionary::getInstance().setDcc(true);
  StandardDeclineTextExtractor().addTextToPrintout(ecr, 64);
  EXPECT_EQ(strippedTexts(), (Strings{"CONNECTION PROBLEM", "DECLINE"}));
}

TEST_F(DeclineTest, FiscalBlockEndsWithTheDeclineMarkerOrTheEnglishPhrase) {
  const struct {
    const char* name;
    bool dcc;
    const char* message;
    Strings lines;
    std::vector<uint32_t> ids;
  } cases[] = {
      {"DCC: English decline left-aligned", true, "KARTA ZASTRZEZONA",
       {"      KARTA ZASTRZEZONA", "DECLINE"}, {14, 14}},
      {"no DCC: the printer's decline marker", false, "KARTA ZASTRZEZONA",
       {"      KARTA ZASTRZEZONA", ""}, {14, 54}},
      {"no reason", false, nullptr, {""}, {54}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    clearLines();
    setText(TAG_TRANSACTION_RETURN_CODE, "1");
    if (c.message) setText(TAG_SERVER_ERROR_MESSAGE, c.message);
    FiscalDeclineTextExtractor().addTextToPrintout(ecr, c.dcc);
    EXPECT_EQ(trimmedTexts(), c.lines);
    EXPECT_EQ(ids(), c.ids);
  }
}

}  // namespace

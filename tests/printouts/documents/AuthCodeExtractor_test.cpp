// The authorisation evidence of a receipt: the authorisation code with its
// type and the voice line, and the cryptogram or the BLIK reference, with
// the fiscal printer line numbers of each.
#include "printouts/documents/AuthCodeExtractor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "printouts/documents/AcExtractor.h"
#include "printouts/documents/DocumentsFixture.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using zq::test::Bytes;
using Strings = std::vector<std::string>;
using Ids = std::vector<uint32_t>;
using AuthEvidenceTest = zq::test::DocumentsTest;

enum class Leaf { Standard, Multilang, Fiscal };

std::unique_ptr<AuthCodeExtractor> authCodeExtractor(Leaf leaf) {
  switch (leaf) {
    case Leaf::Standard: return std::make_unique<StandardAuthCodeExtractor>();
    case Leaf::Multilang: return std::make_unique<MultilangAuthCodeExtractor>();
    default: return std::make_unique<FiscalAuthCodeExtractor>();
  }
}

TEST_F(AuthEvidenceTest, AuthorisationCodeCarriesItsTypeAndTheVoiceLine) {
  const std::string voice = "AUTORYZACJA G\xA3OSOWA";
  const struct {
    const char* name;
    Leaf leaf;
    const char* type;  // nullptr: absent
    const char* code;  // nullptr: absent
    Strings lines;     // without the blanks of the layout
    Ids ids;           // checked for the fiscal leaf
  } cases[] = {
      {"voice authorisation", Leaf::Standard, "4", "123456",
       {voice, "KOD AUTORYZACYJNY: (4) 123456"}, {}},
      {"type 1", Leaf::Standard, "1", "123456", {"KOD AUTORYZACYJNY: (1) 123456"}, {}},
      {"no type", Leaf::Standard, nullptr, "123456", {"KOD AUTORYZACYJNY: (?) 123456"}, {}},
      {"no code: no line, no voice line", Leaf::Standard, "4", nullptr, {}, {}},
      {"bilingual", Leaf::Multilang, "3", "A1B2",
       {"KOD AUTORYZACYJNY: (3) A1B2", "AUTH. CODE: (3) A1B2"}, {}},
      {"bilingual voice", Leaf::Multilang, "4", "A1B2",
       {voice, "VOICE AUTHORIZATION", "KOD AUTORYZACYJNY: (4) A1B2", "AUTH. CODE: (4) A1B2"}, {}},
      {"fiscal", Leaf::Fiscal, "3", "123456", {"(3) 123456"}, {17}},
      {"fiscal voice", Leaf::Fiscal, "4", "123456", {voice, "(4) 123456"}, {14, 17}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    clearLines();
    if (c.type) setText(TAG_AUTHORIZATION_TYPE, c.type);
    if (c.code) setText(TAG_AUTHORIZATION_CODE, c.code);
    authCodeExtractor(c.leaf)->addTextToPrintout(ecr);
    EXPECT_EQ(strippedTexts(), c.lines);
    if (c.leaf == Leaf::Fiscal) {
      EXPECT_EQ(ids(), c.ids);
    }
  }
  // The voice line is centred, the code line left-aligned.
  clearLines();
  setText(TAG_AUTHORIZATION_TYPE, "4");
  setText(TAG_AUTHORIZATION_CODE, "123456");
  StandardAuthCodeExtractor().addTextToPrintout(ecr);
  ASSERT_EQ(texts().size(), 2u);
  EXPECT_EQ(texts()[0], std::string(22, ' ') + voice + std::string(23, ' '));
  EXPECT_EQ(texts()[1].substr(0, 9), "KOD AUTOR");
}

TEST_F(AuthEvidenceTest, AuthorisationTypeNameForTheAnalysis) {
  StandardAuthCodeExtractor extractor;
  EXPECT_EQ(extractor.getAuthTypeName(ecr), "?");
  setText(TAG_AUTHORIZATION_TYPE, "3");
  EXPECT_EQ(extractor.getAuthTypeName(ecr), "3");
  setPhrase(PR_DICT_AUTH_TYPE_2, "ONLINE");
  EXPECT_EQ(extractor.getAuthTypeName(ecr), "ONLINE");
  // Without a context nothing is printed and the failed read is logged.
  extractor.addTextToPrintout(nullptr);
  EXPECT_TRUE(texts().empty());
  EXPECT_TRUE(busLogged("Unable to get authorization type, status 0x06"));
}

TEST_F(AuthEvidenceTest, CryptogramLineFollowsItsTypeOrTheBlikReference) {
  const Bytes cryptogram = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  const struct {
    const char* name;
    bool fiscal;
    bool blik;
    Bytes ac;            // empty: absent
    int type;            // TAG_EMV_CRYPTOGRAM_TYPE byte; -1: absent
    const char* refCode;  // nullptr: absent
    Strings lines;
    Ids ids;  // checked for the fiscal leaf
    const char* log;  // nullptr: none to check
  } cases[] = {
      {"TC", false, false, cryptogram, 0x40, nullptr, {"TC: 0123456789ABCDEF"}, {}, nullptr},
      {"AAC", false, false, cryptogram, 0x00, nullptr, {"AAC: 0123456789ABCDEF"}, {}, nullptr},
      {"ARQC", false, false, cryptogram, 0x80, nullptr, {"ARQC: 0123456789ABCDEF"}, {}, nullptr},
      {"fiscal TC", true, false, cryptogram, 0x40, nullptr, {"0123456789ABCDEF"}, {37}, nullptr},
      {"fiscal AAC", true, false, cryptogram, 0x00, nullptr, {"0123456789ABCDEF"}, {38}, nullptr},
      {"fiscal ARQC", true, false, cryptogram, 0x80, nullptr, {"0123456789ABCDEF"}, {41}, nullptr},
      {"no type tag", false, false, cryptogram, -1, nullptr, {}, {},
       "Error occurred on cryptogram extraction, cryptogram status: 0x00, cryptogram type status 0x00"},
      {"cryptogram of nine bytes", false, false, Bytes(9, 0x11), 0x40, nullptr, {}, {},
       "Error occurred on cryptogram extraction, cryptogram status: 0x01, cryptogram type status 0x00"},
      {"no cryptogram", false, false, {}, 0x40, nullptr, {}, {},
       "Error occurred on cryptogram extraction, cryptogram status: 0x05, cryptogram type status 0x00"},
      {"BLIK with reference", false, true, cryptogram, 0x40, "REF123",
       {"Kod referencyjny: REF123", "Operator: Talvoren"}, {},
       "BLIK transaction, print reference code REF123 instead of cryptogram"},
      {"BLIK without reference", false, true, cryptogram, 0x40, nullptr, {"Operator: Talvoren"}, {},
       nullptr},
      {"fiscal BLIK", true, true, {}, -1, "REF123",
       {"Kod referencyjny:", "REF123", "Operator: Talvoren"}, {14, 14, 14}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    clearLines();
    if (!c.ac.empty()) set(TAG_AC, c.ac);
    if (c.type >= 0) set(TAG_EMV_CRYPTOGRAM_TYPE, {static_cast<unsigned char>(c.type)});
    if (c.refCode) setText(TAG_BLIK_REFERENCE_CODE, c.refCode);
    if (c.fiscal) {
      FiscalAcExtractor().addTextToPrintout(ecr, c.blik);
      EXPECT_EQ(ids(), c.ids);
    } else {
      StandardAcExtractor().addTextToPrintout(ecr, c.blik);
    }
    EXPECT_EQ(trimmedTexts(), c.lines);
    if (c.log) {
      EXPECT_TRUE(busLogged(c.log)) << c.log;
    }
  }
}

TEST_F(AuthEvidenceTest, BothReadsFailingMeansNoCryptogramWasMade) {
  // With a context the type always reads (as "none"); only a context that
  // cannot be read fails both.
  StandardAcExtractor().addTextToPrintout(nullptr, false);
  EXPECT_TRUE(texts().empty());
  EXPECT_TRUE(devLogged("Application cryptogram not generated"));
}

}  // namespace

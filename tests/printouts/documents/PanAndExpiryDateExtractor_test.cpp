// The PAN line: which PAN each copy prints, when no line is printed, the
// expiry date's forms and both layouts, and the English expiry line of a
// bilingual receipt.
#include "printouts/documents/PanAndExpiryDateExtractor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printouts/documents/DocumentsFixture.h"
#include "printouts/engine/FiscalFormat.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using zq::test::Bytes;
using Strings = std::vector<std::string>;
using PanTest = zq::test::DocumentsTest;

const char* const kPan = "4111********1111";
const char* const kCustomerPan = "************1111";

TEST_F(PanTest, EachCopyChoosesItsPanAndFormatsTheExpiryDate) {
  const std::string validTo = phrase(PR_DICT_VALID_TO) + ": ";  // "Ważna do: "
  const struct {
    const char* name;
    bool customer;
    const char* pan;          // TAG_MASKED_PAN; nullptr: absent
    const char* customerPan;  // TAG_MASKED_PAN_FOR_CUSTOMER; nullptr: absent
    Bytes expiry;             // empty: absent
    unsigned width;
    Strings lines;
    const char* log;  // a business line the case must log; nullptr: none
  } cases[] = {
      {"merchant PAN, width 40", false, kPan, kCustomerPan, {0x12, 0x25, 0x31}, 40,
       {"4111 **** **** 1111      " + validTo + "12/25"}, nullptr},
      {"merchant without PAN: no line", false, nullptr, kCustomerPan, {0x12, 0x25}, 40, {},
       "Unable to get tag 0x009FD450, status 0x05"},
      {"merchant, sixteen blanks: no line", false, "                ", nullptr, {0x12, 0x25}, 40, {},
       nullptr},
      {"merchant, fifteen blanks are printed", false, "               ", nullptr, {0x12, 0x25}, 40,
       {std::string(19, ' ') + "      " + validTo + "12/25"}, nullptr},
      {"customer PAN wins over sixteen blanks", true, "                ", kCustomerPan, {0x12, 0x25},
       40, {"**** **** **** 1111      " + validTo + "12/25"}, nullptr},
      {"customer without its tag: merchant rule", true, kPan, nullptr, {0x12, 0x25}, 40,
       {"4111 **** **** 1111      " + validTo + "12/25"}, "Unable to get tag 0x0000DF0C, status 0x05"},
      {"customer, neither tag: no line", true, nullptr, nullptr, {0x12, 0x25}, 40, {},
       "Unable to get tag 0x009FD450, status 0x05"},
      {"one expiry byte", false, kPan, nullptr, {0x12}, 40,
       {"4111 **** **** 1111      " + validTo + "  /  "}, "Card expiry date invalid, print   /  "},
      {"no expiry date", false, kPan, nullptr, {}, 40,
       {"4111 **** **** 1111      " + validTo + "  /  "}, "Card expiry date missing, print   /  "},
      {"eleven expiry bytes", false, kPan, nullptr, Bytes(11, 0x12), 40,
       {"4111 **** **** 1111 " + std::string(9, ' ') + validTo + "?"}, "Unable to get card expiry date, status 0x04"},
      {"nineteen digits, last group of three", false, "4111********1111222", nullptr, {0x01, 0x30}, 40,
       {"4111 **** **** 1111 222  " + validTo + "01/30"}, nullptr},
      {"width 20: PAN left, expiry right below", false, kPan, nullptr, {0x12, 0x25}, 20,
       {"4111 **** **** 1111 ", "     " + validTo + "12/25"}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    clearLines();
    printout.normalLineLen = c.width;
    if (c.pan) setText(TAG_MASKED_PAN, c.pan);
    if (c.customerPan) setText(TAG_MASKED_PAN_FOR_CUSTOMER, c.customerPan);
    if (!c.expiry.empty()) set(TAG_CARD_EXPIRY_DATE, c.expiry);
    StandardPanAndExpiryDateExtractor& extractor = c.customer
                                                       ? StandardCustomerPanAndExpiryDateExtractor::get()
                                                       : StandardMerchantPanAndExpiryDateExtractor::get();
    extractor.addTextToPrintout(ecr, c.width);
    EXPECT_EQ(texts(), c.lines);
    if (c.log) {
      EXPECT_TRUE(busLogged(c.log)) << c.log;
    }
    // Without a PAN line the expiry date is not even read.
    if (c.lines.empty()) {
      EXPECT_FALSE(busLogged("Card expiry date missing, print   /  "));
    }
    // Sixteen blanks are the terminal's "no PAN", not an error.
    if (c.pan && std::string(c.pan) == "                ") {
      EXPECT_FALSE(busLogged("Unable to get tag 0x009FD450, status 0x05"));
    }
  }
}

TEST_F(PanTest, FiscalLineJoinsPanAndExpiryBytesWithTheRecordSeparator) {
  setText(TAG_MASKED_PAN, kPan);
  set(TAG_CARD_EXPIRY_DATE, {0x12, 0x25});
  FiscalMerchantPanAndExpiryDateExtractor::get().addTextToPrintout(ecr);
  FiscalFormat::getInstance().setDcc(true);
  FiscalCustomerPanAndExpiryDateExtractor::get().addTextToPrintout(ecr);
  const std::string line = "4111 **** **** 1111 \x1E" "12\x1E" "25";
  EXPECT_EQ(texts(), (Strings{line, line}));
  EXPECT_EQ(ids(), (std::vector<uint32_t>{9, 81}));  // fiscal line 3, its DCC variant 28
}

TEST_F(PanTest, EnglishExpiryLineOnlyUnderThisReceiptsPanLine) {
  StandardPanAndExpiryDateExtractor& extractor = StandardMerchantPanAndExpiryDateExtractor::get();
  setText(TAG_MASKED_PAN, kPan);
  set(TAG_CARD_EXPIRY_DATE, {0x12, 0x25});
  extractor.addTextToPrintout(ecr, 64);
  extractor.addMultilangExpiryDateToPrintout();
  ASSERT_EQ(texts().size(), 2u);
  EXPECT_EQ(texts()[1], std::string(49, ' ') + "Valid to: 12/25");

  // The next receipt, of another card, has no PAN: its English line must not
  // show the expiry date of the card before.
  clearStore();
  clearLines();
  set(TAG_CARD_EXPIRY_DATE, {0x07, 0x29});
  extractor.addTextToPrintout(ecr, 64);
  extractor.addMultilangExpiryDateToPrintout();
  EXPECT_EQ(texts(), Strings{});
}

}  // namespace

// The balance line of a customer copy.
#include "printouts/documents/LimitExtractor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printouts/documents/DocumentsFixture.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using zq::test::Bytes;
using Strings = std::vector<std::string>;
using LimitTest = zq::test::DocumentsTest;

std::string two(const std::string& label, const std::string& value) {
  return label + std::string(64 - label.size() - value.size(), ' ') + value;
}

TEST_F(LimitTest, BalanceLineKeepsLeadingZerosAndUsesTheDefaultCurrency) {
  set(TAG_VLP_LIMIT, {0x00, 0x00, 0x00, 0x01, 0x23, 0x45});
  set(TAG_TRANSACTION_CURRENCY, {0x09, 0x78});  // not the balance's currency
  set(TAG_CURRENCY_EXPONENT, {0x03});
  StandardLimitExtractor standard;
  FiscalLimitExtractor fiscal;
  standard.addTextToPrintout(ecr);
  fiscal.addTextToPrintout(ecr);
  // The English label on the repeat of a bilingual receipt.
  PrintDictionary::getInstance().setDcc(true);
  standard.addTextToPrintout(ecr);
  PrintDictionary::getInstance().setDcc(false);
  EXPECT_EQ(texts(), (Strings{two("Saldo: ", "0000000123,45 PLN"), "PLN 0000000123,45",
                              two("Card balance: ", "0000000123,45 PLN")}));
  EXPECT_EQ(ids()[1], 20u);
}

TEST_F(LimitTest, UnreadableLimitPrintsNothing) {
  const struct {
    Bytes value;  // empty: absent
    const char* log;
  } cases[] = {
      {{}, "Unable to get tag 0x00009F79, status 0x05"},
      {Bytes(513, 0x11), "Unable to get tag 0x00009F79, status 0x04"},
  };
  for (const auto& c : cases) {
    clearStore();
    if (!c.value.empty()) set(TAG_VLP_LIMIT, c.value);
    StandardLimitExtractor().addTextToPrintout(ecr);
    FiscalLimitExtractor().addTextToPrintout(ecr);
    EXPECT_TRUE(printout.lines.empty());
    EXPECT_EQ(busCount(c.log), 2u) << c.log;
  }
}

}  // namespace

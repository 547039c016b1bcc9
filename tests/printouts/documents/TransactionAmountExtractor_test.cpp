// Amounts laid out in the three layouts, and the amount part of standard and
// fiscal receipts in the single, cashback and tip forms.
#include "printouts/documents/TransactionAmountExtractor.h"

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
using AmountTest = zq::test::DocumentsTest;

template <typename Layout>
class AmountProbe : public Layout {
 public:
  std::string lay(const std::string& value, uint8_t e) {
    this->amount = value;
    this->exponent = e;
    this->currencyLabel = "PLN";
    return this->buildAmountEntry();
  }
  void bind(EcrCtx_s* ctx) { this->ecr = ctx; }
};

TEST_F(AmountTest, AmountsArePaddedToTheExponentAndGetTheSeparator) {
  const struct {
    const char* amount;
    uint8_t exponent;
    const char* number;
  } cases[] = {
      {"12345", 2, "123,45"},       {"5", 2, "0,05"},       {"", 2, "0,00"},
      {"-5", 2, "-0,05"},           {"-12345", 2, "-123,45"}, {"123", 0, "123,"},
      {"1", 3, "0,001"},            {"123456789012", 2, "1234567890,12"},
      {"000123", 2, "0001,23"},     {"?", 2, "0,0?"},       {"-", 2, "-0,00"},
  };
  AmountProbe<StandardExtractorWithBuildingAmountLine> standard;
  AmountProbe<FiscalExtractorWithBuildingAmountLine> fiscal;
  AmountProbe<ExtractorWithBuildingAmountWithoutCurrency> bare;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.amount);
    EXPECT_EQ(standard.lay(c.amount, c.exponent), std::string(c.number) + " PLN");
    EXPECT_EQ(fiscal.lay(c.amount, c.exponent), std::string("PLN\x1E") + c.number);
    EXPECT_EQ(bare.lay(c.amount, c.exponent), c.number);
  }
  fiscal.setSpaceAsSeparator();
  EXPECT_EQ(fiscal.lay("12345", 2), "PLN 123,45");
  setPhrase(PR_DICT_DECIMAL_SEPARATOR, ".");
  EXPECT_EQ(bare.lay("12345", 2), "123.45");
}

TEST_F(AmountTest, PreparedAmountsTakeCurrencyAndExponentFromTheTerminal) {
  AmountProbe<StandardExtractorWithBuildingAmountLine> standard;
  standard.bind(ecr);
  // Nothing stored: the unknown phrase, unformatted.
  EXPECT_EQ(standard.prepareAmount(), "?");
  EXPECT_TRUE(busLogged("Unable to get transaction amount, status 0x05"));

  set(TAG_AMOUNT, {0x00, 0x00, 0x00, 0x01, 0x23, 0x45});
  EXPECT_EQ(standard.prepareAmount(), "123,45 PLN");  // label and exponent defaulted
  EXPECT_TRUE(busLogged("Currency label missing, use default PLN"));
  EXPECT_TRUE(busLogged("Currency exponent missing, use default 2"));

  set(TAG_TRANSACTION_CURRENCY, {0x09, 0x78});
  set(TAG_CURRENCY_EXPONENT, {0x03});
  EXPECT_EQ(standard.prepareAmount(), "12,345 EUR");
  EXPECT_TRUE(devLogged("Transaction amount: 12345, exponent 3, currency EUR"));

  // A malformed code prints "?", a malformed exponent takes the default.
  set(TAG_TRANSACTION_CURRENCY, {0x09, 0x78, 0x00});
  set(TAG_CURRENCY_EXPONENT, {0x0A});
  EXPECT_EQ(standard.prepareAmount(), "123,45 ?");
  EXPECT_TRUE(busLogged("Unable to read currency exponent, status 0x01, use default 2"));

  // A host's non-digit default exponent is not laid out as 200-odd decimals.
  clearStore();
  set(TAG_AMOUNT, {0x12, 0x34});
  setPhrase(PR_DICT_DEFAULT_EXPONENT, "x");
  EXPECT_EQ(standard.prepareAmount(), "12,34 PLN");
}

TEST_F(AmountTest, MerchantAmountUsesTheTerminalCurrency) {
  FiscalTransactionAmountExtractor fiscal;
  EXPECT_EQ(fiscal.getMerchantAmount(ecr), "?");
  EXPECT_TRUE(busLogged("Unable to get transaction amount in terminal currency, status 0x05"));
  set(TAG_AMOUNT_IN_TERMINAL_CURRENCY, {0x00, 0x01, 0x23, 0x45});
  set(TAG_TERMINAL_CURRENCY, {0x09, 0x85});
  set(TAG_CURRENCY_EXPONENT, {0x03});  // the merchant amount keeps the default exponent
  EXPECT_EQ(fiscal.getMerchantAmount(ecr), "PLN 123,45");
}

struct ReceiptCase {
  const char* name;
  Bytes amount;    // empty: absent
  Bytes cashback;  // empty: absent
  std::string tip; // empty: absent
  Strings standard;  // trimmed lines
  Strings fiscal;
  std::vector<uint32_t> fiscalIds;
  const char* devLine;  // nullptr: none expected
};

TEST_F(AmountTest, ReceiptAmountPartInBothForms) {
  auto two = [](const std::string& label, const std::string& value) {
    return label + std::string(64 - label.size() - value.size(), ' ') + value;
  };
  const std::string merchant = "RACHUNEK DLA SPRZEDAWCY";
  const std::string centred = std::string((64 - merchant.size()) / 2, ' ') + merchant;
  const ReceiptCase cases[] = {
      {"single", {0x01, 0x00, 0x00}, {}, "",
       {two("KWOTA: ", "100,00 PLN"), centred},
       {"PLN\x1E" "100,00", "", "", ""}, {31, 14, 29, 14}, nullptr},
      {"single, amount unreadable", {}, {}, "", {two("KWOTA: ", "?"), centred},
       {"?", "", "", ""}, {31, 14, 29, 14}, nullptr},
      {"cashback", {0x01, 0x00, 0x00}, {0x20, 0x00}, "",
       {two("KWOTA: ", "80,00 PLN"), two("WYP\xA3" "ATA: ", "20,00 PLN"), two("RAZEM: ", "100,00 PLN"), centred},
       {"PLN\x1E" "80,00", "", "", "", "PLN\x1E" "20,00", "PLN\x1E" "100,00"}, {31, 14, 29, 14, 33, 57}, nullptr},
      {"cashback and tip print the cashback form", {0x01, 0x00, 0x00}, {0x20, 0x00}, "500",
       {two("KWOTA: ", "80,00 PLN"), two("WYP\xA3" "ATA: ", "20,00 PLN"), two("RAZEM: ", "100,00 PLN"), centred},
       {"PLN\x1E" "80,00", "", "", "", "PLN\x1E" "20,00", "PLN\x1E" "100,00"}, {31, 14, 29, 14, 33, 57}, nullptr},
      {"tip", {0x01, 0x00, 0x00}, {}, "500",
       {two("KWOTA: ", "95,00 PLN"), two("NAPIWEK: ", "5,00 PLN"), two("RAZEM: ", "100,00 PLN"), centred},
       {"PLN\x1E" "95,00", "", "", "", "PLN\x1E" "5,00", "PLN\x1E" "100,00"}, {31, 14, 29, 14, 34, 57}, nullptr},
      {"cashback without the amount prints nothing", {}, {0x20, 0x00}, "", {}, {}, {}, nullptr},
      {"tip that is not a number", {0x01, 0x00, 0x00}, {}, "5x",
       {two("KWOTA: ", "0,0? PLN"), two("NAPIWEK: ", "0,5x PLN"), two("RAZEM: ", "100,00 PLN"), centred},
       {"PLN\x1E" "0,0?", "", "", "", "PLN\x1E" "0,5x", "PLN\x1E" "100,00"}, {31, 14, 29, 14, 34, 57},
       "Unable to convert amounts, provided full amount: 10000, provided amount of tip: 5x"},
      // A cashback above the whole amount does not wrap into a huge purchase.
      {"cashback larger than the amount", {0x10, 0x00}, {0x20, 0x00}, "",
       {two("KWOTA: ", "0,0? PLN"), two("WYP\xA3" "ATA: ", "20,00 PLN"), two("RAZEM: ", "10,00 PLN"), centred},
       {"PLN\x1E" "0,0?", "", "", "", "PLN\x1E" "20,00", "PLN\x1E" "10,00"}, {31, 14, 29, 14, 33, 57},
       "Unable to convert amounts, provided full amount: 1000, provided cashback amount: 2000"},
  };
  for (const ReceiptCase& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    if (!c.amount.empty()) set(TAG_AMOUNT, c.amount);
    if (!c.cashback.empty()) set(TAG_CASHBACK_AMOUNT, c.cashback);
    if (!c.tip.empty()) setText(TAG_AMOUNT_OF_TIP, c.tip);

    clearLines();
    StandardTransactionAmountExtractor standard;
    standard.addTextToPrintout(ecr, ECR_TRANSACTION_PURCHASE, false);
    EXPECT_EQ(trimmedTexts(), c.standard);

    clearLines();
    FiscalTransactionAmountExtractor fiscal;
    fiscal.addTextToPrintout(ecr, ECR_TRANSACTION_PURCHASE, false);
    EXPECT_EQ(texts(), c.fiscal);
    EXPECT_EQ(ids(), c.fiscalIds);
    if (c.devLine) {
      EXPECT_TRUE(devLogged(c.devLine));
    }
  }
}

TEST_F(AmountTest, FiscalMainLineFollowsTheTypeAndCopy) {
  set(TAG_AMOUNT, {0x12, 0x34});
  const struct {
    ecr_transactionType type;
    bool customer;
    std::vector<uint32_t> ids;
  } cases[] = {
      {ECR_TRANSACTION_REFUND, true, {32, 14, 30, 14}},
      {ECR_TRANSACTION_PREAUTH, false, {72, 14, 29, 14}},
      {ECR_TRANSACTION_COMPLETION, true, {31, 14, 30, 14}},
  };
  FiscalTransactionAmountExtractor fiscal;  // one object, as a receipt uses it
  for (const auto& c : cases) {
    clearLines();
    fiscal.addTextToPrintout(ecr, c.type, c.customer);
    EXPECT_EQ(ids(), c.ids) << c.type;
  }
  // A merchant amount in between leaves the blank separator until the next line operation.
  (void)fiscal.getMerchantAmount(ecr);
  clearLines();
  fiscal.addTextToPrintout(ecr, ECR_TRANSACTION_PURCHASE, true);
  EXPECT_EQ(texts()[0], "PLN\x1E" "12,34");

  clearLines();
  StandardTransactionAmountExtractor standard;
  standard.addTextToPrintout(ecr, true);
  EXPECT_EQ(zq::test::trimRight(texts()[1]).substr(22), "RACHUNEK DLA KLIENTA");
  EXPECT_EQ(printout.lines[1].negative, 1u);
  EXPECT_EQ(printout.lines[0].bold, 1u);
}

}  // namespace

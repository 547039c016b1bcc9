// The card description lines in both forms, and the currency label and
// exponent with their defaults.
#include "printouts/documents/CardDescriptionExtractor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printouts/documents/CurrencyExponentExtractor.h"
#include "printouts/documents/CurrencyLabelExtractor.h"
#include "printouts/documents/DocumentsFixture.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using zq::test::Bytes;
using Strings = std::vector<std::string>;
using CardDescriptionTest = zq::test::DocumentsTest;

TEST_F(CardDescriptionTest, StandardLinesFollowAidReaderAndVoucher) {
  const struct {
    const char* name;
    Bytes aid;            // empty: absent
    const char* reader;   // nullptr: absent
    const char* blik;     // nullptr: absent
    const char* voucher;  // nullptr: absent
    Strings lines;
  } cases[] = {
      {"contactless paypass", {0xA0, 0, 0, 0, 0x04, 0x10, 0x10}, "B", nullptr, nullptr,
       {"AID: A0000000041010", "VISA DEBIT (B)", "paypass Contactless"}},
      {"contactless paywave", {0xA0, 0, 0, 0, 0x03, 0x10, 0x10}, "B", nullptr, nullptr,
       {"AID: A0000000031010", "VISA DEBIT (B)", "Visa payWave"}},
      {"chip: no scheme line", {0xA0, 0, 0, 0, 0x04, 0x10, 0x10}, "C", nullptr, nullptr,
       {"AID: A0000000041010", "VISA DEBIT (C)"}},
      {"scheme prefix later in the AID", {0x10, 0xA0, 0, 0, 0, 0x04}, "B", nullptr, nullptr,
       {"AID: 10A000000004", "VISA DEBIT (B)"}},
      {"no AID, no reader", {}, nullptr, nullptr, nullptr, {"VISA DEBIT (?)"}},
      {"BLIK code instead of the reader", {}, "B", "123456", nullptr, {"VISA DEBIT 123456"}},
      {"voucher type", {}, "M", nullptr, "Bon kulturalny", {"VISA DEBIT (M)", "Bon kulturalny"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    clearLines();
    setText(TAG_APP_PREFERRED_NAME, "VISA DEBIT");
    if (!c.aid.empty()) set(TAG_AID, c.aid);
    if (c.reader) setText(TAG_USED_READER, c.reader);
    if (c.blik) setText(TAG_BLIK_ENTERED_CODE, c.blik);
    if (c.voucher) setText(TAG_ERZSEBET_VOUCHER_TYPE, c.voucher);
    StandardCardDescriptionExtractor extractor;
    extractor.addTextToPrintout(ecr);
    EXPECT_EQ(trimmedTexts(), c.lines);
    // The BLIK code and the voucher type are read on every receipt.
    EXPECT_EQ(busLogged("Unable to get tag 0x0000DF02, status 0x05"), c.blik == nullptr);
    EXPECT_EQ(busLogged("Unable to get tag 0x0000DF0D, status 0x05"), c.voucher == nullptr);
  }
}

TEST_F(CardDescriptionTest, UnreadablePreferredNameAndFiscalLines) {
  set(TAG_AID, {0xA0, 0, 0, 0, 0x04, 0x10, 0x10});
  setText(TAG_USED_READER, "B");
  setText(TAG_ERZSEBET_VOUCHER_TYPE, "Bon");
  FiscalCardDescriptionExtractor extractor;
  extractor.addTextToPrintout(ecr);
  EXPECT_EQ(texts(), (Strings{"A0000000041010", "? (B)", "paypass Contactless", "Bon"}));
  EXPECT_EQ(ids(), (std::vector<uint32_t>{36, 8, 14, 14}));
  EXPECT_TRUE(busLogged("Unable to get tag 0x00009F12, status 0x05"));
}

TEST_F(CardDescriptionTest, CurrencyLabelComesFromTheCodeOrFallsBack) {
  const struct {
    const char* name;
    Bytes code;  // empty: absent
    const char* label;
    const char* log;
  } cases[] = {
      {"known code", {0x09, 0x85}, "PLN", nullptr},
      {"unknown code", {0x01, 0x23}, "", nullptr},
      {"absent", {}, "PLN", "Currency label missing, use default PLN"},
      {"three bytes", {0x09, 0x85, 0x00}, "?", "Unable to read currency label, status 0x01, use ?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    if (!c.code.empty()) {
      set(TAG_TRANSACTION_CURRENCY, c.code);
      set(TAG_TERMINAL_CURRENCY, c.code);
    }
    EXPECT_EQ(TransactionCurrencyLabelExtractor().getCurrencyLabel(ecr), c.label);
    EXPECT_EQ(TerminalCurrencyLabelExtractor().getCurrencyLabel(ecr), c.label);
    if (c.log) {
      EXPECT_EQ(busCount(c.log), 2u);
    }
  }
  // The two leaves read different tags.
  clearStore();
  set(TAG_TERMINAL_CURRENCY, {0x09, 0x78});
  EXPECT_EQ(TerminalCurrencyLabelExtractor().getCurrencyLabel(ecr), "EUR");
  setPhrase(PR_DICT_DEFAULT_CURRENCY, "EUR");
  EXPECT_EQ(TransactionCurrencyLabelExtractor().getCurrencyLabel(ecr), "EUR");
}

TEST_F(CardDescriptionTest, CurrencyExponentComesFromTheTagOrTheDefaultPhrase) {
  CurrencyExponentExtractor extractor;
  EXPECT_EQ(extractor.getCurrencyExponent(ecr), 2u);
  EXPECT_TRUE(busLogged("Currency exponent missing, use default 2"));
  set(TAG_CURRENCY_EXPONENT, {0x00});
  EXPECT_EQ(extractor.getCurrencyExponent(ecr), 0u);
  set(TAG_CURRENCY_EXPONENT, {0x03, 0x00});
  EXPECT_EQ(extractor.getCurrencyExponent(ecr), 2u);
  EXPECT_TRUE(busLogged("Unable to read currency exponent, status 0x01, use default 2"));
  clearStore();
  setPhrase(PR_DICT_DEFAULT_EXPONENT, "3");
  EXPECT_EQ(extractor.getCurrencyExponent(ecr), 3u);
}

}  // namespace

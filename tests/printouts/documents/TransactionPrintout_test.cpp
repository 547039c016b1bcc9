// Transaction receipts end to end through the exported functions: golden
// receipts compared line by line (text with its blanks, font, bold,
// inverted print, line and picture type, id) at widths where lines wrap and
// label pairs split, the rules that decide which verification and
// account-action lines appear, and what the functions do with bad contexts.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "printouts/documents/DocumentsFixture.h"
#include "printouts/documents/GoldenLines.h"
#include "printouts/engine/FiscalFormat.h"
#include "zumbra_printout.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using zq::test::Bytes;
using zq::test::GoldenLine;
using zq::test::w1250;

// Narrow enough that label pairs split and texts wrap; each width its own,
// so a line laid out on the wrong one shows.
constexpr unsigned kNormal = 32;
constexpr unsigned kSmall = 28;
constexpr unsigned kBig = 24;
constexpr unsigned kFiscal = 31;  // the generic fiscal line's default length

// The expected lines of a standard receipt, written in UTF-8; each line's id
// is its position.
class StandardGolden {
 public:
  StandardGolden& picture(pr_PictureType type) {
    GoldenLine l;
    l.id = next();
    l.lineType = PR_LINE_PICTURE;
    l.pictureType = type;
    lines.push_back(l);
    return *this;
  }
  StandardGolden& left(const std::string& t) { return add(zq::test::leftIn(w1250(t), kNormal)); }
  StandardGolden& boldLeft(const std::string& t) {
    return add(zq::test::leftIn(w1250(t), kNormal), PR_FONT_NORMAL, true);
  }
  StandardGolden& right(const std::string& t) { return add(zq::test::apartIn("", w1250(t), kNormal)); }
  StandardGolden& empty() { return left(""); }
  StandardGolden& centre(const std::string& t) { return add(zq::test::centreIn(w1250(t), kNormal)); }
  StandardGolden& boldCentre(const std::string& t) {
    return add(zq::test::centreIn(w1250(t), kNormal), PR_FONT_NORMAL, true);
  }
  StandardGolden& negativeCentre(const std::string& t) {
    return add(zq::test::centreIn(w1250(t), kNormal), PR_FONT_NORMAL, false, true);
  }
  StandardGolden& smallCentre(const std::string& t) {
    return add(zq::test::centreIn(w1250(t), kSmall), PR_FONT_SMALL);
  }
  StandardGolden& bigBoldCentre(const std::string& t) {
    return add(zq::test::centreIn(w1250(t), kBig), PR_FONT_BIG, true);
  }
  StandardGolden& negativeBigBoldCentre(const std::string& t) {
    return add(zq::test::centreIn(w1250(t), kBig), PR_FONT_BIG, true, true);
  }
  StandardGolden& apart(const std::string& a, const std::string& b) {
    return add(zq::test::apartIn(w1250(a), w1250(b), kNormal));
  }
  StandardGolden& boldApart(const std::string& a, const std::string& b) {
    return add(zq::test::apartIn(w1250(a), w1250(b), kNormal), PR_FONT_NORMAL, true);
  }
  StandardGolden& unformatted(const std::string& t) { return add(w1250(t)); }

  // What every receipt of the planted terminal begins and ends with.
  StandardGolden& header(const char* receiptNumberLabel = "RACHUNEK NR") {
    return picture(PR_PICTURE_HEADER_LOGO)
        .left("SKLEP TESTOWY")
        .left("UL. DŁUGA 1")
        .left("00-001 WARSZAWA")
        .left("POS ID: 12345678")
        .right(std::string(receiptNumberLabel) + ": 000123");
  }
  // The merchant copy's card lines of the planted chip card: on 32
  // characters the PAN and its expiry date do not share a line.
  StandardGolden& merchantChipCard() {
    return left("4111 **** **** 1111 ")
        .right("Ważna do: 12/25")
        .left("AID: A0000000031010")
        .left("VISA DEBIT (C)");
  }
  StandardGolden& polishDateAndTime() { return left("DATA: 07.03.2024").left("GODZINA: 13:05:59"); }
  StandardGolden& polishFooter() {
    return centre("DZIĘKUJEMY ZA UŻYCIE KARTY").centre("PROSIMY ZACHOWAĆ RACHUNEK");
  }

  std::vector<GoldenLine> lines;

 private:
  uint32_t next() const { return static_cast<uint32_t>(lines.size()); }
  StandardGolden& add(const std::string& text, uint32_t font = PR_FONT_NORMAL, bool bold = false,
                      bool negative = false) {
    GoldenLine l;
    l.text = text;
    l.id = next();
    l.fontSize = font;
    l.bold = bold;
    l.negative = negative;
    lines.push_back(l);
    return *this;
  }
};

// The expected lines of a fiscal receipt: the printer line number of each.
class FiscalGolden {
 public:
  FiscalGolden& U(const std::string& t, uint32_t id) { return add(w1250(t), id); }
  FiscalGolden& L(const std::string& t, uint32_t id) { return add(zq::test::leftIn(w1250(t), kFiscal), id); }
  FiscalGolden& R(const std::string& t, uint32_t id) {
    return add(zq::test::apartIn("", w1250(t), kFiscal), id);
  }
  FiscalGolden& C(const std::string& t, uint32_t id) {
    return add(zq::test::centreIn(w1250(t), kFiscal), id);
  }
  std::vector<GoldenLine> lines;

 private:
  FiscalGolden& add(const std::string& text, uint32_t id) {
    GoldenLine l;
    l.text = text;
    l.id = id;
    lines.push_back(l);
    return *this;
  }
};

class TransactionPrintoutTest : public zq::test::DocumentsTest {
 protected:
  void SetUp() override {
    DocumentsTest::SetUp();
    ASSERT_EQ(pr_setNormalLineLen(&printout, kNormal), 0u);
    ASSERT_EQ(pr_setSmallLineLen(&printout, kSmall), 0u);
    ASSERT_EQ(pr_setBigLineLen(&printout, kBig), 0u);
  }

  void setW1250(TlvTag tag, const std::string& utf8) { setText(tag, w1250(utf8)); }

  // The terminal's identity, as its general information left it: with it in
  // the store the printouts never ask the terminal.
  void plantTerminal() {
    setText(TAG_TID, "12345678");
    setText(TAG_MID, "000000000123456");
    setW1250(TAG_TERMINAL_ADDRESS_1, "SKLEP TESTOWY");
    setW1250(TAG_TERMINAL_ADDRESS_2, "UL. DŁUGA 1");
    setW1250(TAG_TERMINAL_ADDRESS_3, "00-001 WARSZAWA");
  }

  // A PIN-verified chip purchase of 12,50 PLN that went through.
  void plantPurchase() {
    plantTerminal();
    setText(TAG_AUTHORIZATION_MESSAGE_NUMBER, "000123");
    setText(TAG_TRANSACTION_NUMBER, "000123");
    setText(TAG_TRANSACTION_TYPE, "0");
    setText(TAG_TRANSACTION_RETURN_CODE, "0");
    setText(TAG_MASKED_PAN, "4111********1111");
    setText(TAG_MASKED_PAN_FOR_CUSTOMER, "************1111");
    set(TAG_CARD_EXPIRY_DATE, {0x12, 0x25});
    set(TAG_AID, {0xA0, 0x00, 0x00, 0x00, 0x03, 0x10, 0x10});
    setText(TAG_APP_PREFERRED_NAME, "VISA DEBIT");
    setText(TAG_USED_READER, "C");
    set(TAG_AMOUNT, {0x00, 0x00, 0x00, 0x00, 0x12, 0x50});
    set(TAG_TRANSACTION_CURRENCY, {0x09, 0x85});
    set(TAG_CURRENCY_EXPONENT, {0x02});
    set(TAG_AUTHORIZATION_METHOD, {'A'});
    setText(TAG_AUTHORIZATION_TYPE, "1");
    setText(TAG_AUTHORIZATION_CODE, "123456");
    set(TAG_AC, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF});
    set(TAG_EMV_CRYPTOGRAM_TYPE, {0x40});
    set(TAG_TRANSACTION_DATE, {0x24, 0x03, 0x07});
    set(TAG_TRANSACTION_TIME, {0x13, 0x05, 0x59});
  }

  // The same purchase paid in euro with dynamic currency conversion.
  void plantDccPurchase() {
    plantPurchase();
    setText(TAG_EXCHANGE_RATE, "4,4512");
    set(TAG_TRANSACTION_CURRENCY, {0x09, 0x78});
    set(TAG_AMOUNT, {0x00, 0x00, 0x00, 0x00, 0x02, 0x85});
    set(TAG_TERMINAL_CURRENCY, {0x09, 0x85});
    set(TAG_AMOUNT_IN_TERMINAL_CURRENCY, {0x00, 0x00, 0x00, 0x00, 0x12, 0x50});
    setText(TAG_DCC_TEXT_1, "Cardholder chose the transaction currency");
    setText(TAG_DCC_TEXT_2, "I accept the rate\\nand the fee");
  }

  void printReceipt(bool customerCopy) {
    ASSERT_EQ(pr_prepareTransactionPrintout(&printout, ecr, customerCopy), 0u);
  }
  void printFiscalReceipt(bool customerCopy) {
    ASSERT_EQ(pr_prepareTransactionFiscalPrintout(&printout, ecr, customerCopy), 0u);
  }

  // Every line, read through the exported reader as a host reads them.
  std::vector<pr_Line> readLines() {
    std::vector<pr_Line> out;
    const uint32_t count = pr_getNumberOfLines(&printout);
    pr_Line line{};
    while (pr_getNextLine(&printout, &line) == 0) out.push_back(line);
    EXPECT_EQ(out.size(), count);
    return out;
  }

  // No receipt leaves the dictionary speaking English.
  void expectDccSwitchOff() { EXPECT_EQ(phrase(PR_DICT_SALE), w1250("SPRZEDAŻ")); }
};

TEST_F(TransactionPrintoutTest, MerchantCopyOfAPinPurchase) {
  plantPurchase();
  setW1250(TAG_ADDITIONAL_CARDSET_VALUE_1, "KARTA STAŁEGO KLIENTA");
  setW1250(TAG_TRANSACTION_TITLE, "FAKTURA 2024/03/0157");
  setW1250(TAG_ADDITIONAL_PRINTOUT_DATA_FROM_ECR, "ZAMÓWIENIE 42");
  printReceipt(false);

  StandardGolden expected;
  expected.header()
      .left("MID: 000000000123456")
      .left("KARTA STAŁEGO KLIENTA")
      .left("4111 **** **** 1111 ")
      .right("Ważna do: 12/25")
      .left("AID: A0000000031010")
      .left("VISA DEBIT (C)")
      .empty()
      .bigBoldCentre("SPRZEDAŻ")
      .boldApart("KWOTA: ", "12,50 PLN")
      .negativeCentre("RACHUNEK DLA SPRZEDAWCY")
      .boldCentre("ZWERYFIKOWANO KOD PIN")
      .empty()
      .empty()
      .left("TYTUŁ PŁATNOŚCI:")
      .left("FAKTURA 2024/03/0157")
      .left("ZAMÓWIENIE 42")
      .empty()
      .left("KOD AUTORYZACYJNY: (1) 123456")
      .left("TC: 0123456789ABCDEF")
      .empty()
      .polishDateAndTime()
      .polishFooter()
      .picture(PR_PICTURE_FOOTER_LOGO);
  zq::test::expectLines(readLines(), expected.lines);
  EXPECT_TRUE(busLogged("Generate terminal transaction printout"));
  EXPECT_TRUE(busLogged("Printout generation succeded, " + std::to_string(expected.lines.size()) +
                        " lines available"));
}

TEST_F(TransactionPrintoutTest, CustomerCopyOfASignedContactlessPurchase) {
  plantPurchase();
  set(TAG_AUTHORIZATION_METHOD, {0x40});
  setText(TAG_USED_READER, "B");
  set(TAG_AID, {0xA0, 0x00, 0x00, 0x00, 0x04, 0x10, 0x10});
  set(TAG_VLP_LIMIT, {0x00, 0x50, 0x00});
  pr_setUsingSignatureVerifiedLine(true);
  printReceipt(true);

  StandardGolden expected;
  expected.header()
      .left("MID: 000000000123456")
      .left("**** **** **** 1111 ")
      .right("Ważna do: 12/25")
      .left("AID: A0000000041010")
      .left("VISA DEBIT (B)")
      .left("paypass Contactless")
      .empty()
      .bigBoldCentre("SPRZEDAŻ")
      .boldApart("KWOTA: ", "12,50 PLN")
      .negativeCentre("RACHUNEK DLA KLIENTA")
      .boldCentre("PODPIS ZWERYFIKOWANY")
      .empty()
      .left("KOD AUTORYZACYJNY: (1) 123456")
      .apart("Saldo: ", "0050,00 PLN")
      .left("TC: 0123456789ABCDEF")
      .empty()
      .polishDateAndTime()
      .polishFooter()
      .picture(PR_PICTURE_FOOTER_LOGO);
  zq::test::expectLines(readLines(), expected.lines);
}

TEST_F(TransactionPrintoutTest, MerchantCopyOfADeclinedSignedPurchase) {
  plantPurchase();
  set(TAG_AUTHORIZATION_METHOD, {0x40});
  setText(TAG_TRANSACTION_RETURN_CODE, "1");
  setW1250(TAG_SERVER_ERROR_MESSAGE, "KARTA ZASTRZEŻONA PRZEZ WYSTAWCĘ");
  ASSERT_EQ(ecr_setTagToEmpty(ecr, TAG_AUTHORIZATION_CODE), ECR_OK);
  set(TAG_EMV_CRYPTOGRAM_TYPE, {0x00});
  printReceipt(false);

  StandardGolden expected;
  expected.header()
      .left("MID: 000000000123456")
      .merchantChipCard()
      .empty()
      .bigBoldCentre("SPRZEDAŻ")
      .boldApart("KWOTA: ", "12,50 PLN")
      .negativeCentre("RACHUNEK DLA SPRZEDAWCY")
      // The cardholder signed: the merchant copy still asks to charge.
      .centre("Proszę obciążyć mój rachunek")
      .empty()
      // The server's reason wraps on the big width; each line keeps the
      // blank after its last word.
      .negativeBigBoldCentre("KARTA ZASTRZEŻONA PRZEZ ")
      .negativeBigBoldCentre("WYSTAWCĘ ")
      .boldCentre("ODMOWA")
      .empty()
      .left("AAC: 0123456789ABCDEF")
      .empty()
      .polishDateAndTime()
      .polishFooter()
      .picture(PR_PICTURE_FOOTER_LOGO);
  zq::test::expectLines(readLines(), expected.lines);
}

TEST_F(TransactionPrintoutTest, MerchantCopyOfAManualReversal) {
  plantPurchase();
  setText(TAG_TRANSACTION_TYPE, "5");
  setText(TAG_ORIGINAL_TRANSACTION_TYPE, "0");
  setText(TAG_REVERSAL_INDICATOR, "1");
  set(TAG_ADDITIONAL_TRANSACTION_FLAG, {0x02});  // a manual reversal
  setText(TAG_TRANSACTION_TO_REVERSE, "000122");
  printReceipt(false);

  StandardGolden expected;
  expected.header()
      .left("MID: 000000000123456")
      .merchantChipCard()
      .boldLeft("UNIEWAŻNIENIE")
      .left("DLA DOW. SPRZEDAŻY: 000122")
      .empty()
      .bigBoldCentre("SPRZEDAŻ")  // the voided transaction's type
      .boldApart("KWOTA: ", "12,50 PLN")
      .negativeCentre("RACHUNEK DLA SPRZEDAWCY")
      .empty()
      .negativeBigBoldCentre("TRANSAKCJA UNIEWAŻNIONA")
      .empty()
      .left("KOD AUTORYZACYJNY: (1) 123456")
      .left("TC: 0123456789ABCDEF")
      .empty()
      .polishDateAndTime()
      .polishFooter()
      .picture(PR_PICTURE_FOOTER_LOGO);
  zq::test::expectLines(readLines(), expected.lines);
}

TEST_F(TransactionPrintoutTest, CustomerCopyOfADccPurchase) {
  plantDccPurchase();
  printReceipt(true);

  StandardGolden expected;
  expected.header("SLIP NUMBER")
      .left("MID: 000000000123456")
      .left("**** **** **** 1111 ")
      .right("Valid to: 12/25")
      .left("AID: A0000000031010")
      .left("VISA DEBIT (C)")
      .empty()
      .bigBoldCentre("SALE")
      .left("AMOUNT IN MERCHANT CURRENCY:")
      .right("12,50 PLN")
      .left("EXCHANGE RATE*: 4,4512")
      .left("FEE/MARK-UP: 3%")
      .boldApart("AMOUNT: ", "2,85 EUR")
      .negativeCentre("RECEIPT FOR CLIENT")
      // Text 1 fills its first line to the width and one blank beyond it,
      // which the left layout cuts.
      .left("Cardholder chose the transaction")
      .left("currency ")
      .empty()
      .centre("I accept the rate ")
      .centre("and the fee ")
      .boldCentre("PIN CODE VERIFIED")
      .empty()
      .empty()
      .left("AUTH. CODE: (1) 123456")
      .left("TC: 0123456789ABCDEF")
      .empty()
      .empty()
      .left("Exchange rate is based on Talvoren")
      .left("as at DATE: 07.03.2024")
      .empty()
      .apart("DATE: 07.03.2024", "HOUR: 13:05:59")
      .centre("Thank you for payment")
      .centre("Card supports Talvoren PAYMENTS")
      .picture(PR_PICTURE_FOOTER_LOGO);
  zq::test::expectLines(readLines(), expected.lines);
  expectDccSwitchOff();
}

TEST_F(TransactionPrintoutTest, BilingualMerchantCopyWithPinAndSignature) {
  plantPurchase();
  set(TAG_ADDITIONAL_TRANSACTION_FLAG, {0x01});  // bilingual receipt
  set(TAG_AUTHORIZATION_METHOD, {'B'});
  setText(TAG_TRANSACTION_TITLE, "FAKTURA 7");
  printReceipt(false);

  StandardGolden expected;
  expected.header()
      .right("SLIP NUMBER: 000123")
      .left("MID: 000000000123456")
      .left("4111 **** **** 1111 ")
      .right("Ważna do: 12/25")
      .right("Valid to: 12/25")
      .left("AID: A0000000031010")
      .left("VISA DEBIT (C)")
      .empty()
      .bigBoldCentre("SPRZEDAŻ")
      .bigBoldCentre("SALE")
      .boldApart("KWOTA: ", "12,50 PLN")
      .negativeCentre("RACHUNEK DLA SPRZEDAWCY")
      .boldApart("AMOUNT: ", "12,50 PLN")
      .negativeCentre("MERCHANT RECEIPT")
      .boldCentre("ZWERYFIKOWANO KOD PIN")
      .boldCentre("PIN CODE VERIFIED")
      .empty()
      .empty()
      .unformatted(std::string(kNormal, '.'))
      .smallCentre("PODPIS POSIADACZA KARTY")
      .smallCentre("CARDHOLDER SIGNATURE")
      .empty()
      .empty()
      .left("TYTUŁ PŁATNOŚCI:")
      .left("FAKTURA 7")
      .empty()
      .left("PAY TITLE:")
      .left("FAKTURA 7")
      .empty()
      .left("KOD AUTORYZACYJNY: (1) 123456")
      .left("AUTH. CODE: (1) 123456")
      .left("TC: 0123456789ABCDEF")
      .empty()
      .polishDateAndTime()
      .apart("DATE: 07.03.2024", "HOUR: 13:05:59")
      .polishFooter()
      .empty()
      .centre("Thank you for payment")
      .centre("Card supports Talvoren PAYMENTS")
      .picture(PR_PICTURE_FOOTER_LOGO);
  zq::test::expectLines(readLines(), expected.lines);
  expectDccSwitchOff();
}

TEST_F(TransactionPrintoutTest, FiscalMerchantCopyOfASignedDccPurchase) {
  plantDccPurchase();
  set(TAG_AUTHORIZATION_METHOD, {0x40});
  set(TAG_ADDITIONAL_TRANSACTION_FLAG, {0x01});  // a fiscal receipt is never bilingual
  printFiscalReceipt(false);

  // Printer line numbers of the default table; under the DCC switch ids 1,
  // 3, 4, 5, 11 and 18 print as their DCC variants 76, 81, 80, 61, 89, 71.
  FiscalGolden expected;
  expected.L("SKLEP TESTOWY", 14)
      .L("UL. DŁUGA 1", 14)
      .L("00-001 WARSZAWA", 14)
      .U("12345678\x1E" "000000000123456", 4)
      .U("000123", 76)
      .U("4111 **** **** 1111 \x1E" "12\x1E" "25", 81)
      .U("A0000000031010", 36)
      .U("VISA DEBIT (C)", 80)
      .U("", 14)
      .L("AMOUNT IN MERCHANT CURRENCY:", 14)
      .R("PLN 12,50", 14)
      .L("EXCHANGE RATE*: 4,4512", 14)
      .L("FEE/MARK-UP: 3%", 14)
      .U("", 14)
      .U("EUR\x1E" "2,85", 61)
      .U("", 14)
      .U("", 29)
      .U("", 14)
      .L("Cardholder chose the ", 14)
      .L("transaction currency ", 14)
      .U("", 14)
      .C("I accept the rate ", 14)
      .C("and the fee ", 14)
      .U("", 14)
      .L("PLEASE CHARGE MY ACCOUNT", 14)
      .U("", 14)
      .U("", 14)
      .U("", 14)
      .U("", 25)
      .U("", 71)
      .U("", 14)
      .U("(1) 123456", 89)
      .U("0123456789ABCDEF", 37)
      .U("", 14)
      .U("", 14)
      .U("Talvoren", 65)
      .U("as at DATE: 07.03.2024", 14)
      .U("", 14)
      .U("DATE: 07.03.2024", 14)
      .U("HOUR: 13:05:59", 14);
  zq::test::expectLines(readLines(), expected.lines);
  EXPECT_TRUE(busLogged("Generate fiscal terminal transaction printout"));
  expectDccSwitchOff();
}

// A host's phrase prints in the receipt's language: the Polish id on a
// Polish receipt, its English twin on a DCC receipt, both on a bilingual one;
// a phrase without a twin reads the same on all of them.
TEST_F(TransactionPrintoutTest, HostPhrasesPrintInTheReceiptsLanguage) {
  setPhrase(PR_DICT_SALE, "ZAKUP");
  setPhrase(PR_DICT_SALE_EN, "PURCHASE");
  setPhrase(PR_DICT_POS_ID, "KASA");
  const struct {
    const char* name;
    bool dcc;
    bool bilingual;
    bool polish;
    bool english;
  } cases[] = {
      {"Polish receipt", false, false, true, false},
      {"DCC receipt", true, false, false, true},
      {"bilingual receipt", false, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    if (c.dcc) {
      plantDccPurchase();
    } else {
      plantPurchase();
    }
    if (c.bilingual) set(TAG_ADDITIONAL_TRANSACTION_FLAG, {0x01});
    printReceipt(false);
    const std::vector<std::string> printed = strippedTexts();
    const auto has = [&](const std::string& t) {
      return std::find(printed.begin(), printed.end(), t) != printed.end();
    };
    EXPECT_EQ(has("ZAKUP"), c.polish);
    EXPECT_EQ(has("PURCHASE"), c.english);
    EXPECT_TRUE(has("KASA: 12345678"));
    EXPECT_EQ(phrase(PR_DICT_SALE), "ZAKUP");  // the switch is off again
  }
}

// A host's fiscal line number reaches the fiscal receipts of its kind: the
// amount's plain entry numbers it on a plain receipt, its DCC entry on a DCC
// receipt.
TEST_F(TransactionPrintoutTest, HostFiscalLineNumbersReachTheReceiptsOfTheirKind) {
  pr_setFiscalFormatLine(PR_FISCAL_AMOUNT, pr_FiscalFormatLine{131, 25});
  pr_setFiscalFormatLine(PR_FISCAL_AMOUNT_DCC, pr_FiscalFormatLine{161, 25});
  const struct {
    const char* name;
    bool dcc;
    uint32_t id;
    uint32_t otherId;
    std::string amount;
  } cases[] = {
      {"plain receipt", false, 131, 161, "PLN\x1E" "12,50"},
      {"DCC receipt", true, 161, 131, "EUR\x1E" "2,85"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    if (c.dcc) {
      plantDccPurchase();
    } else {
      plantPurchase();
    }
    printFiscalReceipt(false);
    std::vector<std::string> numbered;
    for (const pr_Line& line : printout.lines) {
      if (line.id == c.id) numbered.emplace_back(line.text);
      EXPECT_NE(line.id, c.otherId) << line.text;
    }
    EXPECT_EQ(numbered, std::vector<std::string>{c.amount});
  }
}

// Which verification and account-action lines a standard receipt carries.
TEST_F(TransactionPrintoutTest, VerificationAndAccountActionRules) {
  enum Method { PIN, SIGNATURE, PIN_AND_SIGNATURE, NONE, ON_FILE, DEVICE };
  enum Line { CHARGE, CREDIT, NOT_REQUIRED, PIN_OK, PASSWORD_OK, SIGNATURE_BLOCK, VERIFIED, ON_FILE_LINE,
              DEVICE_LINE };
  const struct {
    const char* name;
    Method method;
    bool customer;
    const char* type;
    const char* reader;
    bool declined;
    bool blik;
    bool signatureSwitch;
    std::set<Line> lines;
  } cases[] = {
      {"tapped, no verification, merchant", NONE, false, "0", "B", false, false, false, {NOT_REQUIRED, CHARGE}},
      {"chip, no verification, merchant", NONE, false, "0", "C", false, false, false, {NOT_REQUIRED}},
      {"tapped, no verification, customer", NONE, true, "0", "B", false, false, false, {NOT_REQUIRED}},
      {"tapped pre-authorisation", NONE, false, "2", "B", false, false, false, {NOT_REQUIRED}},
      {"tapped refund", NONE, false, "4", "B", false, false, false, {NOT_REQUIRED, CREDIT}},
      {"signed purchase, merchant", SIGNATURE, false, "0", "C", false, false, false, {CHARGE, SIGNATURE_BLOCK}},
      {"signed refund, merchant", SIGNATURE, false, "4", "C", false, false, false, {CREDIT, SIGNATURE_BLOCK}},
      {"signed completion, merchant", SIGNATURE, false, "3", "C", false, false, false, {SIGNATURE_BLOCK}},
      {"signed, customer, switch off", SIGNATURE, true, "0", "C", false, false, false, {}},
      {"signed, customer, switch on", SIGNATURE, true, "0", "C", false, false, true, {VERIFIED}},
      {"PIN and signature, merchant", PIN_AND_SIGNATURE, false, "0", "C", false, false, false,
       {PIN_OK, SIGNATURE_BLOCK}},
      {"PIN, merchant", PIN, false, "0", "C", false, false, false, {PIN_OK}},
      {"PIN, customer", PIN, true, "0", "C", false, false, true, {PIN_OK}},
      {"BLIK password", PIN, false, "0", "B", false, true, false, {PASSWORD_OK}},
      {"BLIK without verification", NONE, false, "0", "B", false, true, false, {CHARGE}},
      {"signature on file", ON_FILE, false, "0", "C", false, false, false, {ON_FILE_LINE}},
      {"verified by the cardholder's device", DEVICE, false, "0", "B", false, false, false, {DEVICE_LINE}},
      {"declined signed purchase, merchant", SIGNATURE, false, "0", "C", true, false, false, {CHARGE}},
      {"declined tapped refund, merchant", NONE, false, "4", "B", true, false, false, {CREDIT}},
      {"declined signed purchase, customer", SIGNATURE, true, "0", "C", true, false, true, {}},
      {"declined PIN purchase", PIN, false, "0", "C", true, false, false, {}},
  };
  const struct {
    Line line;
    std::string text;
  } texts[] = {
      {CHARGE, w1250("Proszę obciążyć mój rachunek")},
      {CREDIT, w1250("Proszę uznać mój rachunek")},
      {NOT_REQUIRED, "PODPIS NIEWYMAGANY"},
      {PIN_OK, "ZWERYFIKOWANO KOD PIN"},
      {PASSWORD_OK, w1250("HASŁO POPRAWNE")},
      {SIGNATURE_BLOCK, "PODPIS POSIADACZA KARTY"},
      {VERIFIED, "PODPIS ZWERYFIKOWANY"},
      {ON_FILE_LINE, "PODPIS W DOKUMENTACH"},
      {DEVICE_LINE, w1250("ZWERYFIKOWANE PRZEZ URZĄDZENIE")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    plantPurchase();
    switch (c.method) {
      case PIN: set(TAG_AUTHORIZATION_METHOD, {'A'}); break;
      case SIGNATURE: set(TAG_AUTHORIZATION_METHOD, {0x40}); break;
      case PIN_AND_SIGNATURE: set(TAG_AUTHORIZATION_METHOD, {'B'}); break;
      case NONE: set(TAG_ADDITIONAL_TRANSACTION_FLAG, {0x01, 0x00}); break;
      case ON_FILE: set(TAG_ADDITIONAL_TRANSACTION_FLAG, {0x02, 0x00}); break;
      case DEVICE: set(TAG_ADDITIONAL_TRANSACTION_FLAG, {0x20, 0x00}); break;
    }
    setText(TAG_TRANSACTION_TYPE, c.type);
    setText(TAG_USED_READER, c.reader);
    if (c.declined) setText(TAG_TRANSACTION_RETURN_CODE, "1");
    if (c.blik) setText(TAG_BLIK_ENTERED_CODE, "777123");
    pr_setUsingSignatureVerifiedLine(c.signatureSwitch);
    printReceipt(c.customer);
    const std::vector<std::string> printed = strippedTexts();
    const auto has = [&](const std::string& t) {
      for (const std::string& p : printed) {
        if (p == t) return true;
      }
      return false;
    };
    for (const auto& t : texts) {
      EXPECT_EQ(has(t.text), c.lines.count(t.line) == 1) << t.text;
    }
    // The signature line of dots goes with the signature label.
    EXPECT_EQ(has(std::string(kNormal, '.')), c.lines.count(SIGNATURE_BLOCK) == 1);
  }
}

// The same rules on the fiscal receipt, where most of these lines are the
// printer's own marker lines: only their printer line numbers are sent.
TEST_F(TransactionPrintoutTest, FiscalMarkerLines) {
  enum Marker : uint32_t { CHARGE = 21, CREDIT = 22, VOIDED = 23, PIN_OK = 24, SIGNATURE_FIELD = 25,
                           SIGNATURE_LABEL = 26, DECLINE = 54 };
  const struct {
    const char* name;
    char method;
    bool customer;
    const char* type;
    const char* result;
    bool reversed;
    std::set<uint32_t> markers;
  } cases[] = {
      {"PIN purchase", 'A', false, "0", "0", false, {PIN_OK}},
      {"signed purchase, merchant", 0x40, false, "0", "0", false, {CHARGE, SIGNATURE_FIELD, SIGNATURE_LABEL}},
      {"signed refund, merchant", 0x40, false, "4", "0", false, {CREDIT, SIGNATURE_FIELD, SIGNATURE_LABEL}},
      {"signed purchase, customer", 0x40, true, "0", "0", false, {}},
      {"PIN and signature, merchant", 'B', false, "0", "0", false, {PIN_OK, SIGNATURE_FIELD, SIGNATURE_LABEL}},
      {"declined PIN purchase", 'A', false, "0", "1", false, {DECLINE}},
      {"declined signed purchase, merchant", 0x40, false, "0", "1", false, {CHARGE, DECLINE}},
      {"reversed purchase", 'A', false, "0", "0", true, {VOIDED}},
  };
  const std::set<uint32_t> all = {CHARGE, CREDIT, VOIDED, PIN_OK, SIGNATURE_FIELD, SIGNATURE_LABEL, DECLINE};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    plantPurchase();
    set(TAG_AUTHORIZATION_METHOD, {static_cast<unsigned char>(c.method)});
    setText(TAG_TRANSACTION_TYPE, c.type);
    setText(TAG_TRANSACTION_RETURN_CODE, c.result);
    if (c.reversed) setText(TAG_REVERSAL_INDICATOR, "1");
    printFiscalReceipt(c.customer);
    std::set<uint32_t> markers;
    for (const pr_Line& line : printout.lines) {
      if (all.count(line.id) == 1 && line.text[0] == '\0') markers.insert(line.id);
    }
    EXPECT_EQ(markers, c.markers);
  }
}

TEST_F(TransactionPrintoutTest, BadContextsAreRefusedAndKeepThePreviousReceipt) {
  plantPurchase();
  printReceipt(false);
  const uint32_t lines = pr_getNumberOfLines(&printout);
  ASSERT_GT(lines, 0u);
  EXPECT_EQ(pr_prepareTransactionPrintout(&printout, nullptr, false), 1u);
  EXPECT_EQ(pr_prepareTransactionPrintout(nullptr, ecr, true), 1u);
  EXPECT_EQ(pr_prepareTransactionFiscalPrintout(&printout, nullptr, false), 1u);
  EXPECT_EQ(pr_prepareTransactionFiscalPrintout(nullptr, ecr, true), 1u);
  EXPECT_EQ(busCount("NULL CTX argument provided"), 4u);
  EXPECT_EQ(pr_getNumberOfLines(&printout), lines);

  // A terminal context without link and protocol still gives a receipt: its
  // data is simply missing.
  EcrCtx_s* bare = nullptr;
  ASSERT_EQ(ecr_initialize(&bare), ECR_OK);
  EXPECT_EQ(pr_prepareTransactionPrintout(&printout, bare, false), 0u);
  EXPECT_EQ(pr_prepareTransactionFiscalPrintout(&printout, bare, true), 0u);
  ecr_cleanup(&bare);
  expectDccSwitchOff();
}

TEST_F(TransactionPrintoutTest, ReceiptLandsOnTheContextItIsBuiltOn) {
  plantPurchase();
  PrintoutCtx_s* newer = nullptr;
  ASSERT_EQ(pr_initPrintoutCtx(&newer), 0u);  // the line adders follow the newest context
  ASSERT_EQ(pr_setNormalLineLen(newer, 40), 0u);
  printReceipt(false);
  EXPECT_EQ(pr_getNumberOfLines(newer), 0u);
  ASSERT_GT(printout.lines.size(), 2u);
  EXPECT_EQ(std::string(printout.lines[1].text), zq::test::leftIn("SKLEP TESTOWY", kNormal));
  pr_cleanPrintoutCtx(&newer);
}

}  // namespace

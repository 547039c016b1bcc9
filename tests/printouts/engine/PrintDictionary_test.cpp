#include "printouts/engine/PrintDictionary.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "EngineState.h"
#include "printouts/engine/RawLineTexts.h"

namespace zq::app::printouts {
namespace {

struct Phrase {
  uint32_t number;
  pr_Dictionary id;
  const char* utf8;  // the text as people read it
};

// Every built-in phrase, with its number and name.
const Phrase kPhrases[] = {
    {0, PR_DICT_UNKNOWN, "?"},
    {1, PR_DICT_MERCHANT_RECEIPT, "RACHUNEK DLA SPRZEDAWCY"},
    {2, PR_DICT_CUSTOMER_RECEIPT, "RACHUNEK DLA KLIENTA"},
    {3, PR_DICT_POS_ID, "POS ID"},
    {4, PR_DICT_MID, "MID"},
    {5, PR_DICT_AID, "AID"},
    {6, PR_DICT_TC, "TC"},
    {7, PR_DICT_ARQC, "ARQC"},
    {8, PR_DICT_AAC, "AAC"},
    {9, PR_DICT_REFERENCE_CODE, "Kod referencyjny"},
    {10, PR_DICT_OPERATOR, "Operator: Talvoren"},
    {11, PR_DICT_PASSWORD_CORRECT, "HASŁO POPRAWNE"},
    {12, PR_DICT_DATE, "DATA"},
    {13, PR_DICT_TIME, "GODZINA"},
    {14, PR_DICT_DEFAULT_CURRENCY, "PLN"},
    {15, PR_DICT_DEFAULT_EXPONENT, "2"},
    {16, PR_DICT_RECEIPT_NUMBER, "RACHUNEK NR"},
    {17, PR_DICT_FOR_RECEIPT_NUMBER, "DLA DOW. SPRZEDAŻY"},
    {18, PR_DICT_AUTH_CODE, "KOD AUTORYZACYJNY"},
    {19, PR_DICT_VALID_TO, "Ważna do"},
    {20, PR_DICT_SALE, "SPRZEDAŻ"},
    {21, PR_DICT_CASHBACK, "CASHBACK"},
    {22, PR_DICT_PREAUTHORIZATION, "PREAUTORYZACJA"},
    {23, PR_DICT_COMPLETION, "DOPEŁNIENIE"},
    {24, PR_DICT_REFUND, "ZWROT"},
    {25, PR_DICT_VOID, "UNIEWAŻNIENIE"},
    {26, PR_DICT_CARD_BALANCE, "Saldo"},
    {27, PR_DICT_GIFT_ACTIVATION, "AKTYWACJA"},
    {28, PR_DICT_GIFT_BALANCE, "SALDO"},
    {29, PR_DICT_SETTLEMENT, "ROZLICZENIE"},
    {30, PR_DICT_CONNECTION_TEST, "TEST POŁĄCZENIA"},
    {31, PR_DICT_UPDATE, "AKTUALIZACJA"},
    {32, PR_DICT_READER_TYPE_0, "B"},
    {33, PR_DICT_READER_TYPE_3, "P"},
    {34, PR_DICT_READER_TYPE_2, "C"},
    {35, PR_DICT_READER_TYPE_1, "M"},
    {36, PR_DICT_PAYPASS, "paypass Contactless"},
    {37, PR_DICT_PAYWAVE, "Visa payWave"},
    {38, PR_DICT_AMOUNT, "KWOTA"},
    {39, PR_DICT_CASHBACK_AMOUNT, "WYPŁATA"},
    {40, PR_DICT_TIP, "NAPIWEK"},
    {41, PR_DICT_TOTAL, "RAZEM"},
    {42, PR_DICT_DECIMAL_SEPARATOR, ","},
    {43, PR_DICT_CHARGE_MY_ACCOUNT, "Proszę obciążyć mój rachunek"},
    {44, PR_DICT_CREDIT_MY_ACCOUNT, "Proszę uznać mój rachunek"},
    {45, PR_DICT_CARDHOLDER_SIGNATURE, "PODPIS POSIADACZA KARTY"},
    {46, PR_DICT_SIGNATURE_NOT_REQUIRED, "PODPIS NIEWYMAGANY"},
    {47, PR_DICT_SIGNATURE_VERIFIED, "PODPIS ZWERYFIKOWANY"},
    {48, PR_DICT_PIN_VERIFIED, "ZWERYFIKOWANO KOD PIN"},
    {49, PR_DICT_VOICE_AUTHORIZATION, "AUTORYZACJA GŁOSOWA"},
    {50, PR_DICT_AUTH_TYPE_1, "1"},
    {51, PR_DICT_AUTH_TYPE_2, "3"},
    {52, PR_DICT_AUTH_TYPE_3, "4"},
    {53, PR_DICT_DECLINE, "ODMOWA"},
    {54, PR_DICT_CONNECTION_PROBLEM, "BŁĄD POŁĄCZENIA"},
    {55, PR_DICT_TRANSACTION_VOIDED, "TRANSAKCJA UNIEWAŻNIONA"},
    {56, PR_DICT_PAYMENT_TITLE, "TYTUŁ PŁATNOŚCI:"},
    {57, PR_DICT_SUMMARY_TITLE, "ZESTAWIENIE"},
    {58, PR_DICT_TRANSACTION_ANALYSIS_TITLE, "ANALIZA TRANSAKCJI"},
    {59, PR_DICT_DCC_ANALYSIS_TITLE, "ANALIZA DCC"},
    {60, PR_DICT_CLOSING_DAY_TITLE, "ZAMKNIĘCIE DNIA"},
    {61, PR_DICT_VOIDS_INCLUDED, "UWZGLĘDNIAJĄCE UNIEWAŻNIENIA"},
    {62, PR_DICT_SHORT_VERSION, "WERSJA SKRÓCONA"},
    {63, PR_DICT_FULL_VERSION, "WERSJA PEŁNA"},
    {64, PR_DICT_FROM_RECEIPT_NUMBER, "OD RACH. NR"},
    {65, PR_DICT_TO_RECEIPT_NUMBER, "DO RACH. NR"},
    {66, PR_DICT_KEEP_PRINTOUT, "PROSIMY ZACHOWAĆ WYDRUK"},
    {67, PR_DICT_KEEP_RECEIPT, "PROSIMY ZACHOWAĆ RACHUNEK"},
    {68, PR_DICT_THANK_YOU_CARD, "DZIĘKUJEMY ZA UŻYCIE KARTY"},
    {69, PR_DICT_CARD_SUPPORTS_PAYMENTS, "Card supports Talvoren PAYMENTS"},
    {70, PR_DICT_SENDING_OK, "WYSYŁKA OK"},
    {71, PR_DICT_SENDING_FAILED, "WYSYŁKA NIEUDANA"},
    {72, PR_DICT_BALANCES_AGREED, "SALDA UZGODNIONE"},
    {73, PR_DICT_BALANCES_NOT_AGREED, "SALDA NIEZGODNE"},
    {74, PR_DICT_NO_TRANSACTIONS_TO_SETTLE, "BRAK TRANSAKCJI DO ROZLICZENIA"},
    {75, PR_DICT_TERMINAL_READY, "Terminal gotowy do pracy"},
    {76, PR_DICT_BATCH_SALES, "SPRZEDAŻ"},
    {77, PR_DICT_BATCH_SALE_VOIDS, "UNIEWAŻ.SPRZEDAŻY"},
    {78, PR_DICT_BATCH_REFUNDS, "ZWROTY"},
    {79, PR_DICT_BATCH_REFUND_VOIDS, "UNIEWAŻ.ZWROTU"},
    {80, PR_DICT_BATCH_COMPLETIONS, "DOP.PRE-AUT"},
    {81, PR_DICT_BATCH_COMPLETION_VOIDS, "UNIE.DOP.PRE-AUT."},
    {82, PR_DICT_BATCH_PREAUTHORIZATIONS, "PRE-AUTORYZACJA"},
    {83, PR_DICT_BATCH_PREAUTHORIZATION_VOIDS, "UNIEWAŻ.PRE-AUT."},
    {84, PR_DICT_BATCH_CASHBACK, "WYPŁATA GOTÓWKI"},
    {85, PR_DICT_BATCH_TOTAL, "RAZEM"},
    {86, PR_DICT_BATCH_SUMMARY, "PODSUMOWANIE"},
    {87, PR_DICT_COUNT, "liczba"},
    {88, PR_DICT_MERCHANT_RECEIPT_EN, "MERCHANT RECEIPT"},
    {89, PR_DICT_CUSTOMER_RECEIPT_EN, "RECEIPT FOR CLIENT"},
    {90, PR_DICT_REFERENCE_CODE_EN, "Reference code"},
    {91, PR_DICT_OPERATOR_EN, "Operator: Talvoren"},
    {92, PR_DICT_PASSWORD_CORRECT_EN, "PASSWORD CORRECT"},
    {93, PR_DICT_DATE_EN, "DATE"},
    {94, PR_DICT_TIME_EN, "HOUR"},
    {95, PR_DICT_RECEIPT_NUMBER_EN, "SLIP NUMBER"},
    {96, PR_DICT_FOR_RECEIPT_NUMBER_EN, "FOR RECEIPT NO"},
    {97, PR_DICT_AUTH_CODE_EN, "AUTH. CODE"},
    {98, PR_DICT_VALID_TO_EN, "Valid to"},
    {99, PR_DICT_SALE_EN, "SALE"},
    {100, PR_DICT_CASHBACK_EN, "CASHBACK"},
    {101, PR_DICT_PREAUTHORIZATION_EN, "PREAUTHORIZATION"},
    {102, PR_DICT_COMPLETION_EN, "COMPLETION"},
    {103, PR_DICT_REFUND_EN, "REFUND"},
    {104, PR_DICT_VOID_EN, "VOID"},
    {105, PR_DICT_CARD_BALANCE_EN, "Card balance"},
    {106, PR_DICT_GIFT_ACTIVATION_EN, "GIFT ACTIVATION"},
    {107, PR_DICT_GIFT_BALANCE_EN, "GIFT BALANCE"},
    {108, PR_DICT_SETTLEMENT_EN, "SETTLEMENT"},
    {109, PR_DICT_CONNECTION_TEST_EN, "CONNECTION TEST"},
    {110, PR_DICT_UPDATE_EN, "UPDATE"},
    {111, PR_DICT_AMOUNT_EN, "AMOUNT"},
    {112, PR_DICT_CASHBACK_AMOUNT_EN, "CASHBACK"},
    {113, PR_DICT_TIP_EN, "TIP"},
    {114, PR_DICT_TOTAL_EN, "TOTAL"},
    {115, PR_DICT_CHARGE_MY_ACCOUNT_EN, "PLEASE CHARGE MY ACCOUNT"},
    {116, PR_DICT_CREDIT_MY_ACCOUNT_EN, "PLEASE REFUND MY ACCOUNT"},
    {117, PR_DICT_CARDHOLDER_SIGNATURE_EN, "CARDHOLDER SIGNATURE"},
    {118, PR_DICT_SIGNATURE_VERIFIED_EN, "SIGNATURE VERIFIED"},
    {119, PR_DICT_PIN_VERIFIED_EN, "PIN CODE VERIFIED"},
    {120, PR_DICT_VOICE_AUTHORIZATION_EN, "VOICE AUTHORIZATION"},
    {121, PR_DICT_DECLINE_EN, "DECLINE"},
    {122, PR_DICT_CONNECTION_PROBLEM_EN, "CONNECTION PROBLEM"},
    {123, PR_DICT_TRANSACTION_VOIDED_EN, "TRANSACTION VOIDED"},
    {124, PR_DICT_PAYMENT_TITLE_EN, "PAY TITLE:"},
    {125, PR_DICT_DCC_MERCHANT_AMOUNT, "AMOUNT IN MERCHANT CURRENCY:"},
    {126, PR_DICT_DCC_EXCHANGE_RATE, "EXCHANGE RATE*"},
    {127, PR_DICT_DCC_MARKUP, "FEE/MARK-UP"},
    {128, PR_DICT_DCC_MARKUP_VALUE, "3%"},
    {129, PR_DICT_DCC_RATE_SOURCE, "Exchange rate is based on"},
    {130, PR_DICT_DCC_RATE_PROVIDER, "Talvoren"},
    {131, PR_DICT_DCC_RATE_DATE, "as at"},
    {132, PR_DICT_THANK_YOU_PAYMENT, "Thank you for payment"},
    {133, PR_DICT_GIFT_TOPUP, "DOŁADOWANIE"},
    {134, PR_DICT_GIFT_TOPUP_EN, "GIFT TOPUP"},
    {135, PR_DICT_SIGNATURE_ON_FILE, "PODPIS W DOKUMENTACH"},
    {136, PR_DICT_SIGNATURE_ON_FILE_EN, "SIGNATURE ON FILE"},
    {137, PR_DICT_VERIFIED_BY_DEVICE, "ZWERYFIKOWANE PRZEZ URZĄDZENIE"},
    {138, PR_DICT_VERIFIED_BY_DEVICE_EN, "VERIFIED BY DEVICE"},
    {139, PR_DICT_SIGNATURE_NOT_REQUIRED_EN, "SIGNATURE NOT REQUIRED"},
    {140, PR_DICT_FLEET_VEHICLE_NUMBER, "Numer Pojazdu"},
    {141, PR_DICT_FLEET_DRIVER_NUMBER, "Numer Kierowcy"},
    {142, PR_DICT_FLEET_ODOMETER, "Przebieg"},
    {143, PR_DICT_FLEET_REGISTRATION_NUMBER, "Numer Rejestracyjny"},
    {144, PR_DICT_FLEET_UNIT_NUMBER, "Numer Jednostki"},
    {145, PR_DICT_FLEET_DATA, "Dane"},
    {146, PR_DICT_FLEET_VEHICLE_INDICATOR, "Wskaźnik Samochodu"},
    {147, PR_DICT_FLEET_DRIVER_CODE, "Kod Kierowcy"},
    {148, PR_DICT_CASHIER, "Kasjer"},
    {149, PR_DICT_CUSTOMER, "Klient"},
};

// Decodes Windows-1250 bytes with the C library's converter.
std::string fromWindows1250(const std::string& bytes) {
  iconv_t cd = iconv_open("UTF-8", "WINDOWS-1250");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "no WINDOWS-1250 converter";
    return {};
  }
  std::string in = bytes;
  std::string out(in.size() * 4 + 4, '\0');
  char* inPtr = &in[0];
  std::size_t inLeft = in.size();
  char* outPtr = &out[0];
  std::size_t outLeft = out.size();
  const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1) || inLeft != 0) {
    ADD_FAILURE() << "not Windows-1250: " << bytes;
    return {};
  }
  out.resize(out.size() - outLeft);
  return out;
}

// A lead byte followed by a continuation byte: text that went in as UTF-8.
bool hasUtf8Sequence(const std::string& s) {
  for (std::size_t i = 0; i + 1 < s.size(); ++i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const auto next = static_cast<unsigned char>(s[i + 1]);
    if (lead >= 0xC2 && lead <= 0xF4 && next >= 0x80 && next <= 0xBF) return true;
  }
  return false;
}

class PrintDictionaryTest : public ::testing::Test {
 protected:
  EngineState state;
  PrintDictionary& dictionary = PrintDictionary::getInstance();
};

TEST_F(PrintDictionaryTest, DefaultsAreTheWindows1250FormsOfThePhrases) {
  ASSERT_EQ(sizeof kPhrases / sizeof kPhrases[0], EngineState::kDefaultPhraseCount);
  for (uint32_t i = 0; i < EngineState::kDefaultPhraseCount; ++i) {
    const Phrase& p = kPhrases[i];
    ASSERT_EQ(p.number, i);
    EXPECT_EQ(static_cast<uint32_t>(p.id), p.number) << p.utf8;
    const std::string bytes = PrintDictionary::phrase(p.id);
    EXPECT_FALSE(hasUtf8Sequence(bytes)) << p.number;
    EXPECT_EQ(fromWindows1250(bytes), p.utf8) << p.number;
  }
  // A few bytes spelled out: the same letter in both encodings differs.
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_SALE), "SPRZEDA\xAF");
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_CLOSING_DAY_TITLE), "ZAMKNI\xCA" "CIE DNIA");
}

TEST_F(PrintDictionaryTest, DccDefaultsAndSetUnderTheSwitch) {
  dictionary.setDcc(true);
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_SALE), "SALE");
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_SIGNATURE_NOT_REQUIRED), "SIGNATURE NOT REQUIRED");
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_POS_ID), "POS ID");
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_MERCHANT_RECEIPT_EN), "MERCHANT RECEIPT");

  // A write goes to the id given, never to its English counterpart.
  dictionary.set(PR_DICT_SALE, "SPRZEDAZ");
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_SALE), "SALE");
  dictionary.set(PR_DICT_SALE_EN, "PURCHASE");
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_SALE), "PURCHASE");
  dictionary.setDcc(false);
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_SALE), "SPRZEDAZ");
}

TEST_F(PrintDictionaryTest, UnknownIdsReadEmptyUntilSet) {
  const pr_Dictionary ids[] = {static_cast<pr_Dictionary>(150), static_cast<pr_Dictionary>(0x7FFFFFFF),
                               static_cast<pr_Dictionary>(0xFFFFFFFFu)};
  for (const pr_Dictionary id : ids) {
    EXPECT_EQ(PrintDictionary::phrase(id), "") << id;
    dictionary.set(id, "host phrase");
    EXPECT_EQ(PrintDictionary::phrase(id), "host phrase") << id;
    dictionary.setDcc(true);
    EXPECT_EQ(PrintDictionary::phrase(id), "host phrase") << id;
    dictionary.setDcc(false);
  }
}

TEST_F(PrintDictionaryTest, LabelledTextsReadPhrasesWhenMade) {
  EXPECT_EQ(RawLineTexts::getPair(PR_DICT_DATE, PR_DICT_TIME), "DATA: GODZINA");
  EXPECT_EQ(RawLineTexts::getPair(PR_DICT_DATE, std::string("01.02.2024")), "DATA: 01.02.2024");
  const RawLineTexts mid(PR_DICT_MID, "X");
  EXPECT_EQ(mid.text1, "MID: ");
  EXPECT_EQ(mid.text2, "X");
  EXPECT_EQ(mid.text3, "");

  dictionary.setDcc(true);
  EXPECT_EQ(RawLineTexts::getPair(PR_DICT_DATE, PR_DICT_TIME), "DATE: HOUR");
  EXPECT_EQ(RawLineTexts(PR_DICT_AMOUNT, "1,00").text1, "AMOUNT: ");
}

}  // namespace
}  // namespace zq::app::printouts

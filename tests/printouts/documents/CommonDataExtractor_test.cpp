// The common transaction facts: each getter's value, its default and its log
// line when the reader fails, and the two lines it prints.
#include "printouts/documents/CommonDataExtractor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "printouts/documents/DocumentsFixture.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using zq::test::Bytes;
using zq::test::bytesOf;
using CommonDataTest = zq::test::DocumentsTest;

TEST_F(CommonDataTest, TransactionTypeOfAReversalIsTheOriginalType) {
  const struct {
    const char* type;
    const char* original;  // nullptr: absent
    ecr_transactionType expected;
  } cases[] = {
      {"0", nullptr, ECR_TRANSACTION_PURCHASE},
      {"4", "0", ECR_TRANSACTION_REFUND},
      {"5", "0", ECR_TRANSACTION_PURCHASE},
      {"5", nullptr, ECR_TRANSACTION_NONE},
  };
  CommonDataExtractor extractor;
  for (const auto& c : cases) {
    clearStore();
    setText(TAG_TRANSACTION_TYPE, c.type);
    if (c.original) setText(TAG_ORIGINAL_TRANSACTION_TYPE, c.original);
    EXPECT_EQ(extractor.getTransType(ecr), c.expected) << c.type;
  }
}

TEST_F(CommonDataTest, GettersAnswerTheirDefaultsWhenTheContextCannotBeRead) {
  CommonDataExtractor extractor;
  EXPECT_EQ(extractor.getTransType(nullptr), ECR_TRANSACTION_NONE);
  EXPECT_EQ(extractor.getOriginalTransType(nullptr), ECR_TRANSACTION_NONE);
  EXPECT_EQ(extractor.getCardReaderType(nullptr), CARD_READER_UNKNOWN);
  EXPECT_EQ(extractor.getCardReaderName(nullptr), "?");
  EXPECT_EQ(extractor.getAuthorizationMethod(nullptr), AUTHORIZATION_METHOD_UNKNOWN);
  EXPECT_EQ(extractor.getBatchStatus(nullptr), ECR_BATCH_STATUS_UNKNOWN);
  EXPECT_EQ(extractor.getTransactionDate(nullptr), "?");
  EXPECT_EQ(extractor.getTransactionTime(nullptr), "?");
  EXPECT_EQ(extractor.getReportTitle(nullptr), "?");
  EXPECT_FALSE(extractor.isTransactionSuccessful(nullptr));
  EXPECT_FALSE(extractor.isDccPrintout(nullptr));
  EXPECT_FALSE(extractor.isMultilangPrintout(nullptr));
  EXPECT_FALSE(extractor.isBlikTransaction(nullptr));
  for (const char* line :
       {"Unable to get transaction type, status 0x06", "Unable to get original transaction type, status 0x06",
        "Unable to get used reader, status 0x06", "Unable to get authorization message, status 0x06",
        "Unable to get batch status, status 0x06", "Unable to get transaction date, status 0x06",
        "Unable to get transaction time, status 0x06", "Report title is missing, status 0x06",
        "Unable to get transaction status"}) {
    EXPECT_TRUE(busLogged(line)) << line;
  }
}

TEST_F(CommonDataTest, ReaderNamesFollowTheDictionary) {
  const struct {
    const char* letter;  // nullptr: absent
    const char* name;
  } cases[] = {{"B", "B"}, {"M", "M"}, {"C", "C"}, {"P", "P"}, {"X", "?"}, {nullptr, "?"}};
  CommonDataExtractor extractor;
  for (const auto& c : cases) {
    clearStore();
    if (c.letter) setText(TAG_USED_READER, c.letter);
    EXPECT_EQ(extractor.getCardReaderName(ecr), c.name) << (c.letter ? c.letter : "absent");
  }
  setText(TAG_USED_READER, "B");
  setPhrase(PR_DICT_READER_TYPE_0, "CTLS");
  EXPECT_EQ(extractor.getCardReaderName(ecr), "CTLS");
}

TEST_F(CommonDataTest, DateAndTimeAreLaidOutOrFallBack) {
  CommonDataExtractor extractor;
  set(TAG_TRANSACTION_DATE, {0x24, 0x03, 0x07});
  set(TAG_TRANSACTION_TIME, {0x13, 0x05, 0x59});
  EXPECT_EQ(extractor.getTransactionDate(ecr), "07.03.2024");
  EXPECT_EQ(extractor.getTransactionTime(ecr), "13:05:59");
  EXPECT_TRUE(devLogged("Transaction date: 2024-03-07"));
  EXPECT_TRUE(devLogged("Transaction time: 13:05:59"));

  set(TAG_TRANSACTION_DATE, {0x24, 0x03});
  EXPECT_EQ(extractor.getTransactionDate(ecr), "?");
  EXPECT_TRUE(busLogged("Unable to get transaction date, status 0x01"));
  clearStore();
  EXPECT_EQ(extractor.getTransactionTime(ecr), "?");
  EXPECT_TRUE(busLogged("Unable to get transaction time, status 0x05"));
}

TEST_F(CommonDataTest, ReportTitleIsEmptyWithoutAReport) {
  CommonDataExtractor extractor;
  EXPECT_EQ(extractor.getReportTitle(ecr), "");
  EXPECT_TRUE(busLogged("Report title not available"));

  store().getReportCtx().setReportSummary("DAILY REPORT,SALE|1|100");
  EXPECT_EQ(extractor.getReportTitle(ecr), "DAILY REPORT");

  store().getReportCtx().setReportSummary(std::string(65, 'T') + ",SALE|1|100");
  EXPECT_EQ(extractor.getReportTitle(ecr), "?");
  EXPECT_TRUE(busLogged("Report title is missing, status 0x04"));
}

TEST_F(CommonDataTest, NumberToReverseIsTheStoredOneOrThePreviousTransaction) {
  const struct {
    const char* toReverse;  // nullptr: absent
    const char* number;     // nullptr: absent
    const char* expected;
  } cases[] = {
      {"000042", "000124", "000042"}, {"000000", "000124", "000123"}, {nullptr, "1234567", "1234566"},
      {nullptr, "1", "000000"},       {"000000", "12A", "?"},        {nullptr, "0", "?"},
      {nullptr, nullptr, "?"},
  };
  for (const auto& c : cases) {
    clearStore();
    if (c.toReverse) setText(TAG_TRANSACTION_TO_REVERSE, c.toReverse);
    if (c.number) setText(TAG_TRANSACTION_NUMBER, c.number);
    CommonDataExtractor extractor;
    EXPECT_EQ(extractor.getTransactionNumberToReverse(ecr), c.expected)
        << (c.toReverse ? c.toReverse : "-") << " " << (c.number ? c.number : "-");
  }
  // The last case: both reads logged, then the number error.
  EXPECT_TRUE(busLogged("Unable to get tag 0x009FD40D, status 0x05"));
  EXPECT_TRUE(busLogged("Unable to get tag 0x009FD401, status 0x05"));
  EXPECT_TRUE(devLogged("Unable to get transaction number"));
}

TEST_F(CommonDataTest, FlagsFollowTheStore) {
  CommonDataExtractor extractor;
  setText(TAG_TRANSACTION_RETURN_CODE, "0");
  EXPECT_TRUE(extractor.isTransactionSuccessful(ecr));
  setText(TAG_TRANSACTION_RETURN_CODE, "1");
  EXPECT_FALSE(extractor.isTransactionSuccessful(ecr));

  EXPECT_FALSE(extractor.isDccPrintout(ecr));
  set(TAG_EXCHANGE_RATE, Bytes(32, '1'));
  EXPECT_TRUE(extractor.isDccPrintout(ecr));
  set(TAG_EXCHANGE_RATE, Bytes(33, '1'));
  EXPECT_FALSE(extractor.isDccPrintout(ecr));

  EXPECT_FALSE(extractor.isBlikTransaction(ecr));
  setText(TAG_BLIK_ENTERED_CODE, "123456");
  EXPECT_TRUE(extractor.isBlikTransaction(ecr));

  EXPECT_FALSE(extractor.isMultilangPrintout(ecr));
}

TEST_F(CommonDataTest, TransactionTypeHeadingIsOneBigBoldLine) {
  const struct {
    int type;
    const char* text;
  } cases[] = {
      {0, "SPRZEDA\xAF"},       {1, "CASHBACK"},     {2, "PREAUTORYZACJA"},
      {3, "DOPE\xA3NIENIE"},    {4, "ZWROT"},        {5, "UNIEWA\xAFNIENIE"},
      {6, "AKTYWACJA"},         {7, "SALDO"},        {8, "ROZLICZENIE"},
      {9, "TEST PO\xA3\xA5" "CZENIA"}, {10, "AKTUALIZACJA"}, {11, "DO\xA3" "ADOWANIE"},
      {12, ""},                 {13, "?"},           {99, ""},
  };
  for (const auto& c : cases) {
    clearLines();
    CommonDataExtractor::addTransTypeToPrintout(static_cast<ecr_transactionType>(c.type));
    ASSERT_EQ(printout.lines.size(), 1u) << c.type;
    const std::string line = trimmedTexts()[0];
    EXPECT_EQ(line.substr(std::min(line.size(), line.find_first_not_of(' '))), c.text) << c.type;
    EXPECT_EQ(printout.lines[0].bold, 1u);
  }
}

TEST_F(CommonDataTest, AdditionalPrintoutDataIsOneLeftLine) {
  CommonDataExtractor::addAdditionalPrintoutDataToPrintout(ecr);
  EXPECT_TRUE(printout.lines.empty());

  const std::string full(64, 'D');
  setText(TAG_ADDITIONAL_PRINTOUT_DATA_FROM_ECR, full);
  CommonDataExtractor::addAdditionalPrintoutDataToPrintout(ecr);
  setText(TAG_ADDITIONAL_PRINTOUT_DATA_FROM_ECR, full + "XYZ");
  CommonDataExtractor::addAdditionalPrintoutDataToPrintout(ecr);
  setText(TAG_ADDITIONAL_PRINTOUT_DATA_FROM_ECR, "Zam\xF3wienie 12");
  CommonDataExtractor::addAdditionalPrintoutDataToPrintout(ecr);
  EXPECT_EQ(trimmedTexts(), (std::vector<std::string>{full, full, "Zam\xF3wienie 12"}));
}

}  // namespace

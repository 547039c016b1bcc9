// Transaction data as the terminal reports it: the end data "22", the last
// transaction "27" and one transaction of the batch "24", with the details
// text and the terminal's private data, and the e-voucher details.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/EndDataReadMessage.h"
#include "protocol/LastTransactionDataMessage.h"
#include "protocol/SingleTranFromBatchMessage.h"
#include "protocol/TransactionDetailsParser.h"
#include "protocol/message_session.h"

namespace zq::app::protocols::testing {
namespace {

const char* const kAbsent = "<absent>";
const Result kParseFailed(utils::RESULT_COMM_ERROR, "Unable to parse POS response");

std::string join(const std::vector<std::string>& fields) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + fields[i];
  return out;
}

std::vector<unsigned char> reply(const char* id, const std::vector<std::string>& fields) {
  std::vector<unsigned char> out = TerminalSimulator::fields({id, "0"});
  for (const std::string& field : fields) {
    out.push_back(TerminalSimulator::FS);
    out.insert(out.end(), field.begin(), field.end());
  }
  return out;
}

const std::vector<std::string> kFullDetails = {
    "A1B2C3",           "",                 "M123",           "************1234",
    "2023-05-17",       "09:05:00",         "VISA CREDIT",    "C",
    "T456",             "000001",           "1",              "1250",
    "1",                "0012",             "1122334455667788", "A0000000031010",
    "R-123456",         "T0000008000",      "E800",           "Groceries",
    "1",                "PLN",              "EUR",            "000000001234",
    "4.3210",           "DCC text one",     "DCC text two",   "500",
    "000000010000",     "2"};

struct StoredTag {
  tlv::TlvTag tag;
  Bytes value;  // empty: absent
};

TEST(TransactionData, EndDataWithFullDetailsAndPrivateData) {
  // DF01 (a private tag) is kept; 9F99 is no private tag and is skipped.
  const std::string details = join(kFullDetails) + ",DF0103414243" "9F990101";
  TerminalSimulator terminal;
  terminal.addStep(TerminalSimulator::step(TerminalSimulator::fields({"22", "1"}),
                                           reply("22", {"1", "0", "123", details})));
  Session library(terminal);
  library.api().setTagValue(TAG_AUTHORIZATION_CODE, bytesOf("stale"));

  EXPECT_TRUE(library
                  .exchange([&] {
                    return new EndDataReadMessage(library.maintenance(), library.transaction());
                  })
                  .isOk());
  EXPECT_TRUE(terminal.mismatches().empty());

  EXPECT_EQ(library.tag(TAG_TRANSACTION_TYPE), "0");
  EXPECT_EQ(library.tag(TAG_TRANSACTION_RETURN_CODE), "0");
  EXPECT_EQ(library.tag(TAG_TRANSACTION_NUMBER), "123");
  EXPECT_EQ(library.tag(TAG_REVERSAL_INDICATOR), "0");
  const StoredTag expected[] = {
      {TAG_AUTHORIZATION_CODE, bytesOf("A1B2C3")},
      {TAG_SERVER_ERROR_MESSAGE, {}},
      {TAG_MID, bytesOf("M123")},
      {TAG_MASKED_PAN, bytesOf("************1234")},
      {TAG_TRANSACTION_DATE, {0x23, 0x05, 0x17}},
      {TAG_TRANSACTION_TIME, {0x09, 0x05, 0x00}},
      {TAG_APP_PREFERRED_NAME, bytesOf("VISA CREDIT")},
      {TAG_USED_READER, bytesOf("C")},
      {TAG_TID, bytesOf("T456")},
      {TAG_AUTHORIZATION_MESSAGE_NUMBER, bytesOf("000001")},
      {TAG_AUTHORIZATION_TYPE, bytesOf("1")},
      {TAG_AMOUNT, {0x12, 0x50}},
      {TAG_AUTHORIZATION_METHOD, bytesOf("1")},
      {TAG_ATC, {0x00, 0x12}},
      {TAG_AC, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}},
      {TAG_AID, {0xA0, 0x00, 0x00, 0x00, 0x03, 0x10, 0x10}},
      {TAG_TRANSACTION_REFERENCE_NUMBER, bytesOf("123456")},
      {TAG_TVR, {0x00, 0x00, 0x00, 0x80, 0x00}},
      {TAG_TSI, {0xE8, 0x00}},
      {TAG_TRANSACTION_TITLE, bytesOf("Groceries")},
      {TAG_PRINTING_INDICATOR, bytesOf("1")},
      {TAG_TRANSACTION_CURRENCY, {0x09, 0x85}},
      {TAG_TERMINAL_CURRENCY, {0x09, 0x78}},
      {TAG_AMOUNT_IN_TERMINAL_CURRENCY, {0x00, 0x00, 0x00, 0x00, 0x12, 0x34}},
      {TAG_EXCHANGE_RATE, bytesOf("4.3210")},
      {TAG_DCC_TEXT_1, bytesOf("DCC text one")},
      {TAG_DCC_TEXT_2, bytesOf("DCC text two")},
      {TAG_CASHBACK_AMOUNT, {0x05, 0x00}},
      {TAG_VLP_LIMIT, {0x00, 0x00, 0x00, 0x01, 0x00, 0x00}},
      {TAG_CURRENCY_EXPONENT, {0x02}},
      {0xDF01, bytesOf("ABC")},
      {0x9F99, {}},
  };
  for (const StoredTag& t : expected) {
    EXPECT_EQ(library.tagBytes(t.tag), t.value) << "tag " << std::hex << t.tag;
  }
}

struct KindCase {
  const char* kind;
  const char* type;
  const char* original;
  const char* reversal;
};

TEST(TransactionData, KindsAndReversalsOfTheLastTransaction) {
  const KindCase cases[] = {
      {"1", "0", kAbsent, "0"},    {"3", "1", kAbsent, "0"},   {"10", "5", kAbsent, "0"},
      {"11", "12", kAbsent, "0"},  {"31", "8", kAbsent, "0"},  {"44", "11", kAbsent, "0"},
      {"7", "13", kAbsent, "0"},   {"129", "5", "0", "1"},     {"134", "5", "4", "1"},
      {"128", "5", "13", "1"},     {"138", "5", "13", "1"},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.kind);
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::step(TerminalSimulator::fields({"27", "1"}),
                                             reply("27", {c.kind, "0"})));
    Session library(terminal);
    // The request's own tags stay; the previous transaction's answers go.
    library.api().setTransactionAmount({0x12, 0x50});
    library.api().setTagValue(TAG_MASKED_PAN, bytesOf("stale"));
    library.api().setTagValue(TAG_ORIGINAL_TRANSACTION_TYPE, bytesOf("3"));

    EXPECT_TRUE(library
                    .exchange([&] {
                      return new LastTransactionDataMessage(library.maintenance(),
                                                            library.transaction());
                    })
                    .isOk());
    EXPECT_EQ(library.tag(TAG_TRANSACTION_TYPE), c.type);
    EXPECT_EQ(library.tag(TAG_ORIGINAL_TRANSACTION_TYPE), c.original);
    EXPECT_EQ(library.tag(TAG_REVERSAL_INDICATOR), c.reversal);
    EXPECT_EQ(library.tag(TAG_TRANSACTION_RETURN_CODE), "0");
    EXPECT_EQ(library.tag(TAG_TRANSACTION_NUMBER), kAbsent);
    EXPECT_EQ(library.tag(TAG_MASKED_PAN), kAbsent);
    EXPECT_EQ(library.tagBytes(TAG_AMOUNT), (Bytes{0x12, 0x50}));
  }
}

struct ReplyCase {
  const char* name;
  std::vector<std::string> fields;
  std::string error;
};

// The kind of a reply becomes the type the next request is built from, so a
// reply that fails must leave the store exactly as it was.
TEST(TransactionData, AReplyThatFailsLeavesTheStoreAsItWas) {
  const ReplyCase cases[] = {
      {"no kind", {}, "Unable to extract transaction type"},
      {"no return code", {"1"}, "Unable to extract transaction return code"},
      {"number without details", {"1", "0", "77"}, "Unable to extract transaction details"},
      {"number not a number", {"1", "0", "7x", ""}, "Unable to extract transaction number"},
      // "1" FS "0" with the separator lost: the kind reads as 10, a reversal.
      {"a separator lost", {"10", "42", join(kFullDetails)}, "0x41 id not a digit"},
  };
  for (const ReplyCase& c : cases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::anyRequest(reply("22", c.fields)));
    Session library(terminal);
    library.api().setTagValue(TAG_TRANSACTION_TYPE, bytesOf("0"));
    library.api().setTagValue(TAG_TRANSACTION_NUMBER, bytesOf("5"));
    library.api().setTagValue(TAG_AUTHORIZATION_CODE, bytesOf("OLD"));
    EXPECT_EQ(library.exchange([&] {
      return new EndDataReadMessage(library.maintenance(), library.transaction());
    }),
              kParseFailed);
    EXPECT_TRUE(logged(kErrorPriority, c.error))
        << ::testing::PrintToString(developerLines(kErrorPriority));
    EXPECT_EQ(library.tag(TAG_TRANSACTION_TYPE), "0");
    EXPECT_EQ(library.tag(TAG_TRANSACTION_NUMBER), "5");
    EXPECT_EQ(library.tag(TAG_AUTHORIZATION_CODE), "OLD");
    EXPECT_EQ(library.tag(TAG_REVERSAL_INDICATOR), kAbsent);
    EXPECT_EQ(library.tag(TAG_TRANSACTION_RETURN_CODE), kAbsent);
  }
}

std::vector<std::string> detailsWith(std::initializer_list<std::pair<size_t, std::string>> set) {
  std::vector<std::string> fields(30);
  for (const auto& field : set) fields[field.first - 1] = field.second;
  return fields;
}

struct DetailsCase {
  const char* name;
  std::string details;
  std::vector<std::pair<tlv::TlvTag, std::string>> text;   // tags read as text
  std::vector<StoredTag> bytes;                            // tags read as bytes
};

// Before each details text the store holds the request's MID and TID and a
// private tag of an earlier transaction, which clearing removes.
TEST(TransactionData, DetailsFieldsLandInTheirOwnTags) {
  const DetailsCase cases[] = {
      {"three fields: the rest is untouched",
       "A1,,M999",
       {{TAG_AUTHORIZATION_CODE, "A1"},
        {TAG_SERVER_ERROR_MESSAGE, kAbsent},
        {TAG_MID, "M999"},
        {TAG_TID, "T-REQUEST"}},
       {{0xDF02, {}}}},
      {"an empty field keeps what the tag held",
       join(detailsWith({{1, "A1"}})) + ",",
       {{TAG_MID, "M-REQUEST"}, {TAG_TID, "T-REQUEST"}},
       {}},
      // An empty TVR must not swallow its ',' and push the TSI into it.
      {"empty TVR",
       join(detailsWith({{17, "R-1"}, {19, "E800"}, {20, "Title"}})),
       {{TAG_TRANSACTION_REFERENCE_NUMBER, "1"}, {TAG_TRANSACTION_TITLE, "Title"}},
       {{TAG_TVR, {}}, {TAG_TSI, {0xE8, 0x00}}}},
      {"one-character reference number and TVR",
       join(detailsWith({{17, "R"}, {18, "T"}, {19, "E800"}, {20, "Title"}})),
       {{TAG_TRANSACTION_REFERENCE_NUMBER, kAbsent}, {TAG_TRANSACTION_TITLE, "Title"}},
       {{TAG_TVR, {}}, {TAG_TSI, {0xE8, 0x00}}}},
      {"empty reference number",
       join(detailsWith({{18, "T0000008000"}, {19, "E800"}})),
       {{TAG_TRANSACTION_REFERENCE_NUMBER, kAbsent}},
       {{TAG_TVR, {0x00, 0x00, 0x00, 0x80, 0x00}}, {TAG_TSI, {0xE8, 0x00}}}},
      {"text ending with ',' after field 16 stops there",
       "A1,,,,,,,,,,,,,,,A0000000031010,",
       {{TAG_AUTHORIZATION_CODE, "A1"}, {TAG_TRANSACTION_REFERENCE_NUMBER, kAbsent}},
       {{TAG_AID, {0xA0, 0x00, 0x00, 0x00, 0x03, 0x10, 0x10}}, {0xDF02, {}}}},
      {"separators of the date are not checked, a seven-character time stores nothing",
       join(detailsWith({{5, "2023/05/17"}, {6, "9:05:00"}})),
       {},
       {{TAG_TRANSACTION_DATE, {0x23, 0x05, 0x17}}, {TAG_TRANSACTION_TIME, {}}}},
      {"short date, letter in the time",
       join(detailsWith({{5, "23-05-17"}, {6, "09:0A:00"}})),
       {},
       {{TAG_TRANSACTION_DATE, {}}, {TAG_TRANSACTION_TIME, {}}}},
      {"bad BCD, hex and currency leave their tags absent",
       join(detailsWith({{3, "M1"}, {12, "12.50"}, {14, "00G1"}, {22, "XYZ"}, {23, "PLN"}})),
       {{TAG_MID, "M1"}},
       {{TAG_AMOUNT, {}},
        {TAG_ATC, {}},
        {TAG_TRANSACTION_CURRENCY, {}},
        {TAG_TERMINAL_CURRENCY, {0x09, 0x85}}}},
      {"thirty fields without the final ',' carry no private data",
       join(detailsWith({{30, "2"}})),
       {},
       {{TAG_CURRENCY_EXPONENT, {0x02}}, {0xDF02, {}}}},
      {"private data after thirty fields",
       join(detailsWith({{30, "2"}})) + ",DF020131",
       {},
       {{TAG_CURRENCY_EXPONENT, {0x02}}, {0xDF02, {0x31}}}},
  };
  for (const DetailsCase& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    Session library(terminal);
    library.api().setTransactionAmount({0x99});
    library.api().setTagValue(TAG_MID, bytesOf("M-REQUEST"));
    library.api().setTagValue(TAG_TID, bytesOf("T-REQUEST"));
    library.transaction().clearTransactionTags();
    library.transaction().setTransactionDetails(c.details);
    for (const auto& t : c.text) {
      EXPECT_EQ(library.tag(t.first), t.second) << "tag " << std::hex << t.first;
    }
    for (const StoredTag& t : c.bytes) {
      EXPECT_EQ(library.tagBytes(t.tag), t.value) << "tag " << std::hex << t.tag;
    }
  }
}

TEST(TransactionData, DateAndTimeConverters) {
  recordDeveloperLog();
  EXPECT_EQ(extractDate("2023-05-17"), (Bytes{0x23, 0x05, 0x17}));
  EXPECT_EQ(extractTime("23:59:07"), (Bytes{0x23, 0x59, 0x07}));
  EXPECT_TRUE(extractDate("2023-5-17").empty());
  EXPECT_TRUE(extractTime("9:05:00").empty());
  EXPECT_TRUE(extractTime("").empty());
  EXPECT_TRUE(logged(kErrorPriority, "Unable to get transaction date from string 2023-5-17"));
  EXPECT_TRUE(logged(kErrorPriority, "Unable to get transaction time from string 9:05:00"));
}

TEST(TransactionData, OneTransactionOfTheBatchByItsIndex) {
  recordDeveloperLog();
  TerminalSimulator terminal;
  terminal.addStep(TerminalSimulator::step(TerminalSimulator::fields({"24", "1", "42"}),
                                           reply("24", {"6", "0", "17", "A9,,M5"})));
  Session library(terminal);
  auto message = [&] {
    return new SingleTranFromBatchMessage(library.maintenance(), library.transaction());
  };

  EXPECT_EQ(library.exchange(message),
            Result(utils::RESULT_ARGUMENT_MISSING, "Unable to build Talvoren message"));
  EXPECT_TRUE(logged(kErrorPriority, "Transaction index missing"));
  EXPECT_TRUE(terminal.received().empty());

  library.api().setTransactionIndex(42);
  EXPECT_TRUE(library.exchange(message).isOk());
  EXPECT_TRUE(terminal.mismatches().empty());
  EXPECT_EQ(library.tag(TAG_TRANSACTION_TYPE), "4");
  EXPECT_EQ(library.tag(TAG_TRANSACTION_NUMBER), "17");
  EXPECT_EQ(library.tag(TAG_AUTHORIZATION_CODE), "A9");
  EXPECT_EQ(library.tag(TAG_MID), "M5");
}

TEST(EvoucherDetails, TwentyThreeTextFieldsAndNothingMore) {
  const tlv::TlvTag tags[] = {0x9FE013, 0x9FE014, 0x9FE015, 0x9FE016, 0x9FE017, 0x9FE018,
                              0x9FE019, 0x9FE01A, 0x9FE01B, 0x9FE01C, 0x9FE01D, 0x9FE01E,
                              0x9FE01F, 0x9FE021, 0x9FE022, 0x9FE023, 0x9FE024, 0x9FE025,
                              0x9FE026, 0x9FE027, 0x9FE028, 0x9FE029, 0x9FE02A};
  std::vector<std::string> fields;
  for (size_t i = 0; i < std::size(tags); ++i) fields.push_back("v" + std::to_string(i + 1));
  fields[5] = "";
  TerminalSimulator terminal;
  Session library(terminal);
  // Nothing after the 23rd field is read, not even as private data.
  library.transaction().setEvoucherTransactionDetails(join(fields) + ",DF020131");
  for (size_t i = 0; i < std::size(tags); ++i) {
    EXPECT_EQ(library.tag(tags[i]), i == 5 ? kAbsent : fields[i]) << "field " << i + 1;
  }
  EXPECT_EQ(library.tag(0xDF02), kAbsent);

  library.transaction().clearTransactionTags();
  library.transaction().setEvoucherTransactionDetails("a,b");
  EXPECT_EQ(library.tag(0x9FE014), "b");
  EXPECT_EQ(library.tag(0x9FE015), kAbsent);
}

}  // namespace
}  // namespace zq::app::protocols::testing

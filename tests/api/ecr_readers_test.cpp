// The result readers, fed straight from the protocol's store: every output
// buffer is filled with a sentinel first, so a reader that writes on failure
// or past what it reports is caught.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "api/EcrCtx.h"
#include "api/EcrTestHelpers.h"
#include "protocol/TalvorenProtocol.h"
#include "zumbra_ecr.h"

namespace {

using Bytes = std::vector<unsigned char>;
using namespace zq::app::tlv;
using zq::test::hostLinesWith;
using zq::test::journal;

constexpr unsigned char kSentinel = 0xA5;
constexpr size_t kRoom = 128;

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// One BER-TLV item with a tag of one to three bytes and a short length.
Bytes item(uint32_t tag, const Bytes& value) {
  Bytes out;
  if (tag > 0xFFFF) out.push_back(static_cast<unsigned char>(tag >> 16));
  if (tag > 0xFF) out.push_back(static_cast<unsigned char>(tag >> 8));
  out.push_back(static_cast<unsigned char>(tag));
  out.push_back(static_cast<unsigned char>(value.size()));
  out.insert(out.end(), value.begin(), value.end());
  return out;
}

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class ReadersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zq::test::recordHostLogs();
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
    ecr_setProtocol(ctx, 0);
    // A refused link still counts: the readers never talk to the terminal.
    ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", zq::test::refusedPort(), 300), ECR_COMM_ERROR);
    resetBuffer();
    journal().clear();
  }
  void TearDown() override { ecr_cleanup(&ctx); }

  zq::app::protocols::TalvorenCtx& store() {
    return static_cast<zq::app::protocols::TalvorenProtocol*>(ctx->protocol.get())->getCtx();
  }
  void set(TlvTag tag, const Bytes& value) {
    ASSERT_TRUE(store().getApiCtx().setTagValue(tag, value));
  }
  void clearStore() {
    ecr_setProtocol(ctx, 0);
    resetBuffer();
  }
  void resetBuffer() { std::memset(buffer, kSentinel, sizeof buffer); }
  bool untouchedFrom(size_t from) const {
    for (size_t i = from; i < sizeof buffer; ++i)
      if (buffer[i] != kSentinel) return false;
    return true;
  }
  char* chars() { return reinterpret_cast<char*>(buffer); }
  bool logged(const std::string& message) { return !hostLinesWith("bus", message).empty(); }
  bool loggedDev(const std::string& message) { return !hostLinesWith("dev", message).empty(); }

  EcrCtx_s* ctx = nullptr;
  unsigned char buffer[kRoom];
};

// ---- typed getters ----

TEST_F(ReadersTest, TypedGettersAnswerTheStoredValueOrTheirDefault) {
  using Read = ecr_status (*)(EcrCtx_s*, uint32_t*);
  struct Case {
    const char* name;
    Read read;
    TlvTag tag;  // 0: nothing stored
    Bytes value;
    uint32_t expected;
  };
  auto as = [](auto f) { return reinterpret_cast<Read>(f); };
  const Case cases[] = {
      {"type purchase", as(ecr_readTransactionType), TAG_TRANSACTION_TYPE, text("0"), 0},
      {"type e-voucher", as(ecr_readTransactionType), TAG_TRANSACTION_TYPE, text("12"), 12},
      {"type unknown number", as(ecr_readTransactionType), TAG_TRANSACTION_TYPE, text("13"), 13},
      {"type absent", as(ecr_readTransactionType), 0, {}, 13},
      {"original refund", as(ecr_readOriginalTransactionType), TAG_ORIGINAL_TRANSACTION_TYPE,
       text("4"), 4},
      {"original not reversible", as(ecr_readOriginalTransactionType),
       TAG_ORIGINAL_TRANSACTION_TYPE, text("5"), 13},
      {"reader chip", as(ecr_readUsedCardReaderType), TAG_USED_READER, text("C"), 2},
      {"reader absent", as(ecr_readUsedCardReaderType), 0, {}, 4},
      {"authorization '3'", as(ecr_readAuthorizationType), TAG_AUTHORIZATION_TYPE, text("3"), 2},
      {"method PIN", as(ecr_readAuthorizationMethod), TAG_AUTHORIZATION_METHOD, text("A"), 1},
      {"cryptogram TC", as(ecr_readEmvCryptogramType), TAG_EMV_CRYPTOGRAM_TYPE, {0x40}, 1},
      {"batch status 2", as(ecr_readBatchStatus), TAG_BATCH_STATUS, text("2"), 1},
      {"batch status absent", as(ecr_readBatchStatus), 0, {}, 4},
      {"terminal status before any reply", as(ecr_readTerminalStatus), 0, {}, 21},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    if (c.tag != 0) set(c.tag, c.value);
    uint32_t out = 0xDEADBEEF;
    EXPECT_EQ(c.read(ctx, &out), ECR_OK);
    EXPECT_EQ(out, c.expected);
  }
}

TEST_F(ReadersTest, FlagsAnswerTheStoredValueOrTheirDefault) {
  struct Case {
    const char* name;
    ecr_status (*read)(EcrCtx_s*, bool*);
    TlvTag tag;
    Bytes value;
    bool expected;
    const char* line;
  };
  const Case cases[] = {
      {"printed when nothing said", ecr_readIfTerminalMadePrinout, 0, {}, true,
       "Terminal did make printout"},
      {"not printed", ecr_readIfTerminalMadePrinout, TAG_PRINTING_INDICATOR, text("0"), false,
       "Terminal did not make printout"},
      {"multilanguage", ecr_readIfMultilanguagePrintoutIsRequired, TAG_ADDITIONAL_TRANSACTION_FLAG,
       {0x01}, true, "Multilanguage printout is required"},
      {"manual reversal", ecr_readIfReversalWasManual, TAG_ADDITIONAL_TRANSACTION_FLAG, {0x02},
       true, "Transaction was a manual reversal"},
      {"not manual", ecr_readIfReversalWasManual, TAG_ADDITIONAL_TRANSACTION_FLAG, {0x01}, false,
       "Transaction was not a manual reversal"},
      {"reversal", ecr_readIfTransactionWasReversal, TAG_REVERSAL_INDICATOR, text("1"), true,
       "Transaction is a reversal"},
      {"no reversal", ecr_readIfTransactionWasReversal, 0, {}, false,
       "Transaction is not a reversal"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    journal().clear();
    if (c.tag != 0) set(c.tag, c.value);
    bool out = !c.expected;
    EXPECT_EQ(c.read(ctx, &out), ECR_OK);
    EXPECT_EQ(out, c.expected);
    EXPECT_TRUE(logged(c.line));
  }
}

// ---- single tags as text ----

using TextRead = ecr_status (*)(EcrCtx_s*, char*);

struct TextCase {
  const char* name;
  TextRead read;
  TlvTag tag;
  Bytes value;
  ecr_status expected;
  const char* text;  // on success: the text written before its NUL
};

TEST_F(ReadersTest, TextReadersConvertOrWriteNothing) {
  const Bytes nineBytes(9, 0x11);
  const TextCase cases[] = {
      {"date this century", ecr_readTransactionDate, TAG_TRANSACTION_DATE, {0x24, 0x03, 0x15},
       ECR_OK, "2024-03-15"},
      {"date year 49", ecr_readTransactionDate, TAG_TRANSACTION_DATE, {0x49, 0x12, 0x31}, ECR_OK,
       "2049-12-31"},
      {"date year 50", ecr_readTransactionDate, TAG_TRANSACTION_DATE, {0x50, 0x01, 0x01}, ECR_OK,
       "1950-01-01"},
      {"date year 99", ecr_readTransactionDate, TAG_TRANSACTION_DATE, {0x99, 0x07, 0x04}, ECR_OK,
       "1999-07-04"},
      {"date of 4 bytes", ecr_readTransactionDate, TAG_TRANSACTION_DATE, {0x24, 0x03, 0x15, 0x00},
       ECR_ERROR, nullptr},
      {"date of 2 bytes", ecr_readTransactionDate, TAG_TRANSACTION_DATE, {0x24, 0x03}, ECR_ERROR,
       nullptr},
      {"time", ecr_readTransactionTime, TAG_TRANSACTION_TIME, {0x13, 0x05, 0x09}, ECR_OK,
       "13:05:09"},
      {"time of 4 bytes", ecr_readTransactionTime, TAG_TRANSACTION_TIME, {1, 2, 3, 4}, ECR_ERROR,
       nullptr},
      {"cryptogram of 8 bytes", ecr_readTransactionCryptogram, TAG_AC,
       {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}, ECR_OK, "0123456789ABCDEF"},
      {"cryptogram of 9 bytes", ecr_readTransactionCryptogram, TAG_AC, nineBytes, ECR_ERROR,
       nullptr},
      {"counter", ecr_readTransactionCounter, TAG_ATC, {0x00, 0x2A}, ECR_OK, "002A"},
      {"counter of 3 bytes", ecr_readTransactionCounter, TAG_ATC, {1, 2, 3}, ECR_ERROR, nullptr},
      {"TVR", ecr_readTransactionTvr, TAG_TVR, {0x80, 0, 0, 0x80, 0x01}, ECR_OK, "8000008001"},
      {"TVR of 6 bytes", ecr_readTransactionTvr, TAG_TVR, {1, 2, 3, 4, 5, 6}, ECR_ERROR, nullptr},
      {"TSI", ecr_readTransactionTsi, TAG_TSI, {0xE8, 0x00}, ECR_OK, "E800"},
      {"TSI of 3 bytes", ecr_readTransactionTsi, TAG_TSI, {1, 2, 3}, ECR_ERROR, nullptr},
      {"AID of 16 bytes", ecr_readTransactionAid, TAG_AID, Bytes(16, 0xA0), ECR_OK,
       "A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0A0"},
      {"AID of 17 bytes", ecr_readTransactionAid, TAG_AID, Bytes(17, 0xA0), ECR_ERROR, nullptr},
      {"amount", ecr_readTransactionAmount, TAG_AMOUNT, {0, 0, 0, 0x01, 0x25, 0x00}, ECR_OK,
       "12500"},
      {"amount of 12 digits", ecr_readTransactionAmount, TAG_AMOUNT,
       {0x12, 0x34, 0x56, 0x78, 0x90, 0x12}, ECR_OK, "123456789012"},
      {"amount of 14 digits", ecr_readTransactionAmount, TAG_AMOUNT,
       {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}, ECR_ERROR, nullptr},
      {"amount of 7 bytes, 12 digits after the zeros", ecr_readTransactionAmount, TAG_AMOUNT,
       {0x00, 0x12, 0x34, 0x56, 0x78, 0x90, 0x12}, ECR_OK, "123456789012"},
      {"amount in terminal currency", ecr_readTransactionAmountInTerminalCurrency,
       TAG_AMOUNT_IN_TERMINAL_CURRENCY, {0, 0, 0, 0, 0x09, 0x99}, ECR_OK, "999"},
      {"amount in terminal currency too long", ecr_readTransactionAmountInTerminalCurrency,
       TAG_AMOUNT_IN_TERMINAL_CURRENCY, Bytes(7, 0x11), ECR_ERROR, nullptr},
      {"cashback", ecr_readTransactionCashback, TAG_CASHBACK_AMOUNT, {0, 0, 0, 0, 0x50, 0x00},
       ECR_OK, "5000"},
      {"cashback too long", ecr_readTransactionCashback, TAG_CASHBACK_AMOUNT, Bytes(7, 0x11),
       ECR_ERROR, nullptr},
      {"spending amount", ecr_readAosa, TAG_VLP_LIMIT, {0, 0, 0, 0x10, 0x00, 0x00}, ECR_OK,
       "100000"},
      {"spending amount too long", ecr_readAosa, TAG_VLP_LIMIT, Bytes(7, 0x11), ECR_ERROR, nullptr},
      {"tip", ecr_readTransactionAmountOfTip, TAG_AMOUNT_OF_TIP, text("000000000150"), ECR_OK,
       "000000000150"},
      {"tip of 13 bytes", ecr_readTransactionAmountOfTip, TAG_AMOUNT_OF_TIP, text("0000000001500"),
       ECR_ERROR, nullptr},
      {"printout data", ecr_readAdditionalPrintoutData, TAG_ADDITIONAL_PRINTOUT_DATA_FROM_ECR,
       text("Thank you"), ECR_OK, "Thank you"},
      {"transaction label", ecr_readTransactionCurrencyLabel, TAG_TRANSACTION_CURRENCY,
       {0x09, 0x85}, ECR_OK, "PLN"},
      {"transaction label unknown code", ecr_readTransactionCurrencyLabel,
       TAG_TRANSACTION_CURRENCY, {0x00, 0x01}, ECR_OK, ""},
      {"transaction label of 3 bytes", ecr_readTransactionCurrencyLabel, TAG_TRANSACTION_CURRENCY,
       {0x09, 0x85, 0x00}, ECR_ERROR, nullptr},
      {"terminal label", ecr_readTerminalCurrencyLabel, TAG_TERMINAL_CURRENCY, {0x09, 0x78},
       ECR_OK, "EUR"},
      {"terminal label of 1 byte", ecr_readTerminalCurrencyLabel, TAG_TERMINAL_CURRENCY, {0x09},
       ECR_ERROR, nullptr},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    set(c.tag, c.value);
    EXPECT_EQ(c.read(ctx, chars()), c.expected);
    if (c.expected == ECR_OK) {
      const size_t n = std::strlen(c.text);
      EXPECT_EQ(std::string(chars(), n), c.text);
      EXPECT_EQ(buffer[n], '\0');
      EXPECT_TRUE(untouchedFrom(n + 1));
    } else {
      EXPECT_TRUE(untouchedFrom(0));
    }
  }
}

// Each room the header names holds its reader's longest text and NUL
// exactly: a host that sizes its buffer by the name is never written past.
TEST_F(ReadersTest, LongestTextsFillTheRoomTheHeaderNames) {
  const Bytes bcd(6, 0x99);  // twelve digits
  const struct {
    TextRead read;
    TlvTag tag;
    Bytes longest;
    size_t room;
  } cases[] = {
      {ecr_readTransactionDate, TAG_TRANSACTION_DATE, {0x99, 0x12, 0x31}, ECR_TRANSACTION_DATE_SIZE},
      {ecr_readTransactionTime, TAG_TRANSACTION_TIME, {0x23, 0x59, 0x59}, ECR_TRANSACTION_TIME_SIZE},
      {ecr_readTransactionCryptogram, TAG_AC, Bytes(8, 0xAB), ECR_CRYPTOGRAM_SIZE},
      {ecr_readTransactionCounter, TAG_ATC, Bytes(2, 0xAB), ECR_TRANSACTION_COUNTER_SIZE},
      {ecr_readTransactionTvr, TAG_TVR, Bytes(5, 0xAB), ECR_TVR_SIZE},
      {ecr_readTransactionTsi, TAG_TSI, Bytes(2, 0xAB), ECR_TSI_SIZE},
      {ecr_readTransactionAid, TAG_AID, Bytes(16, 0xAB), ECR_AID_SIZE},
      {ecr_readTransactionAmount, TAG_AMOUNT, bcd, ECR_AMOUNT_SIZE},
      {ecr_readTransactionAmountInTerminalCurrency, TAG_AMOUNT_IN_TERMINAL_CURRENCY, bcd,
       ECR_AMOUNT_SIZE},
      {ecr_readTransactionCashback, TAG_CASHBACK_AMOUNT, bcd, ECR_AMOUNT_SIZE},
      {ecr_readAosa, TAG_VLP_LIMIT, bcd, ECR_AMOUNT_SIZE},
      {ecr_readTransactionAmountOfTip, TAG_AMOUNT_OF_TIP, text(std::string(12, '9')), ECR_AMOUNT_SIZE},
      // The terminal may send more than the host could set; it is cut.
      {ecr_readAdditionalPrintoutData, TAG_ADDITIONAL_PRINTOUT_DATA_FROM_ECR,
       text(std::string(100, 'x')), ECR_ADDITIONAL_PRINTOUT_DATA_SIZE},
      {ecr_readTransactionCurrencyLabel, TAG_TRANSACTION_CURRENCY, {0x09, 0x85},
       ECR_CURRENCY_LABEL_SIZE},
      {ecr_readTerminalCurrencyLabel, TAG_TERMINAL_CURRENCY, {0x09, 0x78}, ECR_CURRENCY_LABEL_SIZE},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    SCOPED_TRACE(i);
    clearStore();
    set(cases[i].tag, cases[i].longest);
    ASSERT_EQ(cases[i].read(ctx, chars()), ECR_OK);
    EXPECT_EQ(std::strlen(chars()) + 1, cases[i].room);
    EXPECT_TRUE(untouchedFrom(cases[i].room));
  }
}

TEST_F(ReadersTest, TextReadersAnswerNoDataForAnAbsentTag) {
  const TextRead readers[] = {
      ecr_readTransactionDate,         ecr_readTransactionTime,
      ecr_readTransactionCryptogram,   ecr_readTransactionCounter,
      ecr_readTransactionTvr,          ecr_readTransactionTsi,
      ecr_readTransactionAid,          ecr_readTransactionAmount,
      ecr_readTransactionAmountInTerminalCurrency, ecr_readTransactionCashback,
      ecr_readAosa,                    ecr_readTransactionAmountOfTip,
      ecr_readAdditionalPrintoutData,  ecr_readTransactionCurrencyLabel,
      ecr_readTerminalCurrencyLabel,   ecr_readCurrencyExponent,
  };
  for (size_t i = 0; i < sizeof readers / sizeof readers[0]; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(readers[i](ctx, chars()), ECR_NO_DATA);
    EXPECT_EQ(readers[i](ctx, nullptr), ECR_INVALID_ARGUMENT);
    EXPECT_TRUE(untouchedFrom(0));
  }
  uint16_t code = 0xBEEF;
  EXPECT_EQ(ecr_readTransactionCurrencyCode(ctx, &code), ECR_NO_DATA);
  EXPECT_EQ(ecr_readTerminalCurrencyCode(ctx, &code), ECR_NO_DATA);
  EXPECT_EQ(code, 0xBEEF);
  EXPECT_TRUE(logged("Transaction date missing from context"));
  EXPECT_TRUE(logged("Currency Exponent missing from context"));
}

TEST_F(ReadersTest, InvalidDateLogsItsBytes) {
  set(TAG_TRANSACTION_DATE, {0x24, 0x03, 0x15, 0x00});
  EXPECT_EQ(ecr_readTransactionDate(ctx, chars()), ECR_ERROR);
  const std::vector<std::string> lines = zq::test::textsFrom("bus");
  auto at = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("- Invalid transaction date\n") != std::string::npos;
  });
  ASSERT_NE(at, lines.end());
  // The hex dump of the four bytes follows the error line.
  EXPECT_NE(std::find_if(at, lines.end(),
                         [](const std::string& l) { return l.find("24 03 15 00") != std::string::npos; }),
            lines.end());
}

TEST_F(ReadersTest, AdditionalPrintoutDataFromTheTerminalIsCutToTheCallersRoom) {
  // The host's buffer is 65 bytes; the terminal is not bound by the host's
  // 64-character limit.
  const std::string longText(100, 'x');
  set(TAG_ADDITIONAL_PRINTOUT_DATA_FROM_ECR, text(longText));
  EXPECT_EQ(ecr_readAdditionalPrintoutData(ctx, chars()), ECR_OK);
  EXPECT_EQ(std::string(chars(), 64), longText.substr(0, 64));
  EXPECT_EQ(buffer[64], '\0');
  EXPECT_TRUE(untouchedFrom(65));

  clearStore();
  const std::string exact(64, 'y');
  set(TAG_ADDITIONAL_PRINTOUT_DATA_FROM_ECR, text(exact));
  EXPECT_EQ(ecr_readAdditionalPrintoutData(ctx, chars()), ECR_OK);
  EXPECT_EQ(std::string(chars()), exact);
  EXPECT_TRUE(untouchedFrom(65));
}

TEST_F(ReadersTest, CurrencyCodeAndExponent) {
  struct CodeCase {
    const char* name;
    ecr_status (*read)(EcrCtx_s*, uint16_t*);
    TlvTag tag;
    Bytes value;
    ecr_status expected;
    uint16_t code;
  };
  const CodeCase codes[] = {
      {"transaction PLN", ecr_readTransactionCurrencyCode, TAG_TRANSACTION_CURRENCY, {0x09, 0x85},
       ECR_OK, 0x0985},
      {"terminal EUR", ecr_readTerminalCurrencyCode, TAG_TERMINAL_CURRENCY, {0x09, 0x78}, ECR_OK,
       0x0978},
      {"transaction of 1 byte", ecr_readTransactionCurrencyCode, TAG_TRANSACTION_CURRENCY, {0x09},
       ECR_ERROR, 0xBEEF},
      {"terminal of 3 bytes", ecr_readTerminalCurrencyCode, TAG_TERMINAL_CURRENCY, {0, 9, 0x78},
       ECR_ERROR, 0xBEEF},
  };
  for (const CodeCase& c : codes) {
    SCOPED_TRACE(c.name);
    clearStore();
    set(c.tag, c.value);
    uint16_t code = 0xBEEF;
    EXPECT_EQ(c.read(ctx, &code), c.expected);
    EXPECT_EQ(code, c.code);
  }

  struct ExponentCase {
    Bytes value;
    ecr_status expected;
    unsigned char written;
  };
  const ExponentCase exponents[] = {
      {{0x02}, ECR_OK, '2'},        {{0x00}, ECR_OK, '0'},          {{0x09}, ECR_OK, '9'},
      {{0x0A}, ECR_ERROR, kSentinel}, {{'2'}, ECR_ERROR, kSentinel}, {{0xFF}, ECR_ERROR, kSentinel},
      {{0x00, 0x02}, ECR_ERROR, kSentinel},
  };
  for (const ExponentCase& c : exponents) {
    SCOPED_TRACE(static_cast<int>(c.value[0]));
    clearStore();
    set(TAG_CURRENCY_EXPONENT, c.value);
    EXPECT_EQ(ecr_readCurrencyExponent(ctx, chars()), c.expected);
    EXPECT_EQ(buffer[0], c.written);
    EXPECT_TRUE(untouchedFrom(1));  // one character, no NUL
  }
  EXPECT_TRUE(logged("Invalid currency exponent: "));
}

// ---- raw buffers ----

TEST_F(ReadersTest, ReadTagCopiesOnlyWhatFits) {
  const Bytes value = {1, 2, 3, 4, 5};
  set(0x9FD201, value);
  struct Case {
    const char* name;
    TlvTag tag;
    bool nullBuffer;
    bool nullLength;
    size_t size;
    ecr_status expected;
    size_t lengthAfter;
  };
  const Case cases[] = {
      {"exact fit", 0x9FD201, false, false, 5, ECR_OK, 5},
      {"room to spare", 0x9FD201, false, false, 64, ECR_OK, 5},
      {"one byte short", 0x9FD201, false, false, 4, ECR_INVALID_ARGUMENT, 4},
      {"absent tag", 0x9FD202, false, false, 64, ECR_NO_DATA, 64},
      {"NULL buffer with room claimed", 0x9FD201, true, false, 5, ECR_INVALID_ARGUMENT, 5},
      {"NULL buffer and no room", 0x9FD201, true, false, 0, ECR_INVALID_ARGUMENT, 0},
      {"NULL length", 0x9FD201, false, true, 0, ECR_INVALID_ARGUMENT, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    resetBuffer();
    journal().clear();
    size_t length = c.size;
    EXPECT_EQ(ecr_readTag(ctx, c.tag, c.nullBuffer ? nullptr : buffer,
                          c.nullLength ? nullptr : &length),
              c.expected);
    EXPECT_EQ(length, c.lengthAfter);
    if (c.expected == ECR_OK) {
      EXPECT_EQ(Bytes(buffer, buffer + 5), value);
      EXPECT_TRUE(untouchedFrom(5));
    } else {
      EXPECT_TRUE(untouchedFrom(0));
    }
  }
  resetBuffer();
  journal().clear();
  size_t length = 4;
  ecr_readTag(ctx, 0x9FD201, buffer, &length);
  EXPECT_TRUE(logged("Insufficient buffer length, 5 bytes needed, 4 provided"));
}

TEST_F(ReadersTest, TerminalAndMerchantIdentifiers) {
  set(TAG_TID, text("T0001234"));
  size_t length = sizeof buffer;
  EXPECT_EQ(ecr_readTerminalId(ctx, buffer, &length), ECR_OK);
  EXPECT_EQ(std::string(chars(), length), "T0001234");
  EXPECT_TRUE(untouchedFrom(8));

  resetBuffer();
  length = sizeof buffer;
  EXPECT_EQ(ecr_readMerchantId(ctx, buffer, &length), ECR_NO_DATA);
  EXPECT_EQ(length, sizeof buffer);
  EXPECT_TRUE(untouchedFrom(0));
  EXPECT_TRUE(logged("Merchant ID not available"));

  length = 3;
  EXPECT_EQ(ecr_readTerminalId(ctx, buffer, &length), ECR_INVALID_ARGUMENT);
  EXPECT_TRUE(untouchedFrom(0));
}

TEST_F(ReadersTest, TerminalAddressStopsAtTheFirstMissingLine) {
  set(TAG_TERMINAL_ADDRESS_1, text("Shop"));
  set(TAG_TERMINAL_ADDRESS_3, text("Town"));
  unsigned char line2[16], line3[16];
  std::memset(line2, kSentinel, sizeof line2);
  std::memset(line3, kSentinel, sizeof line3);
  size_t l1 = 16, l2 = 16, l3 = 16;
  EXPECT_EQ(ecr_readTerminalAddress(ctx, buffer, &l1, line2, &l2, line3, &l3), ECR_NO_DATA);
  EXPECT_EQ(std::string(chars(), l1), "Shop");  // the first line stays written
  EXPECT_EQ(l2, 16u);
  EXPECT_EQ(l3, 16u);
  EXPECT_EQ(line2[0], kSentinel);
  EXPECT_EQ(line3[0], kSentinel);
  EXPECT_TRUE(logged("Unable to get address line 2"));

  set(TAG_TERMINAL_ADDRESS_2, text("Main St 1"));
  l1 = l2 = l3 = 16;
  journal().clear();
  EXPECT_EQ(ecr_readTerminalAddress(ctx, buffer, &l1, line2, &l2, line3, &l3), ECR_OK);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(line2), l2), "Main St 1");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(line3), l3), "Town");
  EXPECT_TRUE(logged("Terminal address: Shop, Main St 1, Town"));
}

TEST_F(ReadersTest, ResultTagsNeedEveryMandatoryTag) {
  set(TAG_TRANSACTION_TYPE, text("0"));
  set(TAG_TRANSACTION_RETURN_CODE, text("0"));
  set(TAG_AMOUNT, {0, 0, 0, 0x01, 0x25, 0x00});
  size_t length = sizeof buffer;
  EXPECT_EQ(ecr_readResultTags(ctx, buffer, &length), ECR_NO_DATA);
  EXPECT_EQ(length, sizeof buffer);
  EXPECT_TRUE(untouchedFrom(0));
  EXPECT_TRUE(logged("Mandatory tag 0x0000009C present"));
  EXPECT_TRUE(logged("Mandatory tag 0x009FD40B present"));
  EXPECT_TRUE(logged("Mandatory tag 0x009FD401 missing, abort"));
}

TEST_F(ReadersTest, ResultTagsImageFollowsTheListsNotTheStore) {
  // Stored in an order of their own, with tags that are no result (the gap
  // 0x9FE020, the e-voucher template 0x9FE02B, the transaction id).
  set(TAG_CONSTRUCTED_OUT_FLEET_CARD_DATA, {0xDF, 0x01, 0x01, 0x01});
  set(0x9FE020, {0x01});
  set(TAG_TRANSACTION_CURRENCY, {0x09, 0x85});
  set(TAG_EV_OP_TEMPLATE, text("tpl"));
  set(TAG_TRANSACTION_NUMBER, text("17"));
  set(0x9FE02A, text("Y"));
  set(TAG_AMOUNT, {0, 0, 0, 0x01, 0x25, 0x00});
  set(TAG_TRANSACTION_ID, text("5"));
  set(TAG_TRANSACTION_RETURN_CODE, text("0"));
  set(0xDF0D, {0x07});
  set(TAG_TRANSACTION_TYPE, text("0"));
  set(0xDF0E, {0x08});
  const Bytes image = join({
      item(0x9C, text("0")),
      item(0x9FD40B, text("0")),
      item(0x9FD401, text("17")),
      item(0x9F02, {0, 0, 0, 0x01, 0x25, 0x00}),
      item(0x5F2A, {0x09, 0x85}),
      item(0xDF0D, {0x07}),
      item(0x9FE02A, text("Y")),
      item(0x7F02, {0xDF, 0x01, 0x01, 0x01}),
  });
  size_t length = image.size();
  ASSERT_EQ(ecr_readResultTags(ctx, buffer, &length), ECR_OK);
  EXPECT_EQ(Bytes(buffer, buffer + length), image);
  EXPECT_TRUE(untouchedFrom(image.size()));
  EXPECT_TRUE(logged("Optional tag 0x00009F02 present"));

  resetBuffer();
  journal().clear();
  length = image.size() - 1;
  EXPECT_EQ(ecr_readResultTags(ctx, buffer, &length), ECR_INVALID_ARGUMENT);
  EXPECT_EQ(length, image.size() - 1);
  EXPECT_TRUE(untouchedFrom(0));
  EXPECT_TRUE(logged("Insufficient buffer length, " + std::to_string(image.size()) +
                     " bytes needed, " + std::to_string(image.size() - 1) + " provided"));
}

// ---- reports ----

TEST_F(ReadersTest, ReportTitle) {
  size_t length = sizeof buffer;
  EXPECT_EQ(ecr_readReportTitle(ctx, buffer, &length), ECR_EMPTY);
  EXPECT_TRUE(logged("Report is empty"));

  store().getReportCtx().setReportSummary("DAILY REPORT,SALE|1|100");
  struct Case {
    size_t size;
    ecr_status expected;
    size_t lengthAfter;
  };
  const Case cases[] = {{12, ECR_OK, 12}, {64, ECR_OK, 12}, {11, ECR_INVALID_ARGUMENT, 11}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    resetBuffer();
    length = c.size;
    EXPECT_EQ(ecr_readReportTitle(ctx, buffer, &length), c.expected);
    EXPECT_EQ(length, c.lengthAfter);
    if (c.expected == ECR_OK) {
      EXPECT_EQ(std::string(chars(), 12), "DAILY REPORT");
      EXPECT_TRUE(untouchedFrom(12));  // no NUL
    } else {
      EXPECT_TRUE(untouchedFrom(0));
    }
  }
  EXPECT_TRUE(logged("Provided buffer too short, 11 bytes provided, 12 needed"));
  EXPECT_EQ(ecr_readReportTitle(ctx, nullptr, &length), ECR_INVALID_ARGUMENT);
  EXPECT_EQ(ecr_readReportTitle(ctx, buffer, nullptr), ECR_INVALID_ARGUMENT);
}

TEST_F(ReadersTest, ReportEntries) {
  const std::string name64(64, 'A');
  const std::string name65(65, 'B');
  store().getReportCtx().setReportSummary(
      "TOTALS,SALE|3|12500,REFUND|1,BROKEN,|5|7,VOID|2|-9000000000,MAESTRO-CONTACTLESS|4|400," + name64 +
      "|1|1," + name65 + "|1|1");
  struct Case {
    const char* name;
    size_t id;
    size_t nameRoom;
    ecr_status expected;
    const char* entry;
    uint32_t count;
    int64_t amount;
    bool valid;
  };
  const Case cases[] = {
      {"first entry", 1, 64, ECR_OK, "SALE", 3, 12500, true},
      {"name fits exactly", 1, 4, ECR_OK, "SALE", 3, 12500, true},
      {"entry without amount", 2, 64, ECR_OK, "REFUND", 1, 0, false},
      {"entry without count", 3, 64, ECR_EMPTY, nullptr, 0, 0, false},
      {"entry without name", 4, 64, ECR_EMPTY, nullptr, 0, 0, false},
      {"negative amount beyond 32 bits", 5, 64, ECR_OK, "VOID", 2, -9000000000LL, true},
      {"name too long for the buffer", 6, 8, ECR_INVALID_ARGUMENT, nullptr, 0, 0, false},
      // The host's buffer bounds what it gets: a name is never cut for it
      // (only the printouts cut names to what a line holds).
      {"name of 64 in 64 bytes", 7, 64, ECR_OK, name64.c_str(), 1, 1, true},
      {"name of 65 in 64 bytes", 8, 64, ECR_INVALID_ARGUMENT, nullptr, 0, 0, false},
      {"id 0", 0, 64, ECR_EMPTY, nullptr, 0, 0, false},
      {"past the last entry", 9, 64, ECR_EMPTY, nullptr, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    resetBuffer();
    size_t nameLength = c.nameRoom;
    uint32_t count = 0xDEADBEEF;
    int64_t amount = 0x1122334455667788LL;
    bool valid = !c.valid;
    EXPECT_EQ(ecr_readReportEntryValid(ctx, c.id, buffer, &nameLength, &count, &amount, &valid),
              c.expected);
    if (c.expected == ECR_OK) {
      EXPECT_EQ(std::string(chars(), nameLength), c.entry);
      EXPECT_TRUE(untouchedFrom(nameLength));
      EXPECT_EQ(count, c.count);
      EXPECT_EQ(amount, c.amount);
      EXPECT_EQ(valid, c.valid);
    } else {
      EXPECT_EQ(nameLength, c.nameRoom);
      EXPECT_TRUE(untouchedFrom(0));
      EXPECT_EQ(count, 0xDEADBEEF);
      EXPECT_EQ(amount, 0x1122334455667788LL);
      EXPECT_EQ(valid, !c.valid);
    }
  }
  EXPECT_TRUE(logged("No entry with ID 0"));
  EXPECT_TRUE(logged("Provided buffer too short, 8 bytes provided, 19 needed"));
  EXPECT_TRUE(logged("Report entry: VOID 2 (-9000000000)"));

  // Without the valid flag, and the pointers it checks.
  size_t nameLength = 64;
  uint32_t count = 0;
  int64_t amount = 0;
  EXPECT_EQ(ecr_readReportEntry(ctx, 1, buffer, &nameLength, &count, &amount), ECR_OK);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(ecr_readReportEntry(ctx, 1, nullptr, &nameLength, &count, &amount),
            ECR_INVALID_ARGUMENT);
  EXPECT_EQ(ecr_readReportEntry(ctx, 1, buffer, nullptr, &count, &amount), ECR_INVALID_ARGUMENT);
  EXPECT_EQ(ecr_readReportEntry(ctx, 1, buffer, &nameLength, nullptr, &amount),
            ECR_INVALID_ARGUMENT);
  EXPECT_EQ(ecr_readReportEntry(ctx, 1, buffer, &nameLength, &count, nullptr),
            ECR_INVALID_ARGUMENT);
}

// ---- fleet cards ----

Bytes fleetData(const Bytes& flags, const std::string& names) {
  Bytes data;
  if (!flags.empty()) data = item(0xDF01, flags);
  const Bytes n = item(0xDF02, text(names));
  data.insert(data.end(), n.begin(), n.end());
  const Bytes vehicle = item(0xDF03, text("WX1234"));
  data.insert(data.end(), vehicle.begin(), vehicle.end());
  return data;
}

TEST_F(ReadersTest, FleetCardFlags) {
  struct Case {
    const char* name;
    bool stored;
    Bytes flags;
    ecr_status expected;
    bool indicator;
    bool signature;
  };
  const Case cases[] = {
      {"signature only", true, {0x02}, ECR_OK, false, true},
      {"indicator only", true, {0x01}, ECR_OK, true, false},
      {"both, two bytes", true, {0x00, 0x03}, ECR_OK, true, true},
      {"high bits only", true, {0x01, 0x00}, ECR_OK, false, false},
      {"flags of 5 bytes", true, {0, 0, 0, 0, 1}, ECR_NO_DATA, false, false},
      {"no flags item", true, {}, ECR_NO_DATA, false, false},
      {"no fleet data", false, {}, ECR_NO_DATA, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    if (c.stored) set(TAG_CONSTRUCTED_OUT_FLEET_CARD_DATA, fleetData(c.flags, "1=DIESEL"));
    const unsigned char before = 0x5A;  // neither true nor false: shows a write
    bool indicator, signature;
    std::memcpy(&indicator, &before, 1);
    std::memcpy(&signature, &before, 1);
    EXPECT_EQ(ecr_readIfIsFleetCardIndicator(ctx, &indicator), c.expected);
    EXPECT_EQ(ecr_readIfIsFleetCardSignature(ctx, &signature), c.expected);
    unsigned char i, s;
    std::memcpy(&i, &indicator, 1);
    std::memcpy(&s, &signature, 1);
    if (c.expected == ECR_OK) {
      EXPECT_EQ(i, c.indicator ? 1 : 0);
      EXPECT_EQ(s, c.signature ? 1 : 0);
    } else {
      EXPECT_EQ(i, before);
      EXPECT_EQ(s, before);
    }
  }
}

TEST_F(ReadersTest, FleetCardProductNames) {
  struct Case {
    const char* name;
    const char* list;
    const char* id;
    size_t size;
    ecr_status expected;
    const char* written;
  };
  const Case cases[] = {
      {"second item", "1=DIESEL|2=PB95", "2", 64, ECR_OK, "PB95"},
      {"cut to the room", "1=DIESEL|2=PB95", "2", 3, ECR_OK, "PB"},
      {"room for the NUL only", "1=DIESEL|2=PB95", "1", 1, ECR_OK, ""},
      {"unknown id", "1=DIESEL|2=PB95", "3", 64, ECR_NO_DATA, nullptr},
      {"id is a prefix of another", "12=LPG|1=ON", "1", 64, ECR_OK, "ON"},
      {"first match wins", "7=A|7=B", "7", 64, ECR_OK, "A"},
      {"name with '='", "5=A=B", "5", 64, ECR_OK, "A=B"},
      {"empty name", "5=", "5", 64, ECR_OK, ""},
      {"item without '=' skipped", "9|9=REAL", "9", 64, ECR_OK, "REAL"},
      {"only an item without '='", "9", "9", 64, ECR_NO_DATA, nullptr},
      {"empty item skipped", "1=A||2=B", "2", 64, ECR_OK, "B"},
      {"size 0", "1=DIESEL", "1", 0, ECR_INVALID_ARGUMENT, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    set(TAG_CONSTRUCTED_OUT_FLEET_CARD_DATA, fleetData({0x01}, c.list));
    EXPECT_EQ(ecr_readFleetCardProductName(ctx, c.id, chars(), c.size), c.expected);
    if (c.expected == ECR_OK) {
      const size_t n = std::strlen(c.written);
      EXPECT_EQ(std::string(chars(), n), c.written);
      EXPECT_EQ(buffer[n], '\0');
      EXPECT_TRUE(untouchedFrom(n + 1));
    } else {
      EXPECT_TRUE(untouchedFrom(0));
    }
  }
  EXPECT_TRUE(loggedDev("Parse error!"));
  EXPECT_EQ(ecr_readFleetCardProductName(ctx, nullptr, chars(), 64), ECR_INVALID_ARGUMENT);
  EXPECT_EQ(ecr_readFleetCardProductName(ctx, "1", nullptr, 64), ECR_INVALID_ARGUMENT);
  EXPECT_TRUE(untouchedFrom(0));
  clearStore();
  EXPECT_EQ(ecr_readFleetCardProductName(ctx, "1", chars(), 64), ECR_NO_DATA);
  EXPECT_TRUE(logged("Fleet card missing from context"));
}

TEST_F(ReadersTest, FleetCardDataIsCutSilently) {
  set(TAG_CONSTRUCTED_OUT_FLEET_CARD_DATA, fleetData({0x01}, "1=DIESEL"));
  struct Case {
    TlvTag subTag;
    size_t size;
    ecr_status expected;
    const char* written;
  };
  const Case cases[] = {
      {0xDF03, 64, ECR_OK, "WX1234"},
      {0xDF03, 6, ECR_OK, "WX1234"},
      {0xDF03, 3, ECR_OK, "WX1"},
      {0xDF03, 0, ECR_OK, ""},
      {0x00DF03 | 0x7F0000, 64, ECR_OK, "WX1234"},  // the low 16 bits name the item
      {0xDF04, 64, ECR_NO_DATA, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    resetBuffer();
    size_t length = c.size;
    EXPECT_EQ(ecr_readFleetCardData(ctx, c.subTag, buffer, &length), c.expected);
    if (c.expected == ECR_OK) {
      EXPECT_EQ(std::string(chars(), length), c.written);
      EXPECT_TRUE(untouchedFrom(length));
    } else {
      EXPECT_EQ(length, c.size);
      EXPECT_TRUE(untouchedFrom(0));
    }
  }
  size_t length = 5;
  EXPECT_EQ(ecr_readFleetCardData(ctx, 0xDF03, nullptr, &length), ECR_INVALID_ARGUMENT);
  EXPECT_EQ(ecr_readFleetCardData(ctx, 0xDF03, buffer, nullptr), ECR_INVALID_ARGUMENT);
}

TEST_F(ReadersTest, FleetCardProductItems) {
  const Bytes first = join({item(0xDF01, text("1")), item(0xDF03, {0x00, 0x10, 0x00})});
  const Bytes second = join({item(0xDF01, text("2")), item(0xDF06, text("12.5"))});
  size_t length = sizeof buffer;
  EXPECT_EQ(ecr_readFleetCardProductData(ctx, 1, buffer, &length), ECR_NO_DATA);
  EXPECT_TRUE(logged("Fleet card product list missing from context"));

  set(TAG_CONSTRUCTED_OUT_FLEET_CARD_PRODUCT_LIST, join({item(0x7F01, first), item(0x7F01, second)}));
  struct Case {
    uint8_t index;
    size_t size;
    ecr_status expected;
    const Bytes* value;
    size_t lengthAfter;
  };
  const Case cases[] = {
      {1, 64, ECR_OK, &first, first.size()},
      {2, 64, ECR_OK, &second, second.size()},
      {2, 4, ECR_OK, &second, 4},  // cut, still 0, length stays the buffer's size
      {3, 64, ECR_NO_DATA, nullptr, 64},
      {0, 64, ECR_NO_DATA, nullptr, 64},  // items count from 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.index));
    resetBuffer();
    length = c.size;
    EXPECT_EQ(ecr_readFleetCardProductData(ctx, c.index, buffer, &length), c.expected);
    EXPECT_EQ(length, c.lengthAfter);
    if (c.expected == ECR_OK) {
      EXPECT_EQ(Bytes(buffer, buffer + length), Bytes(c.value->begin(), c.value->begin() + length));
      EXPECT_TRUE(untouchedFrom(length));
    } else {
      EXPECT_TRUE(untouchedFrom(0));
    }
  }
  EXPECT_TRUE(logged("Unable to get fleet card sale item, index 3"));
  EXPECT_TRUE(loggedDev("Too small buffer!"));
}

// ---- transaction result ----

TEST_F(ReadersTest, TransactionResultAcceptsTheTerminalsCodesOnly) {
  struct Case {
    const char* name;
    Bytes value;  // empty: absent
    ecr_status expected;
    uint32_t result;
  };
  constexpr uint32_t kUntouched = 0xDEADBEEF;
  const Case cases[] = {
      {"0", text("0"), ECR_OK, 0},        {"2", text("2"), ECR_OK, 2},
      {"7", text("7"), ECR_OK, 7},        {"3", text("3"), ECR_NO_DATA, kUntouched},
      {"letters", text("OK"), ECR_NO_DATA, kUntouched},
      {"absent", {}, ECR_NO_DATA, kUntouched},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clearStore();
    if (!c.value.empty()) set(TAG_TRANSACTION_RETURN_CODE, c.value);
    uint32_t result = kUntouched;
    EXPECT_EQ(ecr_readTransactionResult(ctx, reinterpret_cast<ecr_transactionResult*>(&result)),
              c.expected);
    EXPECT_EQ(result, c.result);
  }
  EXPECT_TRUE(logged("Transaction result not available"));
}

// ---- every reader: NULL outputs and the last result ----
// (the guard in front of them has its own table of every terminal function)

// One call of each of the 44 readers, with real outputs.
std::vector<ecr_status> callEveryReader(EcrCtx_s* ctx, unsigned char* b) {
  uint32_t e = 0;
  bool f = false;
  uint16_t code = 0;
  uint32_t count = 0;
  int64_t amount = 0;
  size_t l1 = 16, l2 = 16, l3 = 16, l4 = 16;
  char* c = reinterpret_cast<char*>(b);
  return {
      ecr_readTransactionType(ctx, reinterpret_cast<ecr_transactionType*>(&e)),
      ecr_readOriginalTransactionType(ctx, reinterpret_cast<ecr_transactionType*>(&e)),
      ecr_readUsedCardReaderType(ctx, reinterpret_cast<CardReaderType*>(&e)),
      ecr_readAuthorizationType(ctx, reinterpret_cast<AuthorizationType*>(&e)),
      ecr_readAuthorizationMethod(ctx, reinterpret_cast<AuthorizationMethod*>(&e)),
      ecr_readEmvCryptogramType(ctx, reinterpret_cast<EmvCryptogramType*>(&e)),
      ecr_readIfTerminalMadePrinout(ctx, &f),
      ecr_readIfMultilanguagePrintoutIsRequired(ctx, &f),
      ecr_readIfReversalWasManual(ctx, &f),
      ecr_readIfTransactionWasReversal(ctx, &f),
      ecr_readBatchStatus(ctx, reinterpret_cast<ecr_batchStatus*>(&e)),
      ecr_readTerminalStatus(ctx, reinterpret_cast<ecr_terminalStatus*>(&e)),
      ecr_readTransactionDate(ctx, c),
      ecr_readTransactionTime(ctx, c),
      ecr_readTransactionCryptogram(ctx, c),
      ecr_readTransactionCounter(ctx, c),
      ecr_readTransactionTvr(ctx, c),
      ecr_readTransactionTsi(ctx, c),
      ecr_readTransactionAid(ctx, c),
      ecr_readTransactionAmount(ctx, c),
      ecr_readTransactionAmountInTerminalCurrency(ctx, c),
      ecr_readTransactionCashback(ctx, c),
      ecr_readAosa(ctx, c),
      ecr_readTransactionAmountOfTip(ctx, c),
      ecr_readAdditionalPrintoutData(ctx, c),
      ecr_readTransactionCurrencyLabel(ctx, c),
      ecr_readTerminalCurrencyLabel(ctx, c),
      ecr_readTransactionCurrencyCode(ctx, &code),
      ecr_readTerminalCurrencyCode(ctx, &code),
      ecr_readCurrencyExponent(ctx, c),
      ecr_readTag(ctx, TAG_AMOUNT, b, &l1),
      ecr_readTerminalId(ctx, b, &l1),
      ecr_readMerchantId(ctx, b, &l1),
      ecr_readTerminalAddress(ctx, b, &l1, b, &l2, b, &l3),
      ecr_readResultTags(ctx, b, &l4),
      ecr_readReportTitle(ctx, b, &l1),
      ecr_readReportEntry(ctx, 1, b, &l1, &count, &amount),
      ecr_readReportEntryValid(ctx, 1, b, &l1, &count, &amount, &f),
      ecr_readFleetCardData(ctx, 0xDF03, b, &l1),
      ecr_readFleetCardProductData(ctx, 1, b, &l1),
      ecr_readIfIsFleetCardIndicator(ctx, &f),
      ecr_readIfIsFleetCardSignature(ctx, &f),
      ecr_readFleetCardProductName(ctx, "1", c, 16),
      ecr_readTransactionResult(ctx, reinterpret_cast<ecr_transactionResult*>(&e)),
  };
}

TEST_F(ReadersTest, ReadersThatAlwaysHaveAnAnswerRefuseNullOutputs) {
  const ecr_status answers[] = {
      ecr_readTransactionType(ctx, nullptr),
      ecr_readOriginalTransactionType(ctx, nullptr),
      ecr_readUsedCardReaderType(ctx, nullptr),
      ecr_readAuthorizationType(ctx, nullptr),
      ecr_readAuthorizationMethod(ctx, nullptr),
      ecr_readEmvCryptogramType(ctx, nullptr),
      ecr_readIfTerminalMadePrinout(ctx, nullptr),
      ecr_readIfMultilanguagePrintoutIsRequired(ctx, nullptr),
      ecr_readIfReversalWasManual(ctx, nullptr),
      ecr_readIfTransactionWasReversal(ctx, nullptr),
      ecr_readBatchStatus(ctx, nullptr),
      ecr_readTerminalStatus(ctx, nullptr),
      ecr_readTransactionResult(ctx, nullptr),
      ecr_readIfIsFleetCardIndicator(ctx, nullptr),
  };
  for (ecr_status answer : answers) EXPECT_EQ(answer, ECR_INVALID_ARGUMENT);
  EXPECT_TRUE(logged("NULL pointer provided"));
}

TEST_F(ReadersTest, ReadersLeaveTheLastResultAlone) {
  ctx->lastResult = zq::app::protocols::Result(zq::app::utils::RESULT_NO_DATA, "kept");
  set(TAG_AMOUNT, {0, 0, 0, 0x01, 0x25, 0x00});
  EXPECT_EQ(callEveryReader(ctx, buffer).size(), 44u);
  uint32_t code = 0;
  ecr_getLastReturnCode(ctx, &code);
  EXPECT_EQ(code, static_cast<uint32_t>(zq::app::utils::RESULT_NO_DATA));
}

}  // namespace

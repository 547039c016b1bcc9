// The transaction parameter setters: what each accepts and refuses, the code
// it answers, and the bytes it leaves in the protocol's store.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "api/EcrCtx.h"
#include "api/EcrTestHelpers.h"
#include "core/TagNames.h"
#include "protocol/TalvorenProtocol.h"
#include "zumbra_ecr.h"

namespace {

using zq::app::protocols::Result;
using zq::app::protocols::TalvorenProtocol;
using zq::test::hasLevel;
using zq::test::hostLinesWith;
using zq::test::journal;
using namespace zq::app::tlv;

using Bytes = std::vector<unsigned char>;
using Call = std::function<ecr_status(EcrCtx_s*)>;

// Pseudo tag of the table: the items that travel inside the start request
// (BLIK code, printout data, token, fleet-card items), which the shared
// store does not hold; read as the request's hexadecimal text.
constexpr TlvTag kRequestItems = 0;

std::string bin(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

class EcrParametersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zq::test::recordHostLogs();
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
    // A closed link counts: setters never talk to the terminal.
    ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", zq::test::refusedPort(), 300), ECR_COMM_ERROR);
    ecr_setProtocol(ctx, 0);
  }
  void TearDown() override { ecr_cleanup(&ctx); }

  TalvorenProtocol& protocol() { return *static_cast<TalvorenProtocol*>(ctx->protocol.get()); }

  // The stored value, as the host reads it back; nullopt when absent.
  std::optional<std::string> stored(TlvTag tag) {
    if (tag == kRequestItems) {
      const Bytes hex = protocol().getCtx().getTransactionCtx().getAdditionalRequestData();
      return std::string(hex.begin(), hex.end());
    }
    uint8_t buffer[256];
    size_t length = sizeof buffer;
    const ecr_status status = ecr_readTag(ctx, tag, buffer, &length);
    if (status == ECR_OK) return std::string(buffer, buffer + length);
    EXPECT_EQ(status, ECR_NO_DATA);
    return std::nullopt;
  }

  EcrCtx_s* ctx = nullptr;
};

struct SetterCase {
  const char* name;
  Call before;  // stores an earlier value, or empty
  Call call;
  ecr_status expected;
  TlvTag tag;
  std::optional<std::string> stored;  // afterwards; nullopt: absent
  const char* errorLine;              // business error line of a refusal, or nullptr
};

const std::string k46(46, 'T');
const std::string k47(47, 'T');
const std::string k64(64, 'P');
const std::string k65(65, 'P');

std::string hexOf(const std::string& text) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    out += digits[c >> 4];
    out += digits[c & 0xF];
  }
  return out;
}

const uint8_t kFleetItem1[] = {0xAA, 0xBB};
const uint8_t kFleetItem2[] = {0x01};
const uint8_t kTagBytes[] = {0x00, 0xFF, 0x10};
constexpr TlvTag kRawTag = 0x9FCD60;
// 7F ends the tag after two bytes: no BER tag.
constexpr TlvTag kMalformedTag = 0x9F7F01;

TEST_F(EcrParametersTest, EverySetterAcceptsRefusesAndStoresByItsRule) {
  const SetterCase cases[] = {
      // Transaction type: 0 to 12 only; anything else keeps the earlier type.
      {"type 0", {}, [](EcrCtx_s* c) { return ecr_setTransactionType(c, ECR_TRANSACTION_PURCHASE); },
       ECR_OK, TAG_TRANSACTION_TYPE, "0", nullptr},
      {"type 12", {}, [](EcrCtx_s* c) { return ecr_setTransactionType(c, ECR_TRANSACTION_PURCHASE_EVOUCHER); },
       ECR_OK, TAG_TRANSACTION_TYPE, "12", nullptr},
      {"type 13 refused, earlier type kept",
       [](EcrCtx_s* c) { return ecr_setTransactionType(c, ECR_TRANSACTION_REFUND); },
       [](EcrCtx_s* c) { return ecr_setTransactionType(c, ECR_TRANSACTION_NONE); }, ECR_INVALID_ARGUMENT,
       TAG_TRANSACTION_TYPE, "4", "Incorrect transaction type 13"},
      {"type 15 refused", {},
       [](EcrCtx_s* c) { return ecr_setTransactionType(c, static_cast<ecr_transactionType>(15)); },
       ECR_INVALID_ARGUMENT, TAG_TRANSACTION_TYPE, std::nullopt, "Incorrect transaction type 15"},

      // Amount: 1 to 12 digits, packed BCD, odd counts padded in front.
      {"amount of three digits", {}, [](EcrCtx_s* c) { return ecr_setTransactionAmount(c, "123"); }, ECR_OK,
       TAG_AMOUNT, bin({0x01, 0x23}), nullptr},
      {"amount of twelve digits with leading zeros", {},
       [](EcrCtx_s* c) { return ecr_setTransactionAmount(c, "000000000100"); }, ECR_OK, TAG_AMOUNT,
       bin({0x00, 0x00, 0x00, 0x00, 0x01, 0x00}), nullptr},
      {"amount of thirteen digits, earlier amount kept",
       [](EcrCtx_s* c) { return ecr_setTransactionAmount(c, "100"); },
       [](EcrCtx_s* c) { return ecr_setTransactionAmount(c, "1234567890123"); }, ECR_INVALID_ARGUMENT,
       TAG_AMOUNT, bin({0x01, 0x00}), "Incorrect amount 1234567890123"},
      {"empty amount", {}, [](EcrCtx_s* c) { return ecr_setTransactionAmount(c, ""); }, ECR_INVALID_ARGUMENT,
       TAG_AMOUNT, std::nullopt, "Incorrect amount "},
      {"amount with a letter", {}, [](EcrCtx_s* c) { return ecr_setTransactionAmount(c, "12a4"); },
       ECR_INVALID_ARGUMENT, TAG_AMOUNT, std::nullopt, "Incorrect amount 12a4"},
      {"NULL amount, earlier amount kept", [](EcrCtx_s* c) { return ecr_setTransactionAmount(c, "5"); },
       [](EcrCtx_s* c) { return ecr_setTransactionAmount(c, nullptr); }, ECR_INVALID_ARGUMENT, TAG_AMOUNT,
       bin({0x05}), "NULL pointer provided"},

      // Title: up to 46 bytes; an empty title removes an earlier one.
      {"title of 46 bytes", {}, [](EcrCtx_s* c) { return ecr_setTransactionTitle(c, k46.c_str()); }, ECR_OK,
       TAG_TRANSACTION_TITLE, k46, nullptr},
      {"title of 47 bytes, earlier title kept",
       [](EcrCtx_s* c) { return ecr_setTransactionTitle(c, "Old"); },
       [](EcrCtx_s* c) { return ecr_setTransactionTitle(c, k47.c_str()); }, ECR_INVALID_ARGUMENT,
       TAG_TRANSACTION_TITLE, "Old", nullptr},
      {"empty title removes the earlier one", [](EcrCtx_s* c) { return ecr_setTransactionTitle(c, "Old"); },
       [](EcrCtx_s* c) { return ecr_setTransactionTitle(c, ""); }, ECR_OK, TAG_TRANSACTION_TITLE,
       std::nullopt, nullptr},
      {"NULL title", [](EcrCtx_s* c) { return ecr_setTransactionTitle(c, "Old"); },
       [](EcrCtx_s* c) { return ecr_setTransactionTitle(c, nullptr); }, ECR_INVALID_ARGUMENT,
       TAG_TRANSACTION_TITLE, "Old", "NULL pointer provided"},

      // BLIK code and printout data travel inside the request.
      {"BLIK code", {}, [](EcrCtx_s* c) { return ecr_setTransactionBlikCode(c, "123456"); }, ECR_OK,
       kRequestItems, "DF0206" + hexOf("123456"), nullptr},
      {"empty BLIK code", {}, [](EcrCtx_s* c) { return ecr_setTransactionBlikCode(c, ""); },
       ECR_INVALID_ARGUMENT, kRequestItems, "", "Incorrect BLIK code "},
      {"BLIK code with a letter", {}, [](EcrCtx_s* c) { return ecr_setTransactionBlikCode(c, "12x"); },
       ECR_INVALID_ARGUMENT, kRequestItems, "", "Incorrect BLIK code 12x"},
      {"printout data of 64 bytes", {},
       [](EcrCtx_s* c) { return ecr_setAdditionalPrintoutData(c, k64.c_str()); }, ECR_OK, kRequestItems,
       "DF0340" + hexOf(k64), nullptr},
      {"printout data of 65 bytes", {},
       [](EcrCtx_s* c) { return ecr_setAdditionalPrintoutData(c, k65.c_str()); }, ECR_INVALID_ARGUMENT,
       kRequestItems, "", nullptr},
      {"token generation", {}, [](EcrCtx_s* c) { return ecr_setTransactionTokenGenerationEnabled(c); },
       ECR_OK, kRequestItems, "DF010101", nullptr},
      {"two fleet-card items make one list",
       [](EcrCtx_s* c) { return ecr_addFleetCardProductData(c, kFleetItem1, sizeof kFleetItem1); },
       [](EcrCtx_s* c) { return ecr_addFleetCardProductData(c, kFleetItem2, sizeof kFleetItem2); }, ECR_OK,
       kRequestItems, "7F01097F0102AABB7F010101", nullptr},
      {"NULL fleet-card item with a length",
       [](EcrCtx_s* c) { return ecr_addFleetCardProductData(c, kFleetItem2, sizeof kFleetItem2); },
       [](EcrCtx_s* c) { return ecr_addFleetCardProductData(c, nullptr, 4); }, ECR_INVALID_ARGUMENT,
       kRequestItems, "7F01047F010101", "NULL pointer provided"},

      // E-voucher.
      {"EAN of 13 digits", {}, [](EcrCtx_s* c) { return ecr_setEvoucherEan(c, "5901234123457"); }, ECR_OK,
       TAG_EV_EAN, "5901234123457", nullptr},
      {"EAN of 14 digits", {}, [](EcrCtx_s* c) { return ecr_setEvoucherEan(c, "59012341234570"); },
       ECR_INVALID_ARGUMENT, TAG_EV_EAN, std::nullopt, "Incorrect EAN 59012341234570"},
      {"empty EAN", {}, [](EcrCtx_s* c) { return ecr_setEvoucherEan(c, ""); }, ECR_INVALID_ARGUMENT,
       TAG_EV_EAN, std::nullopt, "Incorrect EAN "},
      {"operation type 0", {}, [](EcrCtx_s* c) { return ecr_setEvoucherOperationType(c, 0); }, ECR_OK,
       TAG_EV_OPERATION_TYPE, "0", nullptr},
      {"operation type 7 is an operation", {}, [](EcrCtx_s* c) { return ecr_setEvoucherOperationType(c, 7); },
       ECR_OK, TAG_EV_OPERATION_TYPE, "1", nullptr},

      // Sequence numbers, padded to six digits.
      {"number to complete", {}, [](EcrCtx_s* c) { return ecr_setNumberOfTransactionToComplete(c, "12"); },
       ECR_OK, TAG_TRANSACTION_TO_COMPLETE, "000012", nullptr},
      {"number to complete of seven digits", {},
       [](EcrCtx_s* c) { return ecr_setNumberOfTransactionToComplete(c, "1234567"); }, ECR_OK,
       TAG_TRANSACTION_TO_COMPLETE, "1234567", nullptr},
      {"empty number to reverse", {}, [](EcrCtx_s* c) { return ecr_setNumberOfTransactionToReverse(c, ""); },
       ECR_OK, TAG_TRANSACTION_TO_REVERSE, "000000", nullptr},
      {"NULL number to reverse", {}, [](EcrCtx_s* c) { return ecr_setNumberOfTransactionToReverse(c, nullptr); },
       ECR_INVALID_ARGUMENT, TAG_TRANSACTION_TO_REVERSE, std::nullopt, "NULL pointer provided"},

      // Identifiers, as decimal text; refusals name the value unsigned.
      {"transaction id 99999999", {}, [](EcrCtx_s* c) { return ecr_setTransactionId(c, 99999999); }, ECR_OK,
       TAG_TRANSACTION_ID, "99999999", nullptr},
      {"transaction id 0", {}, [](EcrCtx_s* c) { return ecr_setTransactionId(c, 0); }, ECR_OK,
       TAG_TRANSACTION_ID, "0", nullptr},
      {"transaction id 100000000, earlier id kept", [](EcrCtx_s* c) { return ecr_setTransactionId(c, 7); },
       [](EcrCtx_s* c) { return ecr_setTransactionId(c, 100000000); }, ECR_INVALID_ARGUMENT,
       TAG_TRANSACTION_ID, "7", "Incorrect transaction ID 100000000"},
      {"transaction id above the signed range", {},
       [](EcrCtx_s* c) { return ecr_setTransactionId(c, 4000000000u); }, ECR_INVALID_ARGUMENT,
       TAG_TRANSACTION_ID, std::nullopt, "Incorrect transaction ID 4000000000"},
      {"cardset 99", {}, [](EcrCtx_s* c) { return ecr_setCardsetId(c, 99); }, ECR_OK, TAG_CARDSET_ID, "99",
       nullptr},
      {"cardset 100", {}, [](EcrCtx_s* c) { return ecr_setCardsetId(c, 100); }, ECR_INVALID_ARGUMENT,
       TAG_CARDSET_ID, std::nullopt, "Incorrect cardset ID 100"},
      {"currency 0", {}, [](EcrCtx_s* c) { return ecr_setCurrencyId(c, 0); }, ECR_OK, TAG_CURRENCY_ID, "0",
       nullptr},
      {"currency 999", {}, [](EcrCtx_s* c) { return ecr_setCurrencyId(c, 999); }, ECR_OK, TAG_CURRENCY_ID,
       "999", nullptr},
      {"currency 1000", [](EcrCtx_s* c) { return ecr_setCurrencyId(c, 985); },
       [](EcrCtx_s* c) { return ecr_setCurrencyId(c, 1000); }, ECR_INVALID_ARGUMENT, TAG_CURRENCY_ID, "985",
       "Incorrect currency ID 1000"},
      {"terminal index 9", {}, [](EcrCtx_s* c) { return ecr_setTerminalIndex(c, 9); }, ECR_OK,
       TAG_TERMINAL_INDEX, "9", nullptr},
      {"terminal index 10", {}, [](EcrCtx_s* c) { return ecr_setTerminalIndex(c, 10); }, ECR_INVALID_ARGUMENT,
       TAG_TERMINAL_INDEX, std::nullopt, "Incorrect terminal index 10"},

      // Control bytes.
      {"reset report", {}, [](EcrCtx_s* c) { return ecr_setResetReport(c, true); }, ECR_OK, TAG_RESET_REPORT,
       "1", nullptr},
      {"no report reset", {}, [](EcrCtx_s* c) { return ecr_setResetReport(c, false); }, ECR_OK,
       TAG_RESET_REPORT, "0", nullptr},
      {"requests mode 0", {}, [](EcrCtx_s* c) { return ecr_setHandleTerminalRequests(c, 0); }, ECR_OK,
       TAG_HANDLE_REQUESTS, bin({0x00}), nullptr},
      {"requests mode 1", {}, [](EcrCtx_s* c) { return ecr_setHandleTerminalRequests(c, 1); }, ECR_OK,
       TAG_HANDLE_REQUESTS, bin({0x01}), nullptr},
      {"requests mode 7", {}, [](EcrCtx_s* c) { return ecr_setHandleTerminalRequests(c, 7); }, ECR_OK,
       TAG_HANDLE_REQUESTS, bin({0x02}), nullptr},
      // Its low byte is 0, but the mode is not 0.
      {"requests mode 256", {}, [](EcrCtx_s* c) { return ecr_setHandleTerminalRequests(c, 256); }, ECR_OK,
       TAG_HANDLE_REQUESTS, bin({0x02}), nullptr},
      {"cash register of one byte", {}, [](EcrCtx_s* c) { return ecr_setCashRegisterId(c, "7", 1); }, ECR_OK,
       TAG_CASH_REGISTER_ID, "7", nullptr},
      {"cash register of two bytes, earlier kept", [](EcrCtx_s* c) { return ecr_setCashRegisterId(c, "7", 1); },
       [](EcrCtx_s* c) { return ecr_setCashRegisterId(c, "12", 2); }, ECR_INVALID_ARGUMENT,
       TAG_CASH_REGISTER_ID, "7", "Unable to set cash register ID"},
      {"cash register of no bytes", {}, [](EcrCtx_s* c) { return ecr_setCashRegisterId(c, "", 0); },
       ECR_INVALID_ARGUMENT, TAG_CASH_REGISTER_ID, std::nullopt, "Unable to set cash register ID"},
      {"NULL cash register", {}, [](EcrCtx_s* c) { return ecr_setCashRegisterId(c, nullptr, 1); },
       ECR_INVALID_ARGUMENT, TAG_CASH_REGISTER_ID, std::nullopt, "NULL pointer provided"},

      // Raw tags.
      {"raw tag", {}, [](EcrCtx_s* c) { return ecr_setTag(c, kRawTag, kTagBytes, sizeof kTagBytes); }, ECR_OK,
       kRawTag, bin({0x00, 0xFF, 0x10}), nullptr},
      {"raw tag replaced", [](EcrCtx_s* c) { return ecr_setTag(c, kRawTag, kTagBytes, sizeof kTagBytes); },
       [](EcrCtx_s* c) { return ecr_setTag(c, kRawTag, kTagBytes + 1, 1); }, ECR_OK, kRawTag, bin({0xFF}),
       nullptr},
      {"raw tag from NULL with a length, earlier kept",
       [](EcrCtx_s* c) { return ecr_setTag(c, kRawTag, kTagBytes, 1); },
       [](EcrCtx_s* c) { return ecr_setTag(c, kRawTag, nullptr, 3); }, ECR_INVALID_ARGUMENT, kRawTag,
       bin({0x00}), "NULL pointer provided"},
      {"raw tag cleared", [](EcrCtx_s* c) { return ecr_setTag(c, kRawTag, kTagBytes, 1); },
       [](EcrCtx_s* c) { return ecr_setTagToEmpty(c, kRawTag); }, ECR_OK, kRawTag, std::nullopt, nullptr},
      {"raw tag of no bytes clears it", [](EcrCtx_s* c) { return ecr_setTag(c, kRawTag, kTagBytes, 1); },
       [](EcrCtx_s* c) { return ecr_setTag(c, kRawTag, nullptr, 0); }, ECR_OK, kRawTag, std::nullopt, nullptr},
      {"malformed tag number is refused", {},
       [](EcrCtx_s* c) { return ecr_setTag(c, kMalformedTag, kTagBytes, 1); }, ECR_INVALID_ARGUMENT,
       kMalformedTag, std::nullopt, "Unable to set tag 0x009F7F01"},
      {"absent tag cleared", {}, [](EcrCtx_s* c) { return ecr_setTagToEmpty(c, kRawTag); }, ECR_OK, kRawTag,
       std::nullopt, nullptr},
  };
  const Result sentinel(zq::app::utils::RESULT_TERMINAL_CODE_6, "earlier command");
  for (const SetterCase& c : cases) {
    SCOPED_TRACE(c.name);
    ecr_setProtocol(ctx, 0);  // an empty store for every case
    ctx->lastResult = sentinel;
    if (c.before) {
      ASSERT_EQ(c.before(ctx), ECR_OK);
    }
    journal().clear();
    EXPECT_EQ(c.call(ctx), c.expected);
    EXPECT_EQ(stored(c.tag), c.stored);
    if (c.errorLine != nullptr) {
      const auto lines = hostLinesWith("bus", c.errorLine);
      ASSERT_EQ(lines.size(), 1u);
      EXPECT_TRUE(hasLevel(lines[0], "ERROR"));
    }
    EXPECT_EQ(ctx->lastResult, sentinel) << "setters leave the last command's outcome alone";
  }
}

// The first lines name the value as the host gave it; texts the host left out
// are logged as such, not handed to printf.
TEST_F(EcrParametersTest, FirstLinesShowTheValues) {
  struct LineCase {
    Call call;
    const char* line;
  };
  const LineCase cases[] = {
      {[](EcrCtx_s* c) { return ecr_setTransactionType(c, ECR_TRANSACTION_REFUND); }, "Set transaction type to 4"},
      {[](EcrCtx_s* c) { return ecr_setTransactionAmount(c, nullptr); }, "Set amount to (null)"},
      {[](EcrCtx_s* c) { return ecr_setResetReport(c, true); }, "Set resetting report data to TRUE"},
      {[](EcrCtx_s* c) { return ecr_setHandleTerminalRequests(c, 0x1FF); }, "Set handling terminal requests to 255"},
      {[](EcrCtx_s* c) { return ecr_setTerminalIndex(c, 200); }, "Set terminal index to 200"},
      {[](EcrCtx_s* c) { return ecr_setTag(c, 0x9FD222, kTagBytes, 1); }, "Set tag 0x009FD222 to "},
      {[](EcrCtx_s* c) { return ecr_setTagToEmpty(c, 0x9FD222); }, "Clear tag 0x009FD222 to "},
      {[](EcrCtx_s* c) { return ecr_addFleetCardProductData(c, kFleetItem1, 2); }, "Set Fleet card product data:"},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    journal().clear();
    c.call(ctx);
    const auto lines = hostLinesWith("bus", c.line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(hasLevel(lines[0], "TRACE"));
  }
}

}  // namespace

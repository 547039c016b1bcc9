// The protocol context: status conversion and its notification, the
// encodings of the views, the authorisation-method rules, the fleet-item
// list and what each clear removes and keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TagNames.h"
#include "core/zumbra_callbacks.h"
#include "protocol/TalvorenCtx.h"

namespace zq::app::protocols {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string textOf(ApiSubCtx& api, tlv::TlvTag tag) {
  utils::Optional<Bytes> value = api.getTagValue(tag);
  return value.isPresent() ? std::string(value->begin(), value->end()) : std::string("<absent>");
}

TEST(TerminalStatus, RawStatusConversion) {
  const std::pair<uint32_t, ecr_terminalStatus> cases[] = {
      {0x00, TERMINAL_STATUS_READY},
      {0x01, TERMINAL_STATUS_WAITING_FOR_CARD},
      {0x05, TERMINAL_STATUS_WAITING_FOR_SIGNATURE},
      {0x0D, TERMINAL_STATUS_BATCH_COMPLETED},
      {0x0F, TERMINAL_STATUS_ASK_FOR_CASHBACK},
      {0x10, TERMINAL_STATUS_UNRECOGNISED},
      {0x11, TERMINAL_STATUS_UNRECOGNISED},
      {0x12, TERMINAL_STATUS_PROMPT_16},
      {0x13, TERMINAL_STATUS_UNRECOGNISED},
      {0x14, TERMINAL_STATUS_WAITING_FOR_AMOUNT},
      {0x15, TERMINAL_STATUS_ASK_FOR_SELECTION},
      {0x16, TERMINAL_STATUS_UNRECOGNISED},
      {0x7F, TERMINAL_STATUS_UNRECOGNISED},
      {0x80, TERMINAL_STATUS_APPLICATION_ERROR},
      {0x81, TERMINAL_STATUS_RECONCILIATION_NEEDED},
      {0x82, TERMINAL_STATUS_UNRECOGNISED},
      {0xFF, TERMINAL_STATUS_UNRECOGNISED},
      {0xFFFFFFFFu, TERMINAL_STATUS_UNRECOGNISED},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TalvorenCtx::convertUint32ToTerminalStatus(c.first), c.second) << "raw " << c.first;
  }
  for (uint32_t raw = 0; raw <= 0x0F; ++raw) {
    EXPECT_EQ(static_cast<uint32_t>(TalvorenCtx::convertUint32ToTerminalStatus(raw)), raw);
  }
}

std::vector<ecr_terminalStatus>& notified() {
  static std::vector<ecr_terminalStatus> statuses;
  return statuses;
}
void recordStatus(ecr_terminalStatus status) { notified().push_back(status); }

TEST(TerminalStatus, HostIsToldOnlyOfChanges) {
  cb_setHandleStatusChange(recordStatus);
  TalvorenCtx ctx;
  MaintenanceSubCtx& maintenance = ctx.getMaintenanceCtx();
  EXPECT_EQ(maintenance.getTransactionStatus(), TERMINAL_STATUS_UNRECOGNISED);

  // 0x10 is unrecognised like the state before the first read: no change.
  const uint32_t replies[] = {0x10, 0x00, 0x00, 0x01, 0x01, 0x13, 0x16, 0x81};
  for (uint32_t raw : replies) maintenance.setTransactionStatus(raw);

  const std::vector<ecr_terminalStatus> expected = {
      TERMINAL_STATUS_READY, TERMINAL_STATUS_WAITING_FOR_CARD, TERMINAL_STATUS_UNRECOGNISED,
      TERMINAL_STATUS_RECONCILIATION_NEEDED};
  EXPECT_EQ(notified(), expected);
  EXPECT_EQ(maintenance.getTransactionStatus(), TERMINAL_STATUS_RECONCILIATION_NEEDED);
}

TEST(ApiView, SequenceNumbersArePaddedToSixDigits) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "000000"},          {"7", "000007"},       {"123", "000123"},
      {"12345", "012345"},     {"123456", "123456"},  {"1234567", "1234567"},
  };
  for (const auto& c : cases) {
    TalvorenCtx ctx;
    ctx.getApiCtx().setSequenceNumberToComplete(bytes(c.first));
    ctx.getApiCtx().setSequenceNumberToReverse(bytes(c.first));
    utils::Optional<Bytes> complete = ctx.getTransactionCtx().getSequenceNumberToComplete();
    utils::Optional<Bytes> reverse = ctx.getTransactionCtx().getSequenceNumberToReverse();
    ASSERT_TRUE(complete.isPresent()) << c.first;
    ASSERT_TRUE(reverse.isPresent()) << c.first;
    EXPECT_EQ(std::string(complete->begin(), complete->end()), c.second);
    EXPECT_EQ(std::string(reverse->begin(), reverse->end()), c.second);
  }
}

struct AuthorizationCase {
  const char* name;
  Bytes flags;        // value of the additional transaction flags, none when empty
  Bytes methodTag;    // value of the one-byte method tag, none when empty
  AuthorizationMethod expected;
};

TEST(ApiView, AuthorizationMethodRules) {
  const AuthorizationCase cases[] = {
      {"0x100 wins over everything", {0x11, 0x00}, {'A'}, AUTHORIZATION_METHOD_NONE},
      {"0x200", {0x02, 0x00}, {}, AUTHORIZATION_METHOD_SIGNATURE_ON_FILE},
      {"0x400 alone", {0x04, 0x00}, {}, AUTHORIZATION_METHOD_PIN},
      {"0x800 alone", {0x08, 0x00}, {}, AUTHORIZATION_METHOD_PIN},
      {"0x400 with 0x1000", {0x14, 0x00}, {}, AUTHORIZATION_METHOD_PIN_AND_SIGNATURE},
      {"0x1000 alone", {0x10, 0x00}, {}, AUTHORIZATION_METHOD_SIGNATURE},
      {"0x100 with 0x1000", {0x11, 0x00}, {}, AUTHORIZATION_METHOD_NONE},
      {"0x2000", {0x20, 0x00}, {}, AUTHORIZATION_METHOD_CONSUMER_DEVICE},
      {"0x4000", {0x40, 0x00}, {}, AUTHORIZATION_METHOD_NONE},
      {"flags without those bits: tag decides", {0x00, 0x03}, {'A'}, AUTHORIZATION_METHOD_PIN},
      {"leading zero bytes are a number", {0x00, 0x00, 0x00, 0x10, 0x00}, {}, AUTHORIZATION_METHOD_SIGNATURE},
      {"flags too long for 32 bits: tag decides", {0x01, 0x00, 0x00, 0x10, 0x00}, {'B'},
       AUTHORIZATION_METHOD_PIN_AND_SIGNATURE},
      {"no flags, tag A", {}, {'A'}, AUTHORIZATION_METHOD_PIN},
      {"no flags, tag 0x40", {}, {0x40}, AUTHORIZATION_METHOD_SIGNATURE},
      {"no flags, tag B", {}, {'B'}, AUTHORIZATION_METHOD_PIN_AND_SIGNATURE},
      {"no flags, tag ?", {}, {'?'}, AUTHORIZATION_METHOD_NONE},
      {"no flags, other byte", {}, {'Z'}, AUTHORIZATION_METHOD_NONE},
      {"no flags, two bytes", {}, {'A', 'A'}, AUTHORIZATION_METHOD_NONE},
      {"nothing at all", {}, {}, AUTHORIZATION_METHOD_NONE},
  };
  for (const AuthorizationCase& c : cases) {
    TalvorenCtx ctx;
    ApiSubCtx& api = ctx.getApiCtx();
    if (!c.flags.empty()) api.setTagValue(TAG_ADDITIONAL_TRANSACTION_FLAG, c.flags);
    if (!c.methodTag.empty()) api.setTagValue(TAG_AUTHORIZATION_METHOD, c.methodTag);
    EXPECT_EQ(api.getAuthorizationMethod(), c.expected) << c.name;
  }
}

TEST(ApiView, SignatureMarkReadsBackAsSignature) {
  TalvorenCtx ctx;
  ctx.getTransactionCtx().setAsTransactionWithSignature();
  EXPECT_EQ(ctx.getApiCtx().getAuthorizationMethod(), AUTHORIZATION_METHOD_SIGNATURE);
}

// Each setter's encoding, read back as the bytes the store holds.
TEST(Views, ValuesAreStoredAsTheTerminalAndPrintoutsReadThem) {
  TalvorenCtx ctx;
  ReportSubCtx& report = ctx.getReportCtx();
  TransactionSubCtx& transaction = ctx.getTransactionCtx();
  ApiSubCtx& api = ctx.getApiCtx();

  report.setBatchTransactionCount(5000000000ull);
  report.setTotalTransactionAmount(-1500);
  report.setAcquierIdentifier(18446744073709551615ull);
  report.setCashierIdentifier(0);
  report.setDidTerminalMakePrintout(false);
  transaction.setTransactionNumber(4294967295u);
  transaction.setIsReversal(true);
  api.setTransactionIndex(42);
  api.setCashRegisterNumber('1');

  EXPECT_EQ(textOf(api, TAG_BATCH_TRANSACTION_COUNT), "5000000000");
  EXPECT_EQ(textOf(api, TAG_TOTAL_AMOUNT_SUM), "-1500");
  EXPECT_EQ(textOf(api, TAG_ACQUIER_IDENTIFIER), "18446744073709551615");
  EXPECT_EQ(textOf(api, TAG_CASHIER_IDENTIFIER), "0");
  EXPECT_EQ(textOf(api, TAG_PRINTING_INDICATOR), "0");
  EXPECT_EQ(textOf(api, TAG_TRANSACTION_NUMBER), "4294967295");
  EXPECT_EQ(textOf(api, TAG_REVERSAL_INDICATOR), "1");
  EXPECT_EQ(textOf(api, TAG_TRANSACTION_ID), "42");
  EXPECT_EQ(textOf(api, TAG_CASH_REGISTER_ID), "1");
  EXPECT_FALSE(api.getDidTerminalMakePrintout());
  EXPECT_TRUE(transaction.getIsReversal());

  // A later value replaces the earlier one; an empty one removes the tag.
  transaction.setTransactionTitle(bytes("first"));
  transaction.setTransactionTitle(bytes("second"));
  EXPECT_EQ(textOf(api, TAG_TRANSACTION_TITLE), "second");
  transaction.setTransactionTitle(Bytes());
  EXPECT_FALSE(transaction.getTransactionTitle().isPresent());
}

TEST(Views, ReadersFallBackWhenTagsAreAbsentOrMalformed) {
  TalvorenCtx ctx;
  ReportSubCtx& report = ctx.getReportCtx();
  TransactionSubCtx& transaction = ctx.getTransactionCtx();
  ApiSubCtx& api = ctx.getApiCtx();

  EXPECT_TRUE(api.getDidTerminalMakePrintout());
  EXPECT_FALSE(report.getResetReport());
  EXPECT_EQ(api.getBatchStatus(), ECR_BATCH_STATUS_UNKNOWN);
  EXPECT_EQ(transaction.getOriginalTransactionType(), ECR_TRANSACTION_NONE);
  EXPECT_EQ(transaction.getHandleTerminalRequests(), 2);
  EXPECT_EQ(transaction.getTransactionType(), nullptr);
  EXPECT_EQ(transaction.getTransactionAmount(), "");
  ExpectedDataCharacteristics none = transaction.getExpectedDataCharacteristics();
  EXPECT_EQ(none.getMinimumCharacters(), 0);
  EXPECT_EQ(none.getMaximumCharacters(), 99);
  EXPECT_EQ(none.getPromptText(), "");

  api.setTagValue(TAG_BATCH_STATUS, bytes("x1"));
  EXPECT_EQ(api.getBatchStatus(), ECR_BATCH_STATUS_UNKNOWN);
  const std::pair<const char*, ecr_batchStatus> batch[] = {
      {"0", ECR_BATCH_STATUS_0}, {"2", ECR_BATCH_STATUS_1}, {"4", ECR_BATCH_STATUS_2},
      {"1", ECR_BATCH_STATUS_3}, {"3", ECR_BATCH_STATUS_3}, {"17", ECR_BATCH_STATUS_3}};
  for (const auto& b : batch) {
    api.setTagValue(TAG_BATCH_STATUS, bytes(b.first));
    EXPECT_EQ(api.getBatchStatus(), b.second) << b.first;
  }

  // Only purchase to refund can be the original of a reversal.
  transaction.setOriginalTransactionType(4);
  EXPECT_EQ(transaction.getOriginalTransactionType(), ECR_TRANSACTION_REFUND);
  transaction.setOriginalTransactionType(5);
  EXPECT_EQ(transaction.getOriginalTransactionType(), ECR_TRANSACTION_NONE);

  api.setTagValue(TAG_HANDLE_REQUESTS, Bytes{'1', '1'});
  EXPECT_EQ(transaction.getHandleTerminalRequests(), 2);
  api.setTagValue(TAG_PRINTING_INDICATOR, bytes("00"));
  EXPECT_TRUE(api.getDidTerminalMakePrintout());

  // Host number 12 is the last kind; 13 is none.
  transaction.setTransactionType(12);
  TalvorenTransactionType* kind = transaction.getTransactionType();
  ASSERT_NE(kind, nullptr);
  EXPECT_EQ(kind->getTransactionTypeNumber(), 11u);
  delete kind;
  transaction.setTransactionType(13);
  EXPECT_EQ(transaction.getTransactionType(), nullptr);
}

std::string hexText(const Bytes& hexDigits) { return std::string(hexDigits.begin(), hexDigits.end()); }

TEST(TransactionView, FleetItemsNestInOneListItem) {
  TalvorenCtx ctx;
  TransactionSubCtx& transaction = ctx.getTransactionCtx();
  transaction.setTransactionBlikCode(bytes("777"));
  transaction.addFleetCardProductData(Bytes{0xAA, 0xBB});
  transaction.addFleetCardProductData(Bytes{0xCC});

  // BLIK code DF02, then one 7F01 whose value is both items, each a 7F01.
  EXPECT_EQ(hexText(transaction.getAdditionalRequestData()),
            "DF0203373737"
            "7F0109"
            "7F0102AABB"
            "7F0101CC");

  // A third item replaces the list with all three.
  transaction.addFleetCardProductData(Bytes{0xDD});
  EXPECT_EQ(hexText(transaction.getAdditionalRequestData()),
            "DF0203373737"
            "7F010D"
            "7F0102AABB7F0101CC7F0101DD");

  // Clearing empties both stores: the next item starts a new list.
  transaction.clearAdditionalRequestData();
  EXPECT_EQ(hexText(transaction.getAdditionalRequestData()), "");
  transaction.addFleetCardProductData(Bytes{0xEE});
  transaction.setTransactionTokenGenerationEnabled();
  EXPECT_EQ(hexText(transaction.getAdditionalRequestData()), "7F01047F0101EE" "DF010101");
}

// Which clear removes which tag; every other tag must survive all three.
enum Cleared { KEPT, BY_TRANSACTION, BY_BATCH, BY_TERMINAL_INFO, BY_BATCH_AND_TERMINAL_INFO };

struct ClearCase {
  tlv::TlvTag tag;
  Cleared clearedBy;
};

TEST(Clearing, EachClearRemovesItsListAndNothingElse) {
  const ClearCase cases[] = {
      // Request tags of the host.
      {TAG_TRANSACTION_TYPE, KEPT},
      {TAG_AMOUNT, KEPT},
      {TAG_TRANSACTION_TITLE, KEPT},
      {TAG_TRANSACTION_TO_COMPLETE, KEPT},
      {TAG_TRANSACTION_TO_REVERSE, KEPT},
      {TAG_EV_OPERATION_TYPE, KEPT},
      {TAG_EV_EAN, KEPT},
      {TAG_EV_OP_ID, KEPT},
      {TAG_TRANSACTION_ID, KEPT},
      {TAG_CARDSET_ID, KEPT},
      {TAG_CURRENCY_ID, KEPT},
      {TAG_CASH_REGISTER_ID, KEPT},
      {TAG_TERMINAL_INDEX, KEPT},
      {TAG_CONTINUE_PREVIOUS_TRANSACTION, KEPT},
      {TAG_HANDLE_REQUESTS, KEPT},
      {0x9FE020, KEPT},  // the gap in the e-voucher answer range
      {0xDF0E, KEPT},
      // The terminal's answers to a transaction.
      {0x9FD601, BY_TRANSACTION}, {0x9FD40B, BY_TRANSACTION}, {0x9FD401, BY_TRANSACTION},
      {0x89, BY_TRANSACTION},     {0x9FD402, BY_TRANSACTION}, {0x5A, BY_TRANSACTION},
      {0x9FD450, BY_TRANSACTION}, {0x9A, BY_TRANSACTION},     {0x9F21, BY_TRANSACTION},
      {0x9F12, BY_TRANSACTION},   {0x9FD403, BY_TRANSACTION}, {0x9FD404, BY_TRANSACTION},
      {0x9FD405, BY_TRANSACTION}, {0x9FD451, BY_TRANSACTION}, {0x9F36, BY_TRANSACTION},
      {0x9F26, BY_TRANSACTION},   {0x9F06, BY_TRANSACTION},   {0x9FD406, BY_TRANSACTION},
      {0x95, BY_TRANSACTION},     {0x9B, BY_TRANSACTION},     {0x5F2A, BY_TRANSACTION},
      {0x5F3C, BY_TRANSACTION},   {0x9F3A, BY_TRANSACTION},   {0x9FD408, BY_TRANSACTION},
      {0x9FD409, BY_TRANSACTION}, {0x9FD40A, BY_TRANSACTION}, {0x9F03, BY_TRANSACTION},
      {0x9F79, BY_TRANSACTION},   {0x5F36, BY_TRANSACTION},   {0x9FD40E, BY_TRANSACTION},
      {0xDF01, BY_TRANSACTION},   {0xDF07, BY_TRANSACTION},   {0xDF0D, BY_TRANSACTION},
      {0x9FE013, BY_TRANSACTION}, {0x9FE01F, BY_TRANSACTION}, {0x9FE021, BY_TRANSACTION},
      {0x9FE02B, BY_TRANSACTION}, {0xDF11, BY_TRANSACTION},   {0xDF12, BY_TRANSACTION},
      {0x7F02, BY_TRANSACTION},   {0x7F01, BY_TRANSACTION},
      // The printing indicator belongs to both a transaction and a batch.
      {TAG_PRINTING_INDICATOR, BY_TRANSACTION},
      // Batch summary.
      {TAG_TOTAL_AMOUNT_SUM, BY_BATCH},          {TAG_BATCH_TRANSACTION_COUNT, BY_BATCH},
      {TAG_BATCH_STATUS, BY_BATCH},              {TAG_ACQUIER_IDENTIFIER, BY_BATCH},
      {TAG_BATCH_NUMBER, BY_BATCH},              {TAG_BATCH_DATE, BY_BATCH},
      {TAG_BATCH_TIME, BY_BATCH},                {TAG_ACTIVATION_SEQUENCE_NUMBER, BY_BATCH},
      {TAG_CASHIER_IDENTIFIER, BY_BATCH},        {TAG_EVOUCHER_INFO, BY_BATCH},
      // Terminal information; the terminal ID also goes with a batch summary.
      {TAG_TERMINAL_ADDRESS_1, BY_TERMINAL_INFO}, {TAG_TERMINAL_ADDRESS_2, BY_TERMINAL_INFO},
      {TAG_TERMINAL_ADDRESS_3, BY_TERMINAL_INFO}, {TAG_MID, BY_TERMINAL_INFO},
      {TAG_TID, BY_BATCH_AND_TERMINAL_INFO},
  };

  enum Which { TRANSACTION, BATCH, TERMINAL_INFO };
  for (Which which : {TRANSACTION, BATCH, TERMINAL_INFO}) {
    TalvorenCtx ctx;
    ApiSubCtx& api = ctx.getApiCtx();
    for (const ClearCase& c : cases) ASSERT_TRUE(api.setTagValue(c.tag, bytes("v")));
    switch (which) {
      case TRANSACTION: ctx.getTransactionCtx().clearTransactionTags(); break;
      case BATCH: ctx.getReportCtx().clearBatchSummaryData(); break;
      case TERMINAL_INFO: ctx.getMaintenanceCtx().clearTerminalInformation(); break;
    }
    for (const ClearCase& c : cases) {
      bool removed = false;
      switch (which) {
        case TRANSACTION:
          removed = c.clearedBy == BY_TRANSACTION;
          break;
        case BATCH:
          removed = c.clearedBy == BY_BATCH || c.clearedBy == BY_BATCH_AND_TERMINAL_INFO ||
                    c.tag == TAG_PRINTING_INDICATOR;
          break;
        case TERMINAL_INFO:
          removed = c.clearedBy == BY_TERMINAL_INFO || c.clearedBy == BY_BATCH_AND_TERMINAL_INFO;
          break;
      }
      EXPECT_EQ(api.getTagValue(c.tag).isPresent(), !removed)
          << "clear " << which << ", tag 0x" << std::hex << c.tag;
    }
  }
}

TEST(Clearing, RequestStoreIsNotTouchedByTransactionClear) {
  TalvorenCtx ctx;
  TransactionSubCtx& transaction = ctx.getTransactionCtx();
  transaction.setAdditionalPrintoutData(bytes("x"));
  transaction.clearTransactionTags();
  EXPECT_EQ(hexText(transaction.getAdditionalRequestData()), "DF030178");
}

}  // namespace
}  // namespace zq::app::protocols

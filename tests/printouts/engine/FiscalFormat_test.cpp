#include "printouts/engine/FiscalFormat.h"

#include <gtest/gtest.h>

#include <string>

#include "EngineState.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {
namespace {

struct Entry {
  uint32_t number;
  pr_FiscalFormatId id;
  uint32_t printerLine;
  uint32_t len;
};

const Entry kEntries[] = {
    {0, PR_FISCAL_LINE_0, 1, 15},
    {1, PR_FISCAL_RECEIPT_NUMBER, 2, 15},
    {2, PR_FISCAL_TID_MID, 4, 24},
    {3, PR_FISCAL_PAN_EXPIRY, 9, 26},
    {4, PR_FISCAL_CARD_LABEL, 8, 33},
    {5, PR_FISCAL_AMOUNT, 31, 25},
    {6, PR_FISCAL_AMOUNT_REFUND, 32, 25},
    {7, PR_FISCAL_AMOUNT_PREAUTH, 72, 25},
    {8, PR_FISCAL_CASHBACK, 33, 25},
    {9, PR_FISCAL_TIP, 34, 25},
    {10, PR_FISCAL_TOTAL, 57, 25},
    {11, PR_FISCAL_AUTH_CODE, 17, 12},
    {12, PR_FISCAL_LIMIT, 20, 15},
    {13, PR_FISCAL_LINE_13, 21, 0},
    {14, PR_FISCAL_LINE_14, 22, 0},
    {15, PR_FISCAL_TRANSACTION_VOIDED, 23, 0},
    {16, PR_FISCAL_PIN_VERIFIED, 24, 0},
    {17, PR_FISCAL_SIGNATURE_FIELD, 25, 0},
    {18, PR_FISCAL_SIGNATURE_LABEL, 26, 0},
    {19, PR_FISCAL_MERCHANT_COPY, 29, 0},
    {20, PR_FISCAL_CUSTOMER_COPY, 30, 0},
    {21, PR_FISCAL_AID, 36, 33},
    {22, PR_FISCAL_CRYPTOGRAM_TC, 37, 35},
    {23, PR_FISCAL_CRYPTOGRAM_AAC, 38, 35},
    {24, PR_FISCAL_CRYPTOGRAM_ARQC, 41, 35},
    {25, PR_FISCAL_DECLINE, 54, 0},
    {26, PR_FISCAL_LINE_26, 55, 19},
    {27, PR_FISCAL_RECEIPT_NUMBER_DCC, 76, 15},
    {28, PR_FISCAL_PAN_EXPIRY_DCC, 81, 26},
    {29, PR_FISCAL_CARD_LABEL_DCC, 80, 34},
    {30, PR_FISCAL_AMOUNT_DCC, 61, 25},
    {31, PR_FISCAL_AMOUNT_REFUND_DCC, 62, 25},
    {32, PR_FISCAL_AMOUNT_PREAUTH_DCC, 82, 25},
    {33, PR_FISCAL_CASHBACK_DCC, 60, 25},
    {34, PR_FISCAL_TIP_DCC, 95, 25},
    {35, PR_FISCAL_TOTAL_DCC, 88, 21},
    {36, PR_FISCAL_AUTH_CODE_DCC, 89, 12},
    {37, PR_FISCAL_LIMIT_DCC, 92, 15},
    {38, PR_FISCAL_PIN_VERIFIED_DCC, 70, 0},
    {39, PR_FISCAL_SIGNATURE_LABEL_DCC, 71, 0},
    {40, PR_FISCAL_LINE_26_DCC, 93, 15},
    {41, PR_FISCAL_DCC_RATE_SOURCE, 65, 15},
    {42, PR_FISCAL_GENERIC, 14, 31},
};

class FiscalFormatTest : public ::testing::Test {
 protected:
  EngineState state;
  FiscalFormat& table = FiscalFormat::getInstance();
};

TEST_F(FiscalFormatTest, BuiltInEntries) {
  ASSERT_EQ(sizeof kEntries / sizeof kEntries[0], EngineState::kDefaultFiscalCount);
  for (uint32_t i = 0; i < EngineState::kDefaultFiscalCount; ++i) {
    const Entry& e = kEntries[i];
    ASSERT_EQ(e.number, i);
    EXPECT_EQ(static_cast<uint32_t>(e.id), e.number);
    EXPECT_EQ(table.getId(e.id), e.printerLine) << e.number;
    EXPECT_EQ(table.getLen(e.id), e.len) << e.number;
    EXPECT_EQ(table.getLine(e.id).id, e.printerLine) << e.number;
  }
  EXPECT_EQ(table.getLineWidth(), 31u);
}

TEST_F(FiscalFormatTest, DccDefaultsAndSetUnderTheSwitch) {
  table.setDcc(true);
  EXPECT_EQ(table.getId(PR_FISCAL_RECEIPT_NUMBER), 76u);
  EXPECT_EQ(table.getLen(PR_FISCAL_CARD_LABEL), 34u);
  EXPECT_EQ(table.getId(PR_FISCAL_GENERIC), 14u);
  EXPECT_EQ(table.getLineWidth(), 31u);

  table.set(PR_FISCAL_RECEIPT_NUMBER, {100, 20});
  EXPECT_EQ(table.getId(PR_FISCAL_RECEIPT_NUMBER), 76u);
  table.setDcc(false);
  EXPECT_EQ(table.getId(PR_FISCAL_RECEIPT_NUMBER), 100u);
  EXPECT_EQ(table.getLen(PR_FISCAL_RECEIPT_NUMBER), 20u);
}

TEST_F(FiscalFormatTest, UnknownIdsReadZeroUntilSet) {
  const pr_FiscalFormatId ids[] = {static_cast<pr_FiscalFormatId>(43),
                                   static_cast<pr_FiscalFormatId>(0xFFFFFFFFu)};
  for (const pr_FiscalFormatId id : ids) {
    EXPECT_EQ(table.getId(id), 0u) << id;
    EXPECT_EQ(table.getLen(id), 0u) << id;
    table.set(id, {7, 9});
    EXPECT_EQ(table.getId(id), 7u) << id;
    EXPECT_EQ(table.getLen(id), 9u) << id;
  }
}

// The generic len is the fiscal width; a len above what a line holds is kept
// as the host gave it but laid out as 64.
TEST_F(FiscalFormatTest, GenericLenIsTheFiscalWidthCappedAt64) {
  PrintoutCtx_s ctx;
  table.set(PR_FISCAL_GENERIC, {14, 40});
  PrintoutCtx_s::addFiscalSimpleLeftLineToCtx({"a"}, PR_FISCAL_AID);
  table.set(PR_FISCAL_GENERIC, {14, 100});
  PrintoutCtx_s::addFiscalSimpleRightLineToCtx({"b"}, PR_FISCAL_GENERIC);
  PrintoutCtx_s::addFiscalSimpleCenterLineToCtx({"cc"}, PR_FISCAL_GENERIC);

  EXPECT_EQ(table.getLen(PR_FISCAL_GENERIC), 100u);
  EXPECT_EQ(table.getLineWidth(), 64u);
  ASSERT_EQ(ctx.lines.size(), 3u);
  EXPECT_EQ(std::string(ctx.lines[0].text), "a" + std::string(39, ' '));
  EXPECT_EQ(ctx.lines[0].id, 36u);
  EXPECT_EQ(std::string(ctx.lines[1].text), std::string(63, ' ') + "b");
  EXPECT_EQ(std::string(ctx.lines[2].text), std::string(31, ' ') + "cc" + std::string(31, ' '));
}

}  // namespace
}  // namespace zq::app::printouts

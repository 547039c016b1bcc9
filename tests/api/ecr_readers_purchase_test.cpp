// After a whole purchase against the scripted terminal, every result the
// purchase produced reads back through the terminal functions as the
// terminal sent it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "api/EcrTestHelpers.h"
#include "core/Sleep.h"
#include "core/TagNames.h"
#include "support/PurchaseScript.h"
#include "support/TerminalSimulator.h"
#include "zumbra_ecr.h"

namespace {

using zq::test::TerminalSimulator;
using namespace zq::app::tlv;

void ignorePause(unsigned) {}
// The cardholder presents the card and enters the PIN.
bool yes(const char*) { return true; }
void seen(const char*) {}

class PurchaseReadersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zq::test::recordHostLogs();
    zq::app::utils::registerCustomSleep(ignorePause);
    cb_setWaitForCard(yes);
    cb_setWaitForPin(yes);
    cb_setShowPromptScreen(seen);
    cb_setWaitForCardRemoval(seen);
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
  }
  void TearDown() override {
    ecr_cleanup(&ctx);
    zq::app::utils::registerCustomSleep(nullptr);
  }

  std::string text(ecr_status (*read)(EcrCtx_s*, char*)) {
    char out[80];
    std::memset(out, 0x5A, sizeof out);
    if (read(ctx, out) != ECR_OK) return "<failed>";
    return std::string(out);
  }
  std::string tag(TlvTag t) {
    uint8_t out[80];
    size_t length = sizeof out;
    if (ecr_readTag(ctx, t, out, &length) != ECR_OK) return "<failed>";
    return std::string(out, out + length);
  }

  EcrCtx_s* ctx = nullptr;
};

TEST_F(PurchaseReadersTest, EveryResultOfAPurchaseReadsAsTheTerminalSentIt) {
  zq::test::PurchaseDetails sale;
  sale.amount = "1250";
  sale.authorizationMethod = "A";  // PIN in the one-byte method field
  TerminalSimulator terminal(zq::test::purchaseScript(sale));
  ecr_setProtocol(ctx, 0);
  ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", terminal.port(), 300), ECR_OK);
  ASSERT_EQ(ecr_setCashRegisterId(ctx, "1", 1), ECR_OK);
  ASSERT_EQ(ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE), ECR_OK);
  ASSERT_EQ(ecr_setTransactionAmount(ctx, sale.amount.c_str()), ECR_OK);

  ASSERT_EQ(ecr_startTransaction(ctx), ECR_OK);
  ASSERT_TRUE(terminal.mismatches().empty());

  ecr_transactionResult result = ECR_TRANSACTION_RESULT_7;
  EXPECT_EQ(ecr_readTransactionResult(ctx, &result), ECR_OK);
  EXPECT_EQ(result, ECR_TRANSACTION_RESULT_0);

  uint32_t value = 99;
  EXPECT_EQ(ecr_readTransactionType(ctx, reinterpret_cast<ecr_transactionType*>(&value)), ECR_OK);
  EXPECT_EQ(value, 0u);
  EXPECT_EQ(ecr_readUsedCardReaderType(ctx, reinterpret_cast<CardReaderType*>(&value)), ECR_OK);
  EXPECT_EQ(value, static_cast<uint32_t>(CARD_READER_CHIP));
  EXPECT_EQ(ecr_readAuthorizationType(ctx, reinterpret_cast<AuthorizationType*>(&value)), ECR_OK);
  EXPECT_EQ(value, static_cast<uint32_t>(AUTHORIZATION_TYPE_1));
  EXPECT_EQ(ecr_readAuthorizationMethod(ctx, reinterpret_cast<AuthorizationMethod*>(&value)),
            ECR_OK);
  EXPECT_EQ(value, static_cast<uint32_t>(AUTHORIZATION_METHOD_PIN));
  EXPECT_EQ(ecr_readTerminalStatus(ctx, reinterpret_cast<ecr_terminalStatus*>(&value)), ECR_OK);
  EXPECT_EQ(value, static_cast<uint32_t>(TERMINAL_STATUS_READY));
  bool flag = false;
  EXPECT_EQ(ecr_readIfTerminalMadePrinout(ctx, &flag), ECR_OK);
  EXPECT_TRUE(flag);  // the printing indicator "1"
  flag = true;
  EXPECT_EQ(ecr_readIfTransactionWasReversal(ctx, &flag), ECR_OK);
  EXPECT_FALSE(flag);

  EXPECT_EQ(text(ecr_readTransactionDate), sale.date);
  EXPECT_EQ(text(ecr_readTransactionTime), sale.time);
  EXPECT_EQ(text(ecr_readTransactionAmount), sale.amount);
  EXPECT_EQ(text(ecr_readTransactionCounter), "0012");
  EXPECT_EQ(text(ecr_readTransactionCryptogram), "1122334455667788");
  EXPECT_EQ(text(ecr_readTransactionAid), "A0000000031010");
  EXPECT_EQ(text(ecr_readTransactionTvr), "0000008000");  // after its one-character marker
  EXPECT_EQ(text(ecr_readTransactionTsi), "E800");
  EXPECT_EQ(text(ecr_readTransactionCurrencyLabel), sale.currency);
  uint16_t code = 0;
  EXPECT_EQ(ecr_readTransactionCurrencyCode(ctx, &code), ECR_OK);
  EXPECT_EQ(code, 0x0985);

  uint8_t id[32];
  size_t length = sizeof id;
  EXPECT_EQ(ecr_readTerminalId(ctx, id, &length), ECR_OK);
  EXPECT_EQ(std::string(id, id + length), sale.terminalId);
  length = sizeof id;
  EXPECT_EQ(ecr_readMerchantId(ctx, id, &length), ECR_OK);
  EXPECT_EQ(std::string(id, id + length), sale.merchantId);
  EXPECT_EQ(tag(TAG_AUTHORIZATION_CODE), sale.authorizationCode);
  EXPECT_EQ(tag(TAG_MASKED_PAN), sale.maskedPan);
  EXPECT_EQ(tag(TAG_TRANSACTION_NUMBER), sale.transactionNumber);
  EXPECT_EQ(tag(TAG_APP_PREFERRED_NAME), sale.applicationName);

  // What the terminal did not send stays absent.
  char none[16];
  EXPECT_EQ(ecr_readTransactionCashback(ctx, none), ECR_NO_DATA);
  EXPECT_EQ(ecr_readTerminalCurrencyLabel(ctx, none), ECR_NO_DATA);
  EXPECT_EQ(ecr_readCurrencyExponent(ctx, none), ECR_NO_DATA);

  // The result image starts with the three mandatory items in their order.
  uint8_t image[4096];
  length = sizeof image;
  ASSERT_EQ(ecr_readResultTags(ctx, image, &length), ECR_OK);
  const std::vector<uint8_t> head = {0x9C, 0x01, '0', 0x9F, 0xD4, 0x0B, 0x01, '0',
                                     0x9F, 0xD4, 0x01, 0x02, '4', '2'};
  ASSERT_GE(length, head.size());
  EXPECT_EQ(std::vector<uint8_t>(image, image + head.size()), head);
  const std::string all(image, image + length);
  EXPECT_NE(all.find(sale.authorizationCode), std::string::npos);
  EXPECT_NE(all.find(sale.terminalId), std::string::npos);
}

}  // namespace

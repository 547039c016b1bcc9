#include "protocol/TransactionDataMessage.h"

#include <string>

#include "core/zumbra_log.h"
#include "protocol/TalvorenEnums.h"
#include "protocol/TalvorenTransactionType.h"

namespace zq::app::protocols {

uint32_t TransactionDataMessage::terminalNumberToTransactionType(uint32_t terminalNumber) {
  switch (terminalNumber) {
    case 1: return ECR_TRANSACTION_PURCHASE;
    case 3: return ECR_TRANSACTION_CASHBACK;
    case 4: return ECR_TRANSACTION_PREAUTH;
    case 5: return ECR_TRANSACTION_COMPLETION;
    case 6: return ECR_TRANSACTION_REFUND;
    case 10: return ECR_TRANSACTION_REVERSAL;
    case 11: return ECR_TRANSACTION_PURCHASE_EVOUCHER;
    case 31: return ECR_TRANSACTION_RECONCILIATION;
    case 33: return ECR_TRANSACTION_CONNECTION_TEST;
    case 40: return ECR_TRANSACTION_CONNECT_TO_TMS;
    case 42: return ECR_TRANSACTION_GIFTCARD_ACTIVATION;
    case 43: return ECR_TRANSACTION_GIFTCARD_BALANCE;
    case 44: return ECR_TRANSACTION_GIFTCARD_TOPUP;
    default: return ECR_TRANSACTION_NONE;
  }
}

namespace {

// Only purchase, cashback, pre-authorisation, completion and refund can be
// reversed.
uint32_t reversedTransactionType(uint32_t terminalNumber) {
  switch (terminalNumber) {
    case 1:
    case 3:
    case 4:
    case 5:
    case 6:
      return TransactionDataMessage::terminalNumberToTransactionType(terminalNumber);
    default:
      return ECR_TRANSACTION_NONE;
  }
}

}  // namespace

bool TransactionDataMessage::parseMessageSpecificPart() {
  // The reply is read and checked whole before anything is stored. Its kind
  // replaces the transaction type the next request is built from, so a
  // reply that fails half-way must not leave its kind behind: a purchase
  // would go out as whatever the garbled reply named (a reversal, say).
  uint32_t kind = 0;
  if (!extractFourByteInt(kind, 1)) {
    logDevError("Unable to extract transaction type");
    return false;
  }
  uint32_t returnCode = 0;
  if (!extractTwoByteInt(returnCode, 1)) {
    logDevError("Unable to extract transaction return code");
    return false;
  }
  const bool optionalData = !isIteratorOnDataEnd();
  uint32_t number = 0;
  std::string details;
  if (optionalData) {
    if (!extractEightByteInt(number, 0)) {
      logDevError("Unable to extract transaction number");
      return false;
    }
    if (!extractString(details)) {
      logDevError("Unable to extract transaction details");
      return false;
    }
  }

  transactionCtx.clearTransactionTags();
  const uint32_t reversal = TalvorenTransactionType::getReversalResponseCode();
  if (kind < reversal) {
    transactionCtx.setIsReversal(false);
    transactionCtx.setTransactionType(terminalNumberToTransactionType(kind));
  } else {
    transactionCtx.setIsReversal(true);
    transactionCtx.setOriginalTransactionType(reversedTransactionType(kind - reversal));
    transactionCtx.setTransactionType(ECR_TRANSACTION_REVERSAL);
  }
  transactionCtx.setLastTransactionReturnCode(returnCode);
  if (!optionalData) {
    logDevTrace("Optional data not provided");
    return true;
  }
  transactionCtx.setTransactionNumber(number);
  // The details never fail: a bad value only leaves its tag absent.
  transactionCtx.setTransactionDetails(details);
  return true;
}

}  // namespace zq::app::protocols

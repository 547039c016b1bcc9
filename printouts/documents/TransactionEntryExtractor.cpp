#include "printouts/documents/TransactionEntryExtractor.h"

#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "printouts/documents/AuthCodeExtractor.h"
#include "printouts/engine/AdvancedLineBuilder.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

void TransactionEntryExtractor::addEntryToPrintout(EcrCtx_s* ecr, const unsigned& width) {
  this->ecr = ecr;
  addFirstEntryLineToPrintout(width);
  addSecondEntryLineToPrintout(width);
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(std::string()));
}

void TransactionEntryExtractor::addFirstEntryLineToPrintout(const unsigned& width) {
  const std::string left = commonData.getTag(ecr, tlv::TAG_AUTHORIZATION_MESSAGE_NUMBER) + " " +
                           commonData.getTag(ecr, tlv::TAG_MASKED_PAN);
  const std::string right = getTransactionTypeIso() + " " + getTransactionDayAndMonth() + " " +
                            getTransactionHour();
  TwoEntryLineBrokenBuilder::get().buildLine(RawLineTexts(left, right), width);
}

void TransactionEntryExtractor::addSecondEntryLineToPrintout(const unsigned& width) {
  std::string right = prepareMerchantAmount();
  // Without an amount in the terminal's currency, the transaction's own.
  if (right == PrintDictionary::phrase(PR_DICT_UNKNOWN)) right = prepareAmount();
  const std::string left = "K " + commonData.getCardReaderName(ecr) + " " +
                           StandardAuthCodeExtractor().getAuthTypeName(ecr) + " " +
                           commonData.getTag(ecr, tlv::TAG_AUTHORIZATION_CODE);
  TwoEntryLineBrokenBuilder::get().buildLine(RawLineTexts(left, right), width);
}

std::string TransactionEntryExtractor::getTransactionTypeIso() const {
  bool reversal = false;
  if (ecr_readIfTransactionWasReversal(ecr, &reversal) == ECR_OK && reversal) return "02";
  ecr_transactionType type = ECR_TRANSACTION_NONE;
  const ecr_status status = ecr_readTransactionType(ecr, &type);
  if (status != ECR_OK) {
    logBusError("Unable to get transaction type for conversion to ISO, status 0x%02X",
                static_cast<unsigned>(status));
    return "XX";
  }
  switch (type) {
    case ECR_TRANSACTION_PURCHASE:
    case ECR_TRANSACTION_COMPLETION:
      return "00";
    case ECR_TRANSACTION_CASHBACK:
      return "09";
    case ECR_TRANSACTION_PREAUTH:
      return "30";
    case ECR_TRANSACTION_REFUND:
      return "20";
    case ECR_TRANSACTION_REVERSAL:
      return "02";
    default:
      logBusError("Transaction type not recognized");
      return "XX";
  }
}

std::string TransactionEntryExtractor::getTransactionDayAndMonth() const {
  const std::string date = commonData.getTransactionDate(ecr);  // DD.MM.YYYY
  if (date.size() > 5) return date.substr(0, 2) + date.substr(3, 2);
  logBusError("Printout date not available");
  return std::string();
}

std::string TransactionEntryExtractor::getTransactionHour() {
  if (checkHexTag(tlv::TAG_TRANSACTION_TIME)) return value;
  return PrintDictionary::phrase(PR_DICT_UNKNOWN);
}

}  // namespace zq::app::printouts

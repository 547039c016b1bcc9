#include "printouts/documents/CommonDataExtractor.h"

#include <cstdint>
#include <cstring>

#include "core/Converters.h"
#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

namespace {

std::string unknown() { return PrintDictionary::phrase(PR_DICT_UNKNOWN); }

// A present tag that fits the room given; the value itself is not needed.
bool tagFits(EcrCtx_s* ecr, TlvTag tag) {
  uint8_t buffer[32] = {};
  size_t length = sizeof buffer;
  return ecr_readTag(ecr, tag, buffer, &length) == ECR_OK;
}

}  // namespace

std::string CommonDataExtractor::getTag(EcrCtx_s* ecr, TlvTag tag) {
  this->ecr = ecr;
  return ExtractorWithGettingTag::getTag(tag);
}

ecr_transactionType CommonDataExtractor::getTransType(EcrCtx_s* ecr) const {
  ecr_transactionType type = ECR_TRANSACTION_NONE;
  const ecr_status status = ecr_readTransactionType(ecr, &type);
  if (status != ECR_OK) {
    logBusError("Unable to get transaction type, status 0x%02X", static_cast<unsigned>(status));
    return ECR_TRANSACTION_NONE;
  }
  if (type == ECR_TRANSACTION_REVERSAL) return getOriginalTransType(ecr);
  return type;
}

ecr_transactionType CommonDataExtractor::getOriginalTransType(EcrCtx_s* ecr) const {
  ecr_transactionType type = ECR_TRANSACTION_NONE;
  const ecr_status status = ecr_readOriginalTransactionType(ecr, &type);
  if (status != ECR_OK) {
    logBusError("Unable to get original transaction type, status 0x%02X",
                static_cast<unsigned>(status));
    return ECR_TRANSACTION_NONE;
  }
  return type;
}

CardReaderType CommonDataExtractor::getCardReaderType(EcrCtx_s* ecr) const {
  CardReaderType type = CARD_READER_UNKNOWN;
  const ecr_status status = ecr_readUsedCardReaderType(ecr, &type);
  if (status != ECR_OK) {
    logBusError("Unable to get used reader, status 0x%02X", static_cast<unsigned>(status));
    return CARD_READER_UNKNOWN;
  }
  return type;
}

std::string CommonDataExtractor::getCardReaderName(EcrCtx_s* ecr) const {
  switch (getCardReaderType(ecr)) {
    case CARD_READER_CONTACTLESS:
      return PrintDictionary::phrase(PR_DICT_READER_TYPE_0);
    case CARD_READER_MAGSTRIPE:
      return PrintDictionary::phrase(PR_DICT_READER_TYPE_1);
    case CARD_READER_CHIP:
      return PrintDictionary::phrase(PR_DICT_READER_TYPE_2);
    case CARD_READER_MANUAL:
      return PrintDictionary::phrase(PR_DICT_READER_TYPE_3);
    default:
      return unknown();
  }
}

AuthorizationMethod CommonDataExtractor::getAuthorizationMethod(EcrCtx_s* ecr) const {
  AuthorizationMethod method = AUTHORIZATION_METHOD_UNKNOWN;
  const ecr_status status = ecr_readAuthorizationMethod(ecr, &method);
  if (status != ECR_OK) {
    logBusError("Unable to get authorization message, status 0x%02X", static_cast<unsigned>(status));
    return AUTHORIZATION_METHOD_UNKNOWN;
  }
  return method;
}

ecr_batchStatus CommonDataExtractor::getBatchStatus(EcrCtx_s* ecr) const {
  ecr_batchStatus batch = ECR_BATCH_STATUS_UNKNOWN;
  const ecr_status status = ecr_readBatchStatus(ecr, &batch);
  if (status != ECR_OK) {
    logBusError("Unable to get batch status, status 0x%02X", static_cast<unsigned>(status));
    return ECR_BATCH_STATUS_UNKNOWN;
  }
  return batch;
}

std::string CommonDataExtractor::convertDateToDayMonthYearFormat(const char* date) {
  std::string text;
  text += date[8];
  text += date[9];
  text += '.';
  text += date[5];
  text += date[6];
  text += '.';
  text.append(date, 4);
  return text;
}

std::string CommonDataExtractor::getTransactionDate(EcrCtx_s* ecr) const {
  char date[ECR_TRANSACTION_DATE_SIZE] = {};
  const ecr_status status = ecr_readTransactionDate(ecr, date);
  if (status != ECR_OK) {
    logBusError("Unable to get transaction date, status 0x%02X", static_cast<unsigned>(status));
    return unknown();
  }
  date[sizeof date - 1] = '\0';
  logDevTrace("Transaction date: %s", date);
  return convertDateToDayMonthYearFormat(date);
}

std::string CommonDataExtractor::getTransactionTime(EcrCtx_s* ecr) const {
  char time[ECR_TRANSACTION_TIME_SIZE] = {};
  const ecr_status status = ecr_readTransactionTime(ecr, time);
  if (status != ECR_OK) {
    logBusError("Unable to get transaction time, status 0x%02X", static_cast<unsigned>(status));
    return unknown();
  }
  time[sizeof time - 1] = '\0';
  logDevTrace("Transaction time: %s", time);
  return std::string(time);
}

std::string CommonDataExtractor::getReportTitle(EcrCtx_s* ecr) const {
  uint8_t title[64] = {};
  size_t length = sizeof title;
  const ecr_status status = ecr_readReportTitle(ecr, title, &length);
  if (status == ECR_EMPTY) {
    logBusTrace("Report title not available");
    return std::string();
  }
  if (status != ECR_OK) {
    logBusError("Report title is missing, status 0x%02x", static_cast<unsigned>(status));
    return unknown();
  }
  if (length > sizeof title) length = sizeof title;
  return std::string(reinterpret_cast<const char*>(title), length);
}

std::string CommonDataExtractor::getTransactionNumberToReverse(EcrCtx_s* ecr) {
  this->ecr = ecr;
  if (checkStandardTag(TAG_TRANSACTION_TO_REVERSE) && value != "000000") return value;
  const utils::Optional<uint64_t> number =
      utils::asciiToUint64(ExtractorWithGettingTag::getTag(TAG_TRANSACTION_NUMBER));
  // Transaction 0 has no predecessor: printing the wrapped-around number
  // would name a transaction that never existed.
  if (!number.isPresent() || *number == 0) {
    logDevError("Unable to get transaction number");
    return unknown();
  }
  return utils::uint64ToAscii(*number - 1, 6, '0');
}

bool CommonDataExtractor::isTransactionSuccessful(EcrCtx_s* ecr) const {
  ecr_transactionResult result = ECR_TRANSACTION_RESULT_0;
  if (ecr_readTransactionResult(ecr, &result) != ECR_OK) {
    logBusError("Unable to get transaction status");
    return false;
  }
  return result == ECR_TRANSACTION_RESULT_0;
}

bool CommonDataExtractor::isDccPrintout(EcrCtx_s* ecr) const {
  return tagFits(ecr, TAG_EXCHANGE_RATE);
}

bool CommonDataExtractor::isMultilangPrintout(EcrCtx_s* ecr) const {
  bool required = false;
  if (ecr_readIfMultilanguagePrintoutIsRequired(ecr, &required) != ECR_OK) return false;
  return required;
}

bool CommonDataExtractor::isBlikTransaction(EcrCtx_s* ecr) const {
  return tagFits(ecr, TAG_BLIK_ENTERED_CODE);
}

void CommonDataExtractor::addTransTypeToPrintout(ecr_transactionType type) {
  std::string text;
  switch (type) {
    case ECR_TRANSACTION_PURCHASE: text = PrintDictionary::phrase(PR_DICT_SALE); break;
    case ECR_TRANSACTION_CASHBACK: text = PrintDictionary::phrase(PR_DICT_CASHBACK); break;
    case ECR_TRANSACTION_PREAUTH: text = PrintDictionary::phrase(PR_DICT_PREAUTHORIZATION); break;
    case ECR_TRANSACTION_COMPLETION: text = PrintDictionary::phrase(PR_DICT_COMPLETION); break;
    case ECR_TRANSACTION_REFUND: text = PrintDictionary::phrase(PR_DICT_REFUND); break;
    case ECR_TRANSACTION_REVERSAL: text = PrintDictionary::phrase(PR_DICT_VOID); break;
    case ECR_TRANSACTION_GIFTCARD_ACTIVATION:
      text = PrintDictionary::phrase(PR_DICT_GIFT_ACTIVATION);
      break;
    case ECR_TRANSACTION_GIFTCARD_BALANCE: text = PrintDictionary::phrase(PR_DICT_GIFT_BALANCE); break;
    case ECR_TRANSACTION_RECONCILIATION: text = PrintDictionary::phrase(PR_DICT_SETTLEMENT); break;
    case ECR_TRANSACTION_CONNECTION_TEST:
      text = PrintDictionary::phrase(PR_DICT_CONNECTION_TEST);
      break;
    case ECR_TRANSACTION_CONNECT_TO_TMS: text = PrintDictionary::phrase(PR_DICT_UPDATE); break;
    case ECR_TRANSACTION_GIFTCARD_TOPUP: text = PrintDictionary::phrase(PR_DICT_GIFT_TOPUP); break;
    case ECR_TRANSACTION_NONE: text = unknown(); break;
    default: break;  // an e-voucher purchase and unknown values have no heading text
  }
  PrintoutCtx_s::addStandardBigBoldCenterLineToCtx(RawLineTexts(text));
}

void CommonDataExtractor::addAdditionalPrintoutDataToPrintout(EcrCtx_s* ecr) {
  char data[ECR_ADDITIONAL_PRINTOUT_DATA_SIZE] = {};
  if (ecr_readAdditionalPrintoutData(ecr, data) != ECR_OK) return;
  data[sizeof data - 1] = '\0';
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(std::string(data)));
}

}  // namespace zq::app::printouts

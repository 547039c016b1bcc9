#include "printouts/documents/TransactionAmountExtractor.h"

#include <cstdint>

#include "core/Converters.h"
#include "core/zumbra_log.h"
#include "printouts/documents/CurrencyExponentExtractor.h"
#include "printouts/documents/CurrencyLabelExtractor.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

void TransactionAmountExtractor::addTextToPrintout(EcrCtx_s* ecr, bool customerCopy) {
  this->ecr = ecr;
  char cashback[ECR_AMOUNT_SIZE] = {};
  if (ecr_readTransactionCashback(ecr, cashback) == ECR_OK) {
    cashback[ECR_AMOUNT_SIZE - 1] = '\0';
    cashbackAmount = cashback;
    handleCashback(customerCopy);
    return;
  }
  char tip[ECR_AMOUNT_SIZE] = {};
  if (ecr_readTransactionAmountOfTip(ecr, tip) == ECR_OK) {
    tip[ECR_AMOUNT_SIZE - 1] = '\0';
    tipAmount = tip;
    handleTip(customerCopy);
    return;
  }
  addSingleAmountLinesToPrintout(customerCopy);
}

bool TransactionAmountExtractor::readFullAmount() {
  currencyLabel = TransactionCurrencyLabelExtractor().getCurrencyLabel(ecr);
  exponent = usableExponent(CurrencyExponentExtractor().getCurrencyExponent(ecr));
  char buffer[ECR_AMOUNT_SIZE] = {};
  const ecr_status status = ecr_readTransactionAmount(ecr, buffer);
  if (status != ECR_OK) {
    logBusError("Unable to get transaction amount, status 0x%02X", static_cast<unsigned>(status));
    return false;
  }
  buffer[ECR_AMOUNT_SIZE - 1] = '\0';
  fullAmount = buffer;
  return true;
}

std::string TransactionAmountExtractor::originalFrom(const std::string& part,
                                                     const char* errorLine) const {
  const utils::Optional<uint64_t> full = utils::asciiToUint64(fullAmount);
  const utils::Optional<uint64_t> taken = utils::asciiToUint64(part);
  // A part larger than the whole would wrap around to a twenty-digit
  // purchase amount; the receipt shows it as unknown instead.
  if (!full.isPresent() || !taken.isPresent() || *taken > *full) {
    logDevError(errorLine, fullAmount.c_str(), part.c_str());
    return PrintDictionary::phrase(PR_DICT_UNKNOWN);
  }
  return utils::uint64ToAscii(*full - *taken);
}

void TransactionAmountExtractor::getOriginalAmountFromCashback() {
  originalAmount = originalFrom(
      cashbackAmount,
      "Unable to convert amounts, provided full amount: %s, provided cashback amount: %s");
}

void TransactionAmountExtractor::getOriginalAmountFromTip() {
  originalAmount = originalFrom(
      tipAmount, "Unable to convert amounts, provided full amount: %s, provided amount of tip: %s");
}

void TransactionAmountExtractor::handleCashback(bool customerCopy) {
  if (!readFullAmount()) return;
  getOriginalAmountFromCashback();
  addCashbackLinesToPrintout(customerCopy);
}

void TransactionAmountExtractor::handleTip(bool customerCopy) {
  if (!readFullAmount()) return;
  getOriginalAmountFromTip();
  addTipLinesToPrintout(customerCopy);
}

std::string TransactionAmountExtractor::formatted(const std::string& value) {
  amount = value;
  return buildAmountEntry();
}

// ---- standard ----

void StandardTransactionAmountExtractor::addTextToPrintout(EcrCtx_s* ecr, ecr_transactionType,
                                                           bool customerCopy) {
  TransactionAmountExtractor::addTextToPrintout(ecr, customerCopy);
}

void StandardTransactionAmountExtractor::addCopyTypeLine(bool customerCopy) const {
  PrintoutCtx_s::addStandardNegativeCenterLineToCtx(RawLineTexts(PrintDictionary::phrase(
      customerCopy ? PR_DICT_CUSTOMER_RECEIPT : PR_DICT_MERCHANT_RECEIPT)));
}

void StandardTransactionAmountExtractor::addSingleAmountLinesToPrintout(bool customerCopy) {
  PrintoutCtx_s::addStandardBoldTwoTextsLineToCtx(RawLineTexts(PR_DICT_AMOUNT, prepareAmount()));
  addCopyTypeLine(customerCopy);
}

void StandardTransactionAmountExtractor::addCashbackLinesToPrintout(bool customerCopy) {
  PrintoutCtx_s::addStandardBoldTwoTextsLineToCtx(RawLineTexts(PR_DICT_AMOUNT, formatted(originalAmount)));
  PrintoutCtx_s::addStandardBoldTwoTextsLineToCtx(
      RawLineTexts(PR_DICT_CASHBACK_AMOUNT, formatted(cashbackAmount)));
  PrintoutCtx_s::addStandardBoldTwoTextsLineToCtx(RawLineTexts(PR_DICT_TOTAL, formatted(fullAmount)));
  addCopyTypeLine(customerCopy);
}

void StandardTransactionAmountExtractor::addTipLinesToPrintout(bool customerCopy) {
  PrintoutCtx_s::addStandardBoldTwoTextsLineToCtx(RawLineTexts(PR_DICT_AMOUNT, formatted(originalAmount)));
  PrintoutCtx_s::addStandardBoldTwoTextsLineToCtx(RawLineTexts(PR_DICT_TIP, formatted(tipAmount)));
  PrintoutCtx_s::addStandardBoldTwoTextsLineToCtx(RawLineTexts(PR_DICT_TOTAL, formatted(fullAmount)));
  addCopyTypeLine(customerCopy);
}

// ---- fiscal ----

void FiscalTransactionAmountExtractor::addTextToPrintout(EcrCtx_s* ecr, ecr_transactionType type,
                                                         bool customerCopy) {
  if (type == ECR_TRANSACTION_PREAUTH) {
    amountFormatId = PR_FISCAL_AMOUNT_PREAUTH;
  } else if (type == ECR_TRANSACTION_REFUND) {
    amountFormatId = PR_FISCAL_AMOUNT_REFUND;
  } else {
    amountFormatId = PR_FISCAL_AMOUNT;
  }
  TransactionAmountExtractor::addTextToPrintout(ecr, customerCopy);
}

std::string FiscalTransactionAmountExtractor::getMerchantAmount(EcrCtx_s* ecr) {
  setSpaceAsSeparator();
  return ExtractorWithBuildingAmountLine::getMerchantAmount(ecr);
}

void FiscalTransactionAmountExtractor::addCopyTypeLineToPrintout(bool customerCopy) {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(), PR_FISCAL_GENERIC);
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(
      RawLineTexts(), customerCopy ? PR_FISCAL_CUSTOMER_COPY : PR_FISCAL_MERCHANT_COPY);
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(), PR_FISCAL_GENERIC);
}

void FiscalTransactionAmountExtractor::addSingleAmountLinesToPrintout(bool customerCopy) {
  setStandardFiscalSeparator();
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(prepareAmount()), amountFormatId);
  addCopyTypeLineToPrintout(customerCopy);
}

void FiscalTransactionAmountExtractor::addCashbackLinesToPrintout(bool customerCopy) {
  setStandardFiscalSeparator();
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(formatted(originalAmount)),
                                                     amountFormatId);
  addCopyTypeLineToPrintout(customerCopy);
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(formatted(cashbackAmount)),
                                                     PR_FISCAL_CASHBACK);
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(formatted(fullAmount)),
                                                     PR_FISCAL_TOTAL);
}

void FiscalTransactionAmountExtractor::addTipLinesToPrintout(bool customerCopy) {
  setStandardFiscalSeparator();
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(formatted(originalAmount)),
                                                     amountFormatId);
  addCopyTypeLineToPrintout(customerCopy);
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(formatted(tipAmount)),
                                                     PR_FISCAL_TIP);
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(formatted(fullAmount)),
                                                     PR_FISCAL_TOTAL);
}

}  // namespace zq::app::printouts

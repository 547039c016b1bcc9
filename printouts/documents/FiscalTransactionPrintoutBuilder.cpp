#include "printouts/documents/FiscalTransactionPrintoutBuilder.h"

#include <string>

#include "core/TagNames.h"
#include "printouts/documents/AuthCodeExtractor.h"
#include "printouts/documents/DccText1Extractor.h"
#include "printouts/documents/DccText2Extractor.h"
#include "printouts/documents/DeclineTextExtractor.h"
#include "printouts/documents/PanAndExpiryDateExtractor.h"
#include "printouts/engine/FiscalFormat.h"

namespace zq::app::printouts {

namespace {

std::string phrase(pr_Dictionary id) { return PrintDictionary::phrase(id); }

// U n: a fiscal line as it is; a marker line when text is empty.
void unformatted(const std::string& text, pr_FiscalFormatId id) {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(text), id);
}
void marker(pr_FiscalFormatId id) { unformatted(std::string(), id); }
// L 42: left-aligned on the fiscal width.
void leftGeneric(const std::string& text) {
  PrintoutCtx_s::addFiscalSimpleLeftLineToCtx(RawLineTexts(text), PR_FISCAL_GENERIC);
}

}  // namespace

const char* FiscalTransactionPrintoutBuilder::getPrintoutName() const {
  return "fiscal terminal transaction";
}

void FiscalTransactionPrintoutBuilder::prepareBasicPrintoutInformation() {
  TransactionPrintoutBuilder::prepareBasicPrintoutInformation();
  // The table's switch stays as set after the receipt: the other fiscal
  // printouts use only the generic line, which it does not remap.
  FiscalFormat::getInstance().setDcc(ctx->dcc);
  ctx->multilang = false;
}

void FiscalTransactionPrintoutBuilder::prepareTidAndMidPart() {
  PrintoutCtx_s::addFiscalSimpleTwoTextsLineToCtx(RawLineTexts(tid, mid), PR_FISCAL_TID_MID);
  unformatted(commonData.getTag(ecr, TAG_AUTHORIZATION_MESSAGE_NUMBER), PR_FISCAL_RECEIPT_NUMBER);
}

void FiscalTransactionPrintoutBuilder::handlePanAndExpiryDate() const {
  FiscalPanAndExpiryDateExtractor& extractor = customerCopy
                                                   ? FiscalCustomerPanAndExpiryDateExtractor::get()
                                                   : FiscalMerchantPanAndExpiryDateExtractor::get();
  extractor.addTextToPrintout(ecr);
}

void FiscalTransactionPrintoutBuilder::addReversalPart() {
  const std::string number = commonData.getTransactionNumberToReverse(ecr);
  unformatted(phrase(PR_DICT_VOID), PR_FISCAL_GENERIC);
  unformatted(RawLineTexts::getPair(PR_DICT_FOR_RECEIPT_NUMBER, number), PR_FISCAL_GENERIC);
}

void FiscalTransactionPrintoutBuilder::handleTransType() const {}

void FiscalTransactionPrintoutBuilder::handleFirstDccPart() {
  leftGeneric(phrase(PR_DICT_DCC_MERCHANT_AMOUNT));
  PrintoutCtx_s::addFiscalSimpleRightLineToCtx(RawLineTexts(transactionAmount.getMerchantAmount(ecr)),
                                               PR_FISCAL_GENERIC);
  leftGeneric(RawLineTexts::getPair(PR_DICT_DCC_EXCHANGE_RATE, commonData.getTag(ecr, TAG_EXCHANGE_RATE)));
  leftGeneric(RawLineTexts::getPair(PR_DICT_DCC_MARKUP, PR_DICT_DCC_MARKUP_VALUE));
  marker(PR_FISCAL_GENERIC);
}

void FiscalTransactionPrintoutBuilder::handleSecondDccPart() const {
  FiscalDccText1Extractor().addTextToPrintout(ecr);
  FiscalDccText2Extractor().addTextToPrintout(ecr);
  addEmptyLine();
}

void FiscalTransactionPrintoutBuilder::handleThirdDccPart() const {
  addEmptyLine();
  unformatted(phrase(PR_DICT_DCC_RATE_PROVIDER), PR_FISCAL_DCC_RATE_SOURCE);
  unformatted(phrase(PR_DICT_DCC_RATE_DATE) + " " + RawLineTexts::getPair(PR_DICT_DATE_EN, date),
              PR_FISCAL_GENERIC);
}

void FiscalTransactionPrintoutBuilder::addAccountActionToPrintout() const {
  const bool refund = transType == ECR_TRANSACTION_REFUND;
  if (ctx->dcc) {
    leftGeneric(phrase(refund ? PR_DICT_CREDIT_MY_ACCOUNT_EN : PR_DICT_CHARGE_MY_ACCOUNT_EN));
  } else {
    marker(refund ? PR_FISCAL_LINE_14 : PR_FISCAL_LINE_13);
  }
  addEmptyLine();
}

void FiscalTransactionPrintoutBuilder::handleAuthCode() const {
  FiscalAuthCodeExtractor().addTextToPrintout(ecr);
}

void FiscalTransactionPrintoutBuilder::handleSuccessfulResult() const {
  const AuthorizationMethod m = authorizationMethod;
  if (m == AUTHORIZATION_METHOD_PIN || m == AUTHORIZATION_METHOD_PIN_AND_SIGNATURE) {
    handleSuccessfulPinPart();
  }
  if (m == AUTHORIZATION_METHOD_CONSUMER_DEVICE) unformatted(phrase(PR_DICT_VERIFIED_BY_DEVICE), PR_FISCAL_GENERIC);
  if (m == AUTHORIZATION_METHOD_NONE && !isBlik) {
    unformatted(phrase(PR_DICT_SIGNATURE_NOT_REQUIRED), PR_FISCAL_GENERIC);
  }
  if (m == AUTHORIZATION_METHOD_SIGNATURE_ON_FILE) unformatted(phrase(PR_DICT_SIGNATURE_ON_FILE), PR_FISCAL_GENERIC);
  if (isAccountActionRequired()) addAccountActionToPrintout();
  addEmptyLine();
  if (m == AUTHORIZATION_METHOD_SIGNATURE || m == AUTHORIZATION_METHOD_PIN_AND_SIGNATURE) {
    handleSuccessfulSignaturePart();
  }
}

void FiscalTransactionPrintoutBuilder::handleSuccessfulPinPart() const {
  // The printer prints its own "PIN verified" for the marker line.
  if (isBlik) {
    unformatted(phrase(PR_DICT_PASSWORD_CORRECT), PR_FISCAL_GENERIC);
  } else {
    marker(PR_FISCAL_PIN_VERIFIED);
  }
}

void FiscalTransactionPrintoutBuilder::handleSuccessfulSignaturePart() const {
  if (customerCopy) {
    if (!PrintoutCtx_s::useSignatureVerifiedLine_) return;
    leftGeneric(phrase(PR_DICT_SIGNATURE_VERIFIED));
    addEmptyLine();
    return;
  }
  addEmptyLine();
  marker(PR_FISCAL_SIGNATURE_FIELD);
  marker(PR_FISCAL_SIGNATURE_LABEL);
  addEmptyLine();
}

void FiscalTransactionPrintoutBuilder::handleUnsuccessfulResult() const {
  if (isAccountActionRequired()) addAccountActionToPrintout();
  if (isVoided()) {
    if (ctx->dcc) {
      leftGeneric(phrase(PR_DICT_TRANSACTION_VOIDED_EN));
    } else {
      marker(PR_FISCAL_TRANSACTION_VOIDED);
    }
  } else {
    FiscalDeclineTextExtractor().addTextToPrintout(ecr, ctx->dcc);
  }
  addEmptyLine();
}

void FiscalTransactionPrintoutBuilder::handleAdditionalFooterPart() const {}

}  // namespace zq::app::printouts

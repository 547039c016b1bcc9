#include "printouts/documents/StandardTransactionPrintoutBuilder.h"

#include <string>

#include "core/TagNames.h"
#include "printouts/documents/AuthCodeExtractor.h"
#include "printouts/documents/DccText1Extractor.h"
#include "printouts/documents/DccText2Extractor.h"
#include "printouts/documents/DeclineTextExtractor.h"
#include "printouts/documents/PanAndExpiryDateExtractor.h"
#include "printouts/engine/AdvancedLineBuilder.h"

namespace zq::app::printouts {

namespace {

std::string phrase(pr_Dictionary id) { return PrintDictionary::phrase(id); }

}  // namespace

const char* StandardTransactionPrintoutBuilder::getPrintoutName() const { return "terminal transaction"; }

void StandardTransactionPrintoutBuilder::prepareTidAndMidPart() {
  const std::string number = commonData.getTag(ecr, TAG_AUTHORIZATION_MESSAGE_NUMBER);
  TwoEntryLineOverlapBuilder::get().buildLine(
      RawLineTexts(RawLineTexts::getPair(PR_DICT_POS_ID, tid),
                   RawLineTexts::getPair(PR_DICT_RECEIPT_NUMBER, number)),
      ctx->normalLineLen);
  if (ctx->multilang) {
    PrintoutCtx_s::addStandardSimpleRightLineToCtx(
        RawLineTexts(RawLineTexts::getPair(PR_DICT_RECEIPT_NUMBER_EN, number)));
  }
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(RawLineTexts::getPair(PR_DICT_MID, mid)));
}

void StandardTransactionPrintoutBuilder::handlePanAndExpiryDate() const {
  StandardPanAndExpiryDateExtractor& extractor = customerCopy
                                                     ? StandardCustomerPanAndExpiryDateExtractor::get()
                                                     : StandardMerchantPanAndExpiryDateExtractor::get();
  extractor.addTextToPrintout(ecr, ctx->normalLineLen);
  if (ctx->multilang) extractor.addMultilangExpiryDateToPrintout();
}

void StandardTransactionPrintoutBuilder::addReversalPart() {
  PrintoutCtx_s::addStandardBoldLeftLineToCtx(RawLineTexts(phrase(PR_DICT_VOID)));
  const std::string number = commonData.getTransactionNumberToReverse(ecr);
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(
      RawLineTexts(RawLineTexts::getPair(PR_DICT_FOR_RECEIPT_NUMBER, number)));
  if (ctx->multilang) {
    PrintoutCtx_s::addStandardBoldLeftLineToCtx(RawLineTexts(phrase(PR_DICT_VOID_EN)));
    PrintoutCtx_s::addStandardSimpleLeftLineToCtx(
        RawLineTexts(RawLineTexts::getPair(PR_DICT_FOR_RECEIPT_NUMBER_EN, number)));
  }
}

void StandardTransactionPrintoutBuilder::handleTransType() const {
  CommonDataExtractor::addTransTypeToPrintout(transType);
  if (ctx->multilang) inEnglish([this] { CommonDataExtractor::addTransTypeToPrintout(transType); });
}

void StandardTransactionPrintoutBuilder::handleFirstDccPart() {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(phrase(PR_DICT_DCC_MERCHANT_AMOUNT)));
  PrintoutCtx_s::addStandardSimpleRightLineToCtx(RawLineTexts(transactionAmount.getMerchantAmount(ecr)));
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(
      RawLineTexts::getPair(PR_DICT_DCC_EXCHANGE_RATE, commonData.getTag(ecr, TAG_EXCHANGE_RATE))));
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(
      RawLineTexts(RawLineTexts::getPair(PR_DICT_DCC_MARKUP, PR_DICT_DCC_MARKUP_VALUE)));
}

void StandardTransactionPrintoutBuilder::handleSecondDccPart() const {
  DccText1Extractor().addTextToPrintout(ecr, ctx->normalLineLen);
  DccText2Extractor().addTextToPrintout(ecr, ctx->normalLineLen);
}

void StandardTransactionPrintoutBuilder::handleThirdDccPart() const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts());
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(
      RawLineTexts(phrase(PR_DICT_DCC_RATE_SOURCE) + " " + phrase(PR_DICT_DCC_RATE_PROVIDER)));
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(
      RawLineTexts(phrase(PR_DICT_DCC_RATE_DATE) + " " +
                   RawLineTexts::getPair(PR_DICT_DATE_EN, commonData.getTransactionDate(ecr))));
}

void StandardTransactionPrintoutBuilder::addWithEnglishTwin(void (*add)(const RawLineTexts&),
                                                            pr_Dictionary polish,
                                                            pr_Dictionary english) const {
  add(RawLineTexts(phrase(polish)));
  if (ctx->multilang) add(RawLineTexts(phrase(english)));
}

void StandardTransactionPrintoutBuilder::handleSuccessfulResult() const {
  const AuthorizationMethod m = authorizationMethod;
  const auto centre = PrintoutCtx_s::addStandardSimpleCenterLineToCtx;
  if (m == AUTHORIZATION_METHOD_NONE && !isBlik) {
    addWithEnglishTwin(centre, PR_DICT_SIGNATURE_NOT_REQUIRED, PR_DICT_SIGNATURE_NOT_REQUIRED_EN);
  }
  if (m == AUTHORIZATION_METHOD_SIGNATURE_ON_FILE) {
    addWithEnglishTwin(centre, PR_DICT_SIGNATURE_ON_FILE, PR_DICT_SIGNATURE_ON_FILE_EN);
  }
  if (m == AUTHORIZATION_METHOD_CONSUMER_DEVICE) {
    addWithEnglishTwin(centre, PR_DICT_VERIFIED_BY_DEVICE, PR_DICT_VERIFIED_BY_DEVICE_EN);
  }
  if (isAccountActionRequired()) addAccountActionToPrintout();
  if (m == AUTHORIZATION_METHOD_PIN || m == AUTHORIZATION_METHOD_PIN_AND_SIGNATURE) {
    handleSuccessfulPinPart();
  }
  if (m == AUTHORIZATION_METHOD_SIGNATURE || m == AUTHORIZATION_METHOD_PIN_AND_SIGNATURE) {
    handleSuccessfulSignaturePart();
  }
}

void StandardTransactionPrintoutBuilder::handleSuccessfulPinPart() const {
  // A BLIK payment is confirmed with the customer's password, not a PIN.
  addWithEnglishTwin(PrintoutCtx_s::addStandardBoldCenterLineToCtx,
                     isBlik ? PR_DICT_PASSWORD_CORRECT : PR_DICT_PIN_VERIFIED,
                     isBlik ? PR_DICT_PASSWORD_CORRECT_EN : PR_DICT_PIN_VERIFIED_EN);
  addEmptyLine();
}

void StandardTransactionPrintoutBuilder::handleSuccessfulSignaturePart() const {
  if (customerCopy) {
    if (!PrintoutCtx_s::useSignatureVerifiedLine_) return;
    addWithEnglishTwin(PrintoutCtx_s::addStandardBoldCenterLineToCtx, PR_DICT_SIGNATURE_VERIFIED,
                       PR_DICT_SIGNATURE_VERIFIED_EN);
    return;
  }
  // The merchant keeps the copy the cardholder signs.
  addEmptyLine();
  PrintoutCtx_s::addStandardSimpleUnformattedLineToCtx(RawLineTexts(std::string(ctx->normalLineLen, '.')));
  addWithEnglishTwin(PrintoutCtx_s::addStandardSmallCenterLineToCtx, PR_DICT_CARDHOLDER_SIGNATURE,
                     PR_DICT_CARDHOLDER_SIGNATURE_EN);
  addEmptyLine();
}

void StandardTransactionPrintoutBuilder::handleUnsuccessfulResult() const {
  if (isAccountActionRequired()) addAccountActionToPrintout();
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts());
  if (isVoided()) {
    addWithEnglishTwin(PrintoutCtx_s::addStandardNegativeBigBoldCenterLineToCtx,
                       PR_DICT_TRANSACTION_VOIDED, PR_DICT_TRANSACTION_VOIDED_EN);
    return;
  }
  // Reason lines are big-font lines, so they wrap on the big width.
  if (ctx->multilang) {
    MultilangDeclineTextExtractor().addTextToPrintout(ecr, ctx->bigLineLen);
  } else {
    StandardDeclineTextExtractor().addTextToPrintout(ecr, ctx->bigLineLen);
  }
}

void StandardTransactionPrintoutBuilder::handleAuthCode() const {
  addEmptyLine();
  if (ctx->multilang) {
    MultilangAuthCodeExtractor().addTextToPrintout(ecr);
  } else {
    StandardAuthCodeExtractor().addTextToPrintout(ecr);
  }
}

void StandardTransactionPrintoutBuilder::addAccountActionToPrintout() const {
  PrintoutCtx_s::addStandardSimpleCenterLineToCtx(RawLineTexts(
      phrase(transType == ECR_TRANSACTION_REFUND ? PR_DICT_CREDIT_MY_ACCOUNT : PR_DICT_CHARGE_MY_ACCOUNT)));
}

void StandardTransactionPrintoutBuilder::handleAdditionalFooterPart() const {
  if (ctx->dcc) {
    PrintoutCtx_s::addStandardSimpleCenterLineToCtx(RawLineTexts(phrase(PR_DICT_THANK_YOU_PAYMENT)));
    PrintoutCtx_s::addStandardSimpleCenterLineToCtx(RawLineTexts(phrase(PR_DICT_CARD_SUPPORTS_PAYMENTS)));
    return;
  }
  PrintoutCtx_s::addStandardSimpleCenterLineToCtx(RawLineTexts(phrase(PR_DICT_THANK_YOU_CARD)));
  PrintoutCtx_s::addStandardSimpleCenterLineToCtx(RawLineTexts(phrase(PR_DICT_KEEP_RECEIPT)));
  if (ctx->multilang) {
    addEmptyLine();
    PrintoutCtx_s::addStandardSimpleCenterLineToCtx(RawLineTexts(phrase(PR_DICT_THANK_YOU_PAYMENT)));
    PrintoutCtx_s::addStandardSimpleCenterLineToCtx(RawLineTexts(phrase(PR_DICT_CARD_SUPPORTS_PAYMENTS)));
  }
}

}  // namespace zq::app::printouts

// The transaction receipt: the extractors it is made of, the order in which
// its parts are printed (one order for the standard and the fiscal layout),
// and the parts each layout fills in.
//
// A receipt can be a DCC receipt (the terminal returned an exchange rate: it
// adds the amount in the merchant's currency, the rate and the DCC texts, and
// prints its phrases in English) and can be bilingual (chosen parts in
// Polish, each followed at once by its English repeat). Both work through the
// dictionary's DCC switch, which equals the receipt's DCC flag while the
// receipt is built, is turned on around each English repeat, and is left off.
#pragma once

#include <cstdint>

#include "printouts/documents/AdditionalCardsetLineInterface.h"
#include "printouts/documents/CommonDataExtractor.h"
#include "printouts/documents/FleetCardDataExtractor.h"
#include "printouts/documents/PrintoutBuilder.h"
#include "printouts/engine/PrintDictionary.h"

namespace zq::app::printouts {

template <class CardsetLine, class CardDescription, class TransactionAmount, class Limit, class Ac,
          class Title>
class TransactionPrintoutBuilder : public virtual PrintoutBuilder {
 public:
  ~TransactionPrintoutBuilder() override = default;

  // The whole receipt of the last transaction; the code of preparePrintout.
  uint32_t prepareTransactionPrintout(PrintoutCtx_s* ctx, EcrCtx_s* ecr, bool customerCopy);

  // The transaction's facts and the receipt's DCC and bilingual flags.
  void prepareBasicPrintoutInformation() override;
  virtual void resetDcc();
  virtual void handlePanAndExpiryDate() const = 0;
  virtual void addReversalPart() = 0;
  virtual void handleTransType() const = 0;
  virtual void handleFirstDccPart() = 0;
  virtual void handleSecondDccPart() const = 0;
  virtual void handleThirdDccPart() const = 0;
  virtual void handleUnsuccessfulResult() const = 0;
  virtual void handleSuccessfulResult() const = 0;
  virtual void handleAuthCode() const = 0;
  virtual void addAccountActionToPrintout() const = 0;

 protected:
  // The merchant copy of a purchase or refund asks the cardholder to have the
  // account charged (credited) when the cardholder signed, or when a
  // contactless card needed no verification at all.
  bool isAccountActionRequired() const {
    const bool purchaseOrRefund =
        transType == ECR_TRANSACTION_PURCHASE || transType == ECR_TRANSACTION_REFUND;
    const bool signedOrTapped =
        authorizationMethod == AUTHORIZATION_METHOD_SIGNATURE ||
        (authorizationMethod == AUTHORIZATION_METHOD_NONE && cardReaderType == CARD_READER_CONTACTLESS);
    return !customerCopy && purchaseOrRefund && signedOrTapped;
  }

  // The terminal reports the transaction as reversed.
  bool wasReversal() const {
    bool reversal = false;
    return ecr_readIfTransactionWasReversal(ecr, &reversal) == ECR_OK && reversal;
  }

  // A voided transaction: a reversal, or one the terminal reports reversed.
  bool isVoided() const { return transType == ECR_TRANSACTION_REVERSAL || wasReversal(); }

  // Runs part with the dictionary's DCC switch on: the English repeat of a
  // bilingual receipt. The switch goes back to the receipt's DCC flag.
  template <class Part>
  void inEnglish(Part&& part) const {
    PrintDictionary::getInstance().setDcc(true);
    part();
    PrintDictionary::getInstance().setDcc(ctx->dcc);
  }

  ecr_transactionType transType = ECR_TRANSACTION_NONE;  // a reversal shows its original type
  AuthorizationMethod authorizationMethod = AUTHORIZATION_METHOD_UNKNOWN;
  CardReaderType cardReaderType = CARD_READER_UNKNOWN;
  bool isBlik = false;
  bool customerCopy = false;
  CommonDataExtractor commonData;
  FleetCardDataExtractor fleetCardData;
  CardsetLine cardsetLine{nullptr};
  CardDescription cardDescription;
  TransactionAmount transactionAmount;
  Limit limit;
  Ac ac;
  Title title;
};

template <class CardsetLine, class CardDescription, class TransactionAmount, class Limit, class Ac,
          class Title>
void TransactionPrintoutBuilder<CardsetLine, CardDescription, TransactionAmount, Limit, Ac,
                                Title>::prepareBasicPrintoutInformation() {
  transType = commonData.getTransType(ecr);
  authorizationMethod = commonData.getAuthorizationMethod(ecr);
  cardReaderType = commonData.getCardReaderType(ecr);
  isBlik = commonData.isBlikTransaction(ecr);
  ctx->dcc = commonData.isDccPrintout(ecr);
  ctx->multilang = commonData.isMultilangPrintout(ecr);
  PrintDictionary::getInstance().setDcc(ctx->dcc);
}

template <class CardsetLine, class CardDescription, class TransactionAmount, class Limit, class Ac,
          class Title>
void TransactionPrintoutBuilder<CardsetLine, CardDescription, TransactionAmount, Limit, Ac,
                                Title>::resetDcc() {
  PrintDictionary::getInstance().setDcc(false);
}

template <class CardsetLine, class CardDescription, class TransactionAmount, class Limit, class Ac,
          class Title>
uint32_t TransactionPrintoutBuilder<CardsetLine, CardDescription, TransactionAmount, Limit, Ac,
                                    Title>::prepareTransactionPrintout(PrintoutCtx_s* printout,
                                                                       EcrCtx_s* terminal,
                                                                       bool copyForCustomer) {
  const uint32_t status = preparePrintout(printout, terminal);
  if (status != 0) return status;
  customerCopy = copyForCustomer;

  cardsetLine = CardsetLine(ecr);
  cardsetLine.handleCardsetLines();
  handlePanAndExpiryDate();
  cardDescription.addTextToPrintout(ecr);
  bool manualReversal = false;
  if (ecr_readIfReversalWasManual(ecr, &manualReversal) == ECR_OK && manualReversal) addReversalPart();
  addEmptyLine();
  handleTransType();
  if (commonData.isTransactionSuccessful(ecr)) fleetCardData.addFleetCardReceiptItemsToPrintout(ecr);

  if (ctx->dcc) handleFirstDccPart();
  transactionAmount.addTextToPrintout(ecr, transType, customerCopy);
  if (ctx->multilang) inEnglish([&] { transactionAmount.addTextToPrintout(ecr, transType, customerCopy); });
  if (ctx->dcc) handleSecondDccPart();

  // The reversal flag is asked only of a transaction that succeeded.
  if (commonData.isTransactionSuccessful(ecr) && transType != ECR_TRANSACTION_REVERSAL && !wasReversal()) {
    handleSuccessfulResult();
  } else {
    handleUnsuccessfulResult();
  }

  title.addTextToPrintout(ecr);
  if (ctx->multilang) inEnglish([&] { title.addTextToPrintout(ecr); });
  CommonDataExtractor::addAdditionalPrintoutDataToPrintout(ecr);
  handleAuthCode();
  if (customerCopy) {
    limit.addTextToPrintout(ecr);
    if (ctx->multilang) inEnglish([&] { limit.addTextToPrintout(ecr); });
  }
  ac.addTextToPrintout(ecr, isBlik);

  // The footer shows when the transaction was made, not when it was printed.
  date = commonData.getTransactionDate(ecr);
  time = commonData.getTransactionTime(ecr);
  if (ctx->dcc) {
    addEmptyLine();
    handleThirdDccPart();
  }
  if (commonData.isTransactionSuccessful(ecr)) {
    fleetCardData.addAFleetCardDataToPrintout(ecr);
    fleetCardData.addFleetCardSignatureDataToPrintout(ecr, ctx->normalLineLen);
  }
  addEmptyLine();
  finishPrintout();
  resetDcc();
  return 0;
}

}  // namespace zq::app::printouts

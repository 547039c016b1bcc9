// The transaction receipt for a fiscal printer: fiscal lines numbered by
// the fiscal line table, many of them marker lines that carry only their
// number. Never bilingual, no logos, no transaction-type heading and no
// footer texts.
#pragma once

#include "printouts/documents/AcExtractor.h"
#include "printouts/documents/CardDescriptionExtractor.h"
#include "printouts/documents/LimitExtractor.h"
#include "printouts/documents/TransactionAmountExtractor.h"
#include "printouts/documents/TransactionPrintoutBuilder.h"
#include "printouts/documents/TransactionTitleExtractor.h"

namespace zq::app::printouts {

class FiscalTransactionPrintoutBuilder
    : public TransactionPrintoutBuilder<FiscalCardsetLine, FiscalCardDescriptionExtractor,
                                        FiscalTransactionAmountExtractor, FiscalLimitExtractor,
                                        FiscalAcExtractor, FiscalTransactionTitleExtractor>,
      public PrintoutBuilderWithoutLogos,
      public FiscalEmptyLine {
 public:
  // Also the fiscal table's DCC switch; a fiscal receipt is never bilingual.
  void prepareBasicPrintoutInformation() override;
  void handlePanAndExpiryDate() const override;
  void addReversalPart() override;
  void handleTransType() const override;
  void handleFirstDccPart() override;
  void handleSecondDccPart() const override;
  void handleThirdDccPart() const override;
  void handleUnsuccessfulResult() const override;
  void handleSuccessfulResult() const override;
  void handleAuthCode() const override;
  void addAccountActionToPrintout() const override;

  const char* getPrintoutName() const override;
  void prepareTidAndMidPart() override;
  void handleAdditionalFooterPart() const override;

 private:
  void handleSuccessfulPinPart() const;
  void handleSuccessfulSignaturePart() const;
};

}  // namespace zq::app::printouts

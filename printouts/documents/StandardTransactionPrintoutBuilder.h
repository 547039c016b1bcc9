// The transaction receipt for an ordinary receipt printer: logos, fonts and
// alignment, merchant and customer copies, DCC and bilingual forms.
#pragma once

#include "printouts/documents/AcExtractor.h"
#include "printouts/documents/CardDescriptionExtractor.h"
#include "printouts/documents/LimitExtractor.h"
#include "printouts/documents/TransactionAmountExtractor.h"
#include "printouts/documents/TransactionPrintoutBuilder.h"
#include "printouts/documents/TransactionTitleExtractor.h"

namespace zq::app::printouts {

class StandardTransactionPrintoutBuilder
    : public TransactionPrintoutBuilder<StandardCardsetLine, StandardCardDescriptionExtractor,
                                        StandardTransactionAmountExtractor, StandardLimitExtractor,
                                        StandardAcExtractor, StandardTransactionTitleExtractor>,
      public PrintoutBuilderWithLogos,
      public StandardEmptyLine {
 public:
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
  // A phrase and, on a bilingual receipt, its English twin under it, both
  // added by add.
  void addWithEnglishTwin(void (*add)(const RawLineTexts&), pr_Dictionary polish,
                          pr_Dictionary english) const;
};

}  // namespace zq::app::printouts

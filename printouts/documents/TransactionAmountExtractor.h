// The amount part of a transaction receipt: the amount, or the purchase,
// cashback (or tip) and total of a cashback (or tip) transaction, and the
// copy-type line, in standard and fiscal form.
#pragma once

#include <string>

#include "printouts/documents/ExtractorWithBuildingAmountLine.h"
#include "zumbra_printout_types.h"

namespace zq::app::printouts {

class TransactionAmountExtractor : public virtual ExtractorWithBuildingAmountLine {
 public:
  ~TransactionAmountExtractor() override = default;

  virtual void addSingleAmountLinesToPrintout(bool customerCopy) = 0;
  virtual void addCashbackLinesToPrintout(bool customerCopy) = 0;
  virtual void addTipLinesToPrintout(bool customerCopy) = 0;

  // A transaction with both a cashback and a tip prints the cashback form.
  void addTextToPrintout(EcrCtx_s* ecr, bool customerCopy);

 protected:
  void handleCashback(bool customerCopy);
  void handleTip(bool customerCopy);
  void getOriginalAmountFromCashback();
  void getOriginalAmountFromTip();
  // The amount text of a line: value laid out as an amount.
  std::string formatted(const std::string& value);

  std::string cashbackAmount;
  std::string tipAmount;
  std::string originalAmount;  // the purchase part of a cashback or tip transaction
  std::string fullAmount;      // what the terminal reports for such a transaction

 private:
  // Label, exponent and full amount for the cashback and tip forms; false
  // (logged) when the transaction amount cannot be read.
  bool readFullAmount();
  // full minus part, or the unknown phrase (with the error line) when either
  // is not a number or the part is larger than the whole.
  std::string originalFrom(const std::string& part, const char* errorLine) const;
};

class StandardTransactionAmountExtractor : public TransactionAmountExtractor,
                                           public StandardExtractorWithBuildingAmountLine {
 public:
  ~StandardTransactionAmountExtractor() override = default;

  void addSingleAmountLinesToPrintout(bool customerCopy) override;
  void addCashbackLinesToPrintout(bool customerCopy) override;
  void addTipLinesToPrintout(bool customerCopy) override;

  using TransactionAmountExtractor::addTextToPrintout;
  // The standard layout does not depend on the type.
  void addTextToPrintout(EcrCtx_s* ecr, ecr_transactionType type, bool customerCopy);

 private:
  void addCopyTypeLine(bool customerCopy) const;
};

class FiscalTransactionAmountExtractor : public TransactionAmountExtractor,
                                         public FiscalExtractorWithBuildingAmountLine,
                                         public ExtractorWithGettingTag {
 public:
  ~FiscalTransactionAmountExtractor() override = default;

  void addSingleAmountLinesToPrintout(bool customerCopy) override;
  void addCashbackLinesToPrintout(bool customerCopy) override;
  void addTipLinesToPrintout(bool customerCopy) override;
  // Three marker lines: generic, the copy's line, generic.
  void addCopyTypeLineToPrintout(bool customerCopy);

  using TransactionAmountExtractor::addTextToPrintout;
  // The main amount line's id follows the type: refund, pre-authorisation or
  // any other.
  void addTextToPrintout(EcrCtx_s* ecr, ecr_transactionType type, bool customerCopy);
  // 'PLN 123,45': the blank stays the separator until a line operation runs.
  std::string getMerchantAmount(EcrCtx_s* ecr);

 protected:
  pr_FiscalFormatId amountFormatId = PR_FISCAL_GENERIC;
};

}  // namespace zq::app::printouts

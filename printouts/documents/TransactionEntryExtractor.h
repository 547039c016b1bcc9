// One transaction of the long transaction analysis, in two lines: receipt
// and card number with the ISO type, day and time; reader, authorisation
// type and code with the amount.
#pragma once

#include <string>

#include "printouts/documents/CommonDataExtractor.h"
#include "printouts/documents/ExtractorWithBuildingAmountLine.h"

namespace zq::app::printouts {

class TransactionEntryExtractor : public StandardExtractorWithBuildingAmountLine,
                                  public ExtractorWithCheckingTag {
 public:
  // The two lines and an empty line.
  void addEntryToPrintout(EcrCtx_s* ecr, const unsigned& width);
  void addFirstEntryLineToPrintout(const unsigned& width);
  void addSecondEntryLineToPrintout(const unsigned& width);

  // "00" purchase and completion, "09" cashback, "30" pre-authorisation,
  // "20" refund, "02" a reversal; "XX" for anything else.
  std::string getTransactionTypeIso() const;
  // DDMM; empty when the date is not available.
  std::string getTransactionDayAndMonth() const;
  // HHMMSS as the terminal sent it.
  std::string getTransactionHour();

 private:
  CommonDataExtractor commonData;
};

}  // namespace zq::app::printouts

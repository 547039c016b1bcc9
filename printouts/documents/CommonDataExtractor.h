// The small facts about the last transaction that several printouts need.
// Every getter reads through one exported reader, never fails, logs what
// went wrong and answers a fixed default.
#pragma once

#include <string>

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class CommonDataExtractor : public ExtractorWithGettingTag, public ExtractorWithCheckingTag {
 public:
  ~CommonDataExtractor() override = default;

  std::string getTag(EcrCtx_s* ecr, TlvTag tag);
  // A reversal answers the type of the transaction it voided.
  ecr_transactionType getTransType(EcrCtx_s* ecr) const;
  ecr_transactionType getOriginalTransType(EcrCtx_s* ecr) const;
  CardReaderType getCardReaderType(EcrCtx_s* ecr) const;
  std::string getCardReaderName(EcrCtx_s* ecr) const;
  AuthorizationMethod getAuthorizationMethod(EcrCtx_s* ecr) const;
  ecr_batchStatus getBatchStatus(EcrCtx_s* ecr) const;
  std::string getTransactionDate(EcrCtx_s* ecr) const;  // DD.MM.YYYY
  std::string getTransactionTime(EcrCtx_s* ecr) const;
  // Empty when the terminal sent no title.
  std::string getReportTitle(EcrCtx_s* ecr) const;
  std::string getTransactionNumberToReverse(EcrCtx_s* ecr);
  bool isTransactionSuccessful(EcrCtx_s* ecr) const;
  bool isDccPrintout(EcrCtx_s* ecr) const;
  bool isMultilangPrintout(EcrCtx_s* ecr) const;
  bool isBlikTransaction(EcrCtx_s* ecr) const;

  // The receipt's heading: the name of the transaction type, big and bold.
  static void addTransTypeToPrintout(ecr_transactionType type);
  // The text the host set as additional printout data, one left line.
  static void addAdditionalPrintoutDataToPrintout(EcrCtx_s* ecr);

  // 'YYYY-MM-DD' to 'DD.MM.YYYY'; the dashes are not looked at.
  static std::string convertDateToDayMonthYearFormat(const char* date);
};

}  // namespace zq::app::printouts

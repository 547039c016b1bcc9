#include "printouts/documents/BatchEntryExtractor.h"

#include <string>

#include "core/Converters.h"
#include "core/TagNames.h"
#include "printouts/engine/AdvancedLineBuilder.h"
#include "printouts/engine/PrintDictionary.h"

namespace zq::app::printouts {

// Sums are in minor units of the default currency.
void BatchEntryExtractor::addEntryToPrintout(const Batch::TransactionsSummary& summary,
                                             unsigned width) {
  setDefaultCurrencyData();
  amount = utils::uint64ToAscii(summary.getSummary());
  ThreeEntryLineBuilder::get().buildLine(
      RawLineTexts(summary.getName() + ":", utils::uint64ToAscii(summary.getNumber()), buildAmountEntry()),
      width);
}

void BatchSummaryExtractor::addEntryToPrintout(EcrCtx_s* ecr, unsigned width) {
  this->ecr = ecr;
  setDefaultCurrencyData();
  amount = getTag(tlv::TAG_TOTAL_AMOUNT_SUM);
  ThreeEntryLineBuilder::get().buildLine(
      RawLineTexts(PrintDictionary::phrase(PR_DICT_BATCH_TOTAL) + ":",
                   getTag(tlv::TAG_BATCH_TRANSACTION_COUNT), buildAmountEntry()),
      width);
}

}  // namespace zq::app::printouts

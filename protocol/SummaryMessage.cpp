#include "protocol/SummaryMessage.h"

#include "core/Validators.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

bool SummaryMessage::parseMessageSpecificPart() {
  if (isIteratorOnDataEnd()) {
    logDevTrace("Summary is empty");
    return true;
  }
  std::string summary;
  if (!extractString(summary)) return false;
  reportCtx.setReportSummary(summary);
  return true;
}

bool TransRepGetCardsetSummary::buildMessageSpecificPart() {
  return addIdentifierToData(reportCtx.getCardsetIndex(), utils::validateCardsetId, "Cardset index missing");
}

bool TransDccAnalCurrencySummary::buildMessageSpecificPart() {
  return addIdentifierToData(reportCtx.getCurrencyIndex(), utils::validateCurrencyId, "Currency index missing");
}

}  // namespace zq::app::protocols

#include "protocol/SummaryMessage.h"

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
  utils::Optional<ReportSubCtx::Bytes> index = reportCtx.getCardsetIndex();
  if (!index.isPresent()) {
    logDevError("Cardset index missing");
    return false;
  }
  addFsToData();
  addVectorToData(*index);
  return true;
}

bool TransDccAnalCurrencySummary::buildMessageSpecificPart() {
  utils::Optional<ReportSubCtx::Bytes> index = reportCtx.getCurrencyIndex();
  if (!index.isPresent()) {
    logDevError("Currency index missing");
    return false;
  }
  addFsToData();
  addVectorToData(*index);
  return true;
}

}  // namespace zq::app::protocols

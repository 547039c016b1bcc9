#include "protocol/GeneralReportGenerate.h"

#include <vector>

#include "core/Converters.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

bool GeneralReportGenerate::parseMessageSpecificPart() {
  std::string range;
  if (!extractString(range)) {
    logDevError("Unable to extract range of sequence numbers");
    return false;
  }
  const std::vector<std::string> numbers = utils::csvToFields(range, ',');
  if (numbers.size() != 2) {
    logDevError("Invalid range of sequence numbers acquired: %s", range.c_str());
    return false;
  }
  reportCtx.setFirstTransactionSequenceNumber(numbers[0]);
  reportCtx.setLastTransactionSequenceNumber(numbers[1]);
  return true;
}

bool TransRepGenerate::buildMessageSpecificPart() {
  addFsToData();
  addStringToData(reportCtx.getResetReport() ? "1" : "0");
  return true;
}

}  // namespace zq::app::protocols

#include "protocol/EndDataReadEvoucherMessage.h"

#include "core/zumbra_log.h"

namespace zq::app::protocols {

bool EndDataReadEvoucherMessage::parseMessageSpecificPart() {
  transactionCtx.clearTransactionTags();

  uint32_t type = 0;
  if (!extractFourByteInt(type, 1)) {
    logDevError("Unable to extract transaction type");
    return false;
  }
  logDevTrace("eVoucher transactionType: (%u)", type);
  transactionCtx.setEvoucherTransactionType(type);

  uint32_t returnCode = 0;
  if (!extractTwoByteInt(returnCode, 1)) {
    logDevError("Unable to extract transaction return code");
    return false;
  }
  logDevTrace("eVoucher returnCode: (%u)", returnCode);
  transactionCtx.setEvoucherLastTransactionReturnCode(returnCode);

  // The details field must be there, even if empty: extractString needs
  // its FS.
  std::string details;
  if (!extractString(details)) {
    logDevError("Unable to extract transaction details");
    return false;
  }
  logDevTrace("eVoucher transactionDetails: (%s)", details.c_str());
  transactionCtx.setEvoucherTransactionDetails(details);
  return true;
}

}  // namespace zq::app::protocols

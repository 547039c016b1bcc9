#include "protocol/EndDataReadEvoucherMessage.h"

#include "core/zumbra_log.h"

namespace zq::app::protocols {

bool EndDataReadEvoucherMessage::parseMessageSpecificPart() {
  // Read and checked whole before anything is stored, like every
  // transaction-data reply.
  uint32_t type = 0;
  if (!extractFourByteInt(type, 1)) {
    logDevError("Unable to extract transaction type");
    return false;
  }
  logDevTrace("eVoucher transactionType: (%u)", type);

  uint32_t returnCode = 0;
  if (!extractTwoByteInt(returnCode, 1)) {
    logDevError("Unable to extract transaction return code");
    return false;
  }
  logDevTrace("eVoucher returnCode: (%u)", returnCode);

  // The details field must be there, even if empty: extractString needs
  // its FS.
  std::string details;
  if (!extractString(details)) {
    logDevError("Unable to extract transaction details");
    return false;
  }
  logDevTrace("eVoucher transactionDetails: (%s)", details.c_str());

  transactionCtx.clearTransactionTags();
  transactionCtx.setEvoucherTransactionType(type);
  transactionCtx.setEvoucherLastTransactionReturnCode(returnCode);
  transactionCtx.setEvoucherTransactionDetails(details);
  return true;
}

}  // namespace zq::app::protocols

#include "protocol/BatchSummaryReadMessage.h"

#include "core/Converters.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

bool BatchSummaryReadMessage::parseMessageSpecificPart() {
  // Every field is read and checked before any is stored: a reply cut short
  // or garbled leaves the summary of the last good reply, never a mix.
  int64_t total = 0;
  if (!extractTwelveByteSignedInt(total, 0)) {
    logDevError("Unable to extract total transaction amount");
    return false;
  }
  uint64_t count = 0;
  if (!extractTwelveByteInt(count, 0)) {
    logDevError("Unable to extract transaction count");
    return false;
  }
  uint32_t status = 0;
  if (!extractTwoByteInt(status, 0)) {
    logDevError("Unable to extract batch status");
    return false;
  }
  uint64_t acquirer = 0;
  if (!extractSixteenByteInt(acquirer, 0)) {
    logDevError("Unable to extract acquier identifier");
    return false;
  }
  uint64_t batchNumber = 0;
  if (!extractSixteenByteInt(batchNumber, 0)) {
    logDevError("Unable to extract batch number");
    return false;
  }
  std::string date;
  if (!extractString(date)) {
    logDevError("Unable to extract date");
    return false;
  }
  std::string time;
  if (!extractString(time)) {
    logDevError("Unable to extract time");
    return false;
  }
  uint32_t printout = 0;
  if (!extractTwoByteInt(printout, 0)) {
    logDevError("Unable to extract information about printout");
    return false;
  }
  std::string tid;
  if (!extractString(tid)) {
    logDevError("Unable to extract TID");
    return false;
  }
  uint64_t activation = 0;
  if (!extractTwelveByteInt(activation, 0)) {
    logDevError("Unable to extract activation sequence number");
    return false;
  }
  uint32_t cashier = 0;
  if (!extractFourByteInt(cashier, 0)) {
    logDevError("Unable to extract cashier identifier");
    return false;
  }
  std::string evoucher;
  if (!extractString(evoucher)) {
    logDevError("Unable to extract eVoucher information");
    return false;
  }

  reportCtx.clearBatchSummaryData();
  reportCtx.setTotalTransactionAmount(total);
  reportCtx.setBatchTransactionCount(count);
  reportCtx.setBatchStatus(status);
  reportCtx.setAcquierIdentifier(acquirer);
  reportCtx.setBatchNumber(batchNumber);
  reportCtx.setBatchDate(date);
  reportCtx.setBatchTime(time);
  reportCtx.setDidTerminalMakePrintout(printout != 0);
  maintenanceCtx.setTid(utils::asciiToVector(tid));
  reportCtx.setActivationSequenceNumber(activation);
  reportCtx.setCashierIdentifier(cashier);
  reportCtx.setEVoucherInfo(evoucher);
  return true;
}

}  // namespace zq::app::protocols

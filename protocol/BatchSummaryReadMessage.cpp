#include "protocol/BatchSummaryReadMessage.h"

#include "core/Converters.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

bool BatchSummaryReadMessage::parseMessageSpecificPart() {
  reportCtx.clearBatchSummaryData();
  // Every field is stored as soon as it is read, so a reply cut short keeps
  // what came before the missing field.
  int64_t total = 0;
  if (!extractTwelveByteSignedInt(total, 0)) {
    logDevError("Unable to extract total transaction amount");
    return false;
  }
  reportCtx.setTotalTransactionAmount(total);

  uint64_t count = 0;
  if (!extractTwelveByteInt(count, 0)) {
    logDevError("Unable to extract transaction count");
    return false;
  }
  reportCtx.setBatchTransactionCount(count);

  uint32_t status = 0;
  if (!extractTwoByteInt(status, 0)) {
    logDevError("Unable to extract batch status");
    return false;
  }
  reportCtx.setBatchStatus(status);

  uint64_t acquirer = 0;
  if (!extractSixteenByteInt(acquirer, 0)) {
    logDevError("Unable to extract acquier identifier");
    return false;
  }
  reportCtx.setAcquierIdentifier(acquirer);

  uint64_t batchNumber = 0;
  if (!extractSixteenByteInt(batchNumber, 0)) {
    logDevError("Unable to extract batch number");
    return false;
  }
  reportCtx.setBatchNumber(batchNumber);

  std::string date;
  if (!extractString(date)) {
    logDevError("Unable to extract date");
    return false;
  }
  reportCtx.setBatchDate(date);

  std::string time;
  if (!extractString(time)) {
    logDevError("Unable to extract time");
    return false;
  }
  reportCtx.setBatchTime(time);

  uint32_t printout = 0;
  if (!extractTwoByteInt(printout, 0)) {
    logDevError("Unable to extract information about printout");
    return false;
  }
  reportCtx.setDidTerminalMakePrintout(printout != 0);

  std::string tid;
  if (!extractString(tid)) {
    logDevError("Unable to extract TID");
    return false;
  }
  maintenanceCtx.setTid(utils::asciiToVector(tid));

  uint64_t activation = 0;
  if (!extractTwelveByteInt(activation, 0)) {
    logDevError("Unable to extract activation sequence number");
    return false;
  }
  reportCtx.setActivationSequenceNumber(activation);

  uint32_t cashier = 0;
  if (!extractFourByteInt(cashier, 0)) {
    logDevError("Unable to extract cashier identifier");
    return false;
  }
  reportCtx.setCashierIdentifier(cashier);

  std::string evoucher;
  if (!extractString(evoucher)) {
    logDevError("Unable to extract eVoucher information");
    return false;
  }
  reportCtx.setEVoucherInfo(evoucher);
  return true;
}

}  // namespace zq::app::protocols

#include "protocol/ReportSubCtx.h"

#include "core/TagNames.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

void ReportSubCtx::setTotalTransactionAmount(int64_t amount) {
  setText(TAG_TOTAL_AMOUNT_SUM, std::to_string(amount));
}

void ReportSubCtx::setBatchTransactionCount(uint64_t count) {
  addUint64AsTag(TAG_BATCH_TRANSACTION_COUNT, count);
}

void ReportSubCtx::setBatchStatus(uint32_t status) { addUint32AsTag(TAG_BATCH_STATUS, status); }

void ReportSubCtx::setAcquierIdentifier(uint64_t identifier) {
  addUint64AsTag(TAG_ACQUIER_IDENTIFIER, identifier);
}

void ReportSubCtx::setBatchNumber(uint64_t number) { addUint64AsTag(TAG_BATCH_NUMBER, number); }

void ReportSubCtx::setBatchDate(const std::string& date) { setText(TAG_BATCH_DATE, date); }

void ReportSubCtx::setBatchTime(const std::string& time) { setText(TAG_BATCH_TIME, time); }

void ReportSubCtx::setActivationSequenceNumber(uint64_t number) {
  addUint64AsTag(TAG_ACTIVATION_SEQUENCE_NUMBER, number);
}

void ReportSubCtx::setCashierIdentifier(uint32_t identifier) {
  addUint32AsTag(TAG_CASHIER_IDENTIFIER, identifier);
}

void ReportSubCtx::setEVoucherInfo(const std::string& info) { setText(TAG_EVOUCHER_INFO, info); }

void ReportSubCtx::setDidTerminalMakePrintout(bool printed) {
  setYesNoTag(TAG_PRINTING_INDICATOR, printed);
}

void ReportSubCtx::setFirstTransactionSequenceNumber(const std::string& number) {
  setText(TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION, number);
}

void ReportSubCtx::setLastTransactionSequenceNumber(const std::string& number) {
  setText(TAG_SEQUENCE_NUMBER_LAST_TRANSACTION, number);
}

bool ReportSubCtx::getResetReport() const { return getYesNoTagWithDefaultFalse(TAG_RESET_REPORT); }

utils::Optional<ReportSubCtx::Bytes> ReportSubCtx::getCardsetIndex() const {
  return getVector(TAG_CARDSET_ID);
}

utils::Optional<ReportSubCtx::Bytes> ReportSubCtx::getCurrencyIndex() const {
  return getVector(TAG_CURRENCY_ID);
}

void ReportSubCtx::clearBatchSummaryData() {
  logDevInfo("Clearing batch summary data");
  removeTags({TAG_TOTAL_AMOUNT_SUM, TAG_BATCH_TRANSACTION_COUNT, TAG_BATCH_STATUS,
              TAG_ACQUIER_IDENTIFIER, TAG_BATCH_NUMBER, TAG_BATCH_DATE, TAG_BATCH_TIME,
              TAG_PRINTING_INDICATOR, TAG_TID, TAG_ACTIVATION_SEQUENCE_NUMBER,
              TAG_CASHIER_IDENTIFIER, TAG_EVOUCHER_INFO});
}

}  // namespace zq::app::protocols

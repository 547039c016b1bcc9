// The report view: batch summary, report ranges and the last report summary.
#pragma once

#include <cstdint>
#include <string>

#include "protocol/ReportSummary.h"
#include "protocol/SubCtxInterface.h"

namespace zq::app::protocols {

class ReportSubCtx : public utils::SubCtxInterface {
 public:
  explicit ReportSubCtx(tlv::TlvCtx& store) : SubCtxInterface(store) {}

  void setTotalTransactionAmount(int64_t amount);
  void setBatchTransactionCount(uint64_t count);
  void setBatchStatus(uint32_t status);
  void setAcquierIdentifier(uint64_t identifier);
  void setBatchNumber(uint64_t number);
  void setBatchDate(const std::string& date);
  void setBatchTime(const std::string& time);
  void setActivationSequenceNumber(uint64_t number);
  void setCashierIdentifier(uint32_t identifier);
  void setEVoucherInfo(const std::string& info);
  void setDidTerminalMakePrintout(bool printed);
  void setFirstTransactionSequenceNumber(const std::string& number);
  void setLastTransactionSequenceNumber(const std::string& number);

  bool getResetReport() const;
  utils::Optional<Bytes> getCardsetIndex() const;
  utils::Optional<Bytes> getCurrencyIndex() const;

  // The stored summary itself: the readers look up one entry each, and a
  // copy per look-up made reading a whole section cost the square of its
  // entries. A new summary replaces it whole.
  const ReportSummary& getReportSummary() const { return reportSummary; }
  void setReportSummary(const std::string& text) { reportSummary = ReportSummary(text); }

  void clearBatchSummaryData();

 private:
  ReportSummary reportSummary;
};

}  // namespace zq::app::protocols

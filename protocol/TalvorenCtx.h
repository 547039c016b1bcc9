// The one long-lived state of the protocol: a TLV store and the four views
// through which the messages, flows and the terminal API reach it.
#pragma once

#include "core/NonAssignable.h"
#include "core/TlvCtx.h"
#include "protocol/ApiSubCtx.h"
#include "protocol/MaintenanceSubCtx.h"
#include "protocol/ReportSubCtx.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

class TalvorenCtx : public utils::NonAssignable {
 public:
  // Members are built in declaration order (store first) and destroyed in
  // reverse, so no view outlives the store.
  TalvorenCtx() : store(), maintenance(store), report(store), transaction(store), api(store) {}
  TalvorenCtx(const TalvorenCtx&) = delete;

  MaintenanceSubCtx& getMaintenanceCtx() { return maintenance; }
  ReportSubCtx& getReportCtx() { return report; }
  TransactionSubCtx& getTransactionCtx() { return transaction; }
  ApiSubCtx& getApiCtx() { return api; }

  static ecr_terminalStatus convertUint32ToTerminalStatus(uint32_t raw) {
    return MaintenanceSubCtx::convertUint32ToTerminalStatus(raw);
  }

 private:
  tlv::TlvCtx store;
  MaintenanceSubCtx maintenance;
  ReportSubCtx report;
  TransactionSubCtx transaction;
  ApiSubCtx api;
};

}  // namespace zq::app::protocols

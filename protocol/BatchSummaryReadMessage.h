// Request "25": the summary of the terminal's current batch. No request
// fields of its own; twelve reply fields.
#pragma once

#include <string>

#include "protocol/CommonMessage.h"
#include "protocol/ReportSubCtx.h"

namespace zq::app::protocols {

class BatchSummaryReadMessage : public CommonMessage {
 public:
  BatchSummaryReadMessage(MaintenanceSubCtx& maintenanceCtx, ReportSubCtx& reportCtx)
      : CommonMessage(maintenanceCtx), reportCtx(reportCtx) {}
  std::string getId() override { return "25"; }

 protected:
  bool buildMessageSpecificPart() override { return true; }
  bool parseMessageSpecificPart() override;

  ReportSubCtx& reportCtx;
};

}  // namespace zq::app::protocols

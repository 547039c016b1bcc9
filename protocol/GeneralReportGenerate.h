// The requests that have the terminal generate a report: the transaction
// report ("30"), the transaction analysis ("33") and the DCC analysis
// ("36"). The terminal answers with the range of transaction sequence
// numbers the report covers, "first,last".
#pragma once

#include <string>

#include "protocol/CommonMessage.h"
#include "protocol/ReportSubCtx.h"

namespace zq::app::protocols {

class GeneralReportGenerate : public CommonMessage {
 public:
  GeneralReportGenerate(MaintenanceSubCtx& maintenanceCtx, ReportSubCtx& reportCtx)
      : CommonMessage(maintenanceCtx), reportCtx(reportCtx) {}

 protected:
  bool buildMessageSpecificPart() override { return true; }
  // Stores the range; a reply that is not exactly two numbers leaves the
  // stored range as it was.
  bool parseMessageSpecificPart() override;

  ReportSubCtx& reportCtx;
};

// "30": one field, '1' when the host asked for the report to be reset.
class TransRepGenerate : public GeneralReportGenerate {
 public:
  using GeneralReportGenerate::GeneralReportGenerate;
  std::string getId() override { return "30"; }

 protected:
  bool buildMessageSpecificPart() override;
};

class TransAnalGenerate : public GeneralReportGenerate {
 public:
  using GeneralReportGenerate::GeneralReportGenerate;
  std::string getId() override { return "33"; }
};

class TransDccAnalGenerate : public GeneralReportGenerate {
 public:
  using GeneralReportGenerate::GeneralReportGenerate;
  std::string getId() override { return "36"; }
};

}  // namespace zq::app::protocols

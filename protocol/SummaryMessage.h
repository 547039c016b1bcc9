// The requests that fetch one summary of a generated report: a cardset of
// the transaction report ("31") and its total ("32"), the total of the
// transaction analysis ("35"), a currency of the DCC analysis ("37") and
// its total ("38"). The reply carries one optional text, the summary.
#pragma once

#include <string>

#include "protocol/CommonMessage.h"
#include "protocol/ReportSubCtx.h"

namespace zq::app::protocols {

class SummaryMessage : public CommonMessage {
 public:
  SummaryMessage(MaintenanceSubCtx& maintenanceCtx, ReportSubCtx& reportCtx)
      : CommonMessage(maintenanceCtx), reportCtx(reportCtx) {}

 protected:
  bool buildMessageSpecificPart() override { return true; }
  // A reply without the text keeps the summary stored before.
  bool parseMessageSpecificPart() override;

  ReportSubCtx& reportCtx;
};

// "31": FS and the stored cardset index; no index, no request.
class TransRepGetCardsetSummary : public SummaryMessage {
 public:
  using SummaryMessage::SummaryMessage;
  std::string getId() override { return "31"; }

 protected:
  bool buildMessageSpecificPart() override;
};

class TransRepGetTotalSummary : public SummaryMessage {
 public:
  using SummaryMessage::SummaryMessage;
  std::string getId() override { return "32"; }
};

class TransAnalTotalSummary : public SummaryMessage {
 public:
  using SummaryMessage::SummaryMessage;
  std::string getId() override { return "35"; }
};

// "37": FS and the stored currency index; no index, no request.
class TransDccAnalCurrencySummary : public SummaryMessage {
 public:
  using SummaryMessage::SummaryMessage;
  std::string getId() override { return "37"; }

 protected:
  bool buildMessageSpecificPart() override;
};

class TransDccAnalTotalSummary : public SummaryMessage {
 public:
  using SummaryMessage::SummaryMessage;
  std::string getId() override { return "38"; }
};

}  // namespace zq::app::protocols

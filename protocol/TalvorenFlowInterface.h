// One protocol operation: one or more command exchanges on the caller's
// link, ending in a Result.
#pragma once

#include "link/Link.h"
#include "protocol/MaintenanceSubCtx.h"
#include "protocol/Result.h"
#include "protocol/TalvorenCommand.h"

namespace zq::app::protocols {

class TalvorenFlowInterface {
 public:
  explicit TalvorenFlowInterface(MaintenanceSubCtx& maintenanceCtx)
      : maintenanceCtx(maintenanceCtx), link(nullptr) {}
  TalvorenFlowInterface(const TalvorenFlowInterface&) = delete;
  TalvorenFlowInterface& operator=(const TalvorenFlowInterface&) = delete;
  virtual ~TalvorenFlowInterface() = default;

  // Runs one exchange and turns its outcome into a Result: a transport
  // failure, or the terminal's function return code with its description.
  virtual Result exchangeCommandAndCheckResult(TalvorenCommand& command,
                                               TalvorenCommand::DelayCommand mode);
  virtual Result execute() = 0;

  // The entry of every protocol operation; the link is used only while
  // the flow runs.
  Result setupAndExecute(link::Link& link);
  link::Link& getLink() { return *link; }

  // Maps a non-zero function return code; false (with
  // RESULT_UNKNOWN_RETURN_CODE) for a code without its own status.
  static bool convertReturnCodeToEcrTransactionResult(uint32_t returnCode,
                                                      utils::EcrTransactionResult& out);
  Result checkLastFunctionReturnCode();

 protected:
  MaintenanceSubCtx& maintenanceCtx;

 private:
  link::Link* link;
};

}  // namespace zq::app::protocols

#include "protocol/GetEvoucherOpFlow.h"

#include "protocol/GetEvoucherOpMessage.h"

namespace zq::app::protocols {

Result GetEvoucherOpFlow::exchangeCommandAndCheckResult(TalvorenCommand& command,
                                                        TalvorenCommand::DelayCommand mode) {
  // The template often arrives in the same read as the reply frame; without
  // this the link would drop it together with the frame.
  getLink().set_protect_data_after_frame(true);
  const Result result = TalvorenFlowInterface::exchangeCommandAndCheckResult(command, mode);
  getLink().set_protect_data_after_frame(false);
  if (!result.isOk()) return result;
  if (!command.get_extra_data(getLink(), mode).isOk()) return Result(utils::RESULT_COMM_ERROR);
  return Result(utils::RESULT_OK);
}

TalvorenMessageInterface* GetEvoucherOpFlow::prepareMessage() {
  return new GetEvoucherOpMessage(maintenanceCtx, transactionCtx);
}

}  // namespace zq::app::protocols

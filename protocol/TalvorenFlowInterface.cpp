#include "protocol/TalvorenFlowInterface.h"

#include "core/zumbra_log.h"

namespace zq::app::protocols {

Result TalvorenFlowInterface::setupAndExecute(link::Link& link) {
  this->link = &link;
  Result result = execute();
  this->link = nullptr;
  return result;
}

Result TalvorenFlowInterface::exchangeCommandAndCheckResult(TalvorenCommand& command,
                                                            TalvorenCommand::DelayCommand mode) {
  if (link == nullptr) {
    // Only reachable by running a flow outside setupAndExecute.
    logDevError("Flow stopped because of a communication error");
    return Result(utils::RESULT_COMM_ERROR);
  }
  comm::CommResult r = command.exchange(*link, mode);
  if (r.getStatus() != comm::CommResult::DEVICE_OK) {
    logDevError("Flow stopped because of a communication error");
    const bool notBuilt = r.getError() == comm::errors::DEVICE_INVALID_ARGUMENT ||
                          r.getError() == comm::errors::DEVICE_ARGUMENT_MISSING;
    return Result(notBuilt ? utils::RESULT_ARGUMENT_MISSING : utils::RESULT_COMM_ERROR,
                  r.getMessage());
  }
  return checkLastFunctionReturnCode();
}

bool TalvorenFlowInterface::convertReturnCodeToEcrTransactionResult(
    uint32_t returnCode, utils::EcrTransactionResult& out) {
  switch (returnCode) {
    case 0: out = utils::RESULT_OK; return true;
    case 2:
    case 3: out = utils::RESULT_TERMINAL_CODE_2; return true;
    case 4: out = utils::RESULT_TERMINAL_CODE_4; return true;
    case 5: out = utils::RESULT_TERMINAL_CODE_5; return true;
    case 6: out = utils::RESULT_TERMINAL_CODE_6; return true;
    case 7:
    case 64: out = utils::RESULT_TERMINAL_CODE_7; return true;
    case 8: out = utils::RESULT_NO_DATA; return true;
    case 9: out = utils::RESULT_TERMINAL_CODE_9; return true;
    case 11: out = utils::RESULT_TERMINAL_CODE_11; return true;
    default: out = utils::RESULT_UNKNOWN_RETURN_CODE; return false;
  }
}

Result TalvorenFlowInterface::checkLastFunctionReturnCode() {
  const uint32_t code = maintenanceCtx.getLastFunctionReturnCode();
  if (code == 0) {
    logDevTrace("Message exchanged successfully");
    return Result(utils::RESULT_OK);
  }
  utils::EcrTransactionResult status = utils::RESULT_UNKNOWN_RETURN_CODE;
  convertReturnCodeToEcrTransactionResult(code, status);
  return Result(status, maintenanceCtx.getErrorDescription());
}

}  // namespace zq::app::protocols

// A flow of exactly one exchange: one message, one send mode.
#pragma once

#include "protocol/TalvorenFlowInterface.h"

namespace zq::app::protocols {

class SimpleFlow : public TalvorenFlowInterface {
 public:
  SimpleFlow(MaintenanceSubCtx& maintenanceCtx, TalvorenCommand::DelayCommand mode)
      : TalvorenFlowInterface(maintenanceCtx), mode(mode) {}

  Result execute() override;
  // A new message for the exchange; the caller takes ownership.
  virtual TalvorenMessageInterface* prepareMessage() = 0;

 private:
  TalvorenCommand::DelayCommand mode;
};

}  // namespace zq::app::protocols

// The maintenance view: terminal status, prompts, terminal information and
// the outcome of the last reply.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/zumbra_terminal_status.h"
#include "protocol/ExpectedDataCharacteristics.h"
#include "protocol/SubCtxInterface.h"

namespace zq::app::protocols {

class MaintenanceSubCtx : public utils::SubCtxInterface {
 public:
  explicit MaintenanceSubCtx(tlv::TlvCtx& store);

  void setTid(const Bytes& tid);
  void setMid(const Bytes& mid);

  void setLastFunctionReturnCode(uint32_t code) { lastFunctionReturnCode = code; }
  uint32_t getLastFunctionReturnCode() const { return lastFunctionReturnCode; }

  void setPromptNumber(uint32_t number);
  void setExpectedDataCharacteristics(const ExpectedDataCharacteristics& characteristics);

  void setErrorDescription(const std::string& text) { errorDescription = text; }
  std::string getErrorDescription() const { return errorDescription; }

  // Raw bytes of the host's pass-through message, and afterwards of the reply.
  void setCustomData(const Bytes& data) { passThroughData = data; }
  Bytes getCustomData() const { return passThroughData; }

  void setAddress(const Bytes& line1, const Bytes& line2, const Bytes& line3);
  utils::Optional<unsigned char> getCashRegisterNumber() const;
  utils::Optional<unsigned char> getTerminalIndex() const;

  ecr_terminalStatus getTransactionStatus() const { return transactionStatus; }
  // Converts the terminal's raw status and tells the host when it changed.
  void setTransactionStatus(uint32_t raw);
  static ecr_terminalStatus convertUint32ToTerminalStatus(uint32_t raw);

  void clearTerminalInformation();

 private:
  uint32_t lastFunctionReturnCode;
  ecr_terminalStatus transactionStatus;
  std::string errorDescription;
  Bytes passThroughData;
};

}  // namespace zq::app::protocols

// What every serial client shares: the settings, the open sequence and the
// receive sequence. The leaf of each build fills in the port calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/CommInterface.h"
#include "zumbra_comm.h"

namespace zq::app::comm {

class SerialClientInterface : public CommInterface {
 public:
  SerialClientInterface(const std::string& portName, comm_SerialDataMode dataMode,
                        comm_SerialBaudrate baudrate, uint32_t timeoutMs);

  // "COM open error" when the port cannot be opened, or refuses the line
  // settings.
  CommResult open() override;
  // Takes effect on the next receive.
  CommResult setDefaultTimeout(uint32_t timeoutMs) override;
  uint32_t getDefaultTimeout() override;
  std::string getMediumName() const override;

  // A port opened with time-out 0 waits this long per receive.
  static constexpr uint32_t kMinimalTimeoutMs = 10;

 protected:
  CommResult recvInternal(std::vector<uint8_t>& data) override;
  std::string getNotOpenedMessage() const override;
  CommResult recvInternal(std::vector<uint8_t>& data, uint32_t timeoutMs) override;

  // Platform operations of the leaf.
  virtual void tryToOpenComPort() = 0;
  virtual bool setCommConfig() = 0;
  // Waits up to currentTimeout for input.
  virtual void prepareComHandleForReceive() = 0;
  virtual CommResult tryToReceiveData(std::vector<uint8_t>& data) = 0;

  std::string portName;
  comm_SerialDataMode dataMode;
  comm_SerialBaudrate baudrate;
  uint32_t defaultTimeout;
  // Time-out of the receive in progress.
  uint32_t currentTimeout;
};

}  // namespace zq::app::comm

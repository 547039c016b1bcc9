#include "link/SerialClientInterface.h"

#include "core/zumbra_log.h"

namespace zq::app::comm {

SerialClientInterface::SerialClientInterface(const std::string& portName_, comm_SerialDataMode dataMode_,
                                             comm_SerialBaudrate baudrate_, uint32_t timeoutMs)
    : portName(portName_),
      dataMode(dataMode_),
      baudrate(baudrate_),
      defaultTimeout(timeoutMs),
      currentTimeout(timeoutMs) {}

CommResult SerialClientInterface::open() {
  tryToOpenComPort();
  if (!isOpen()) {
    return createCommResultWithError(errors::DEVICE_CONN_ERROR, "COM open error");
  }
  if (defaultTimeout == 0) {
    defaultTimeout = kMinimalTimeoutMs;
    currentTimeout = kMinimalTimeoutMs;
  }
  // A device that takes no line settings is no terminal line (/dev/null
  // opens fine): refuse it now rather than time out on every exchange.
  if (!setCommConfig()) {
    logCommError("Unable to configure %s", portName.c_str());
    close();
    return createCommResultWithError(errors::DEVICE_CONN_ERROR, "COM open error");
  }
  logCommInfo("Connection established %s", portName.c_str());
  return CommResult(CommResult::DEVICE_OK);
}

CommResult SerialClientInterface::setDefaultTimeout(uint32_t timeoutMs) {
  // No receive runs while the time-out is changed, so the receive time-out
  // follows at once; otherwise default receives would keep the old value until
  // some receive with its own time-out had run.
  defaultTimeout = timeoutMs;
  currentTimeout = timeoutMs;
  return CommResult(CommResult::DEVICE_OK);
}

uint32_t SerialClientInterface::getDefaultTimeout() { return defaultTimeout; }

std::string SerialClientInterface::getMediumName() const { return "RS232"; }

std::string SerialClientInterface::getNotOpenedMessage() const { return "COM port closed"; }

CommResult SerialClientInterface::recvInternal(std::vector<uint8_t>& data) {
  prepareComHandleForReceive();
  return tryToReceiveData(data);
}

CommResult SerialClientInterface::recvInternal(std::vector<uint8_t>& data, uint32_t timeoutMs) {
  currentTimeout = timeoutMs;
  CommResult result = recvInternal(data);
  currentTimeout = defaultTimeout;
  return result;
}

}  // namespace zq::app::comm

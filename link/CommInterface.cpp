#include "link/CommInterface.h"

#include "core/zumbra_log.h"

namespace zq::app::comm {

CommResult CommInterface::send(const std::vector<uint8_t>& data) {
  if (data.empty()) {
    return createCommResultWithError(errors::DEVICE_SEND_ERROR, "Empty buffer");
  }
  logCommTrace("Sending data over %s medium", getMediumName().c_str());
  logCommTraceHex(data.data(), data.size());
  if (isOpen()) {
    return sendInternal(data);
  }
  return createCommResultWithError(errors::DEVICE_SEND_ERROR, getNotOpenedMessage());
}

CommResult CommInterface::recv(std::vector<uint8_t>& data, uint32_t timeoutMs) {
  logCommTrace("Receiving data over %s medium with timeout %u", getMediumName().c_str(), timeoutMs);
  if (!isOpen()) {
    return createCommResultWithError(errors::DEVICE_CONN_ERROR, getNotOpenedMessage());
  }
  data.clear();
  CommResult result = recvInternal(data, timeoutMs);
  if (result.isOk()) {
    logCommTraceHex(data.data(), data.size());
  } else {
    logReceiveError(result);
  }
  return result;
}

CommResult CommInterface::recv(std::vector<uint8_t>& data) {
  logCommTrace("Receiving data over %s medium with default timeout", getMediumName().c_str());
  if (!isOpen()) {
    return createCommResultWithError(errors::DEVICE_CONN_ERROR, getNotOpenedMessage());
  }
  data.clear();
  CommResult result = recvInternal(data);
  if (result.isOk()) {
    logCommTraceHex(data.data(), data.size());
  } else {
    logReceiveError(result);
  }
  return result;
}

CommResult CommInterface::recvAtMost(std::vector<uint8_t>& data, uint32_t timeoutMs, size_t maxBytes) {
  currentReceiveLimit = maxBytes;
  CommResult result = timeoutMs == 0 ? recv(data) : recv(data, timeoutMs);
  currentReceiveLimit = kNoReceiveLimit;
  return result;
}

uint32_t CommInterface::getRetryNumber() const { return 1; }

void CommInterface::close() {
  if (isOpen()) {
    closeInternal();
  }
}

CommResult CommInterface::createCommResultWithError(errors::DeviceError error,
                                                    const std::string& message) const {
  return CommResult(CommResult::DEVICE_ERROR, error, message);
}

void CommInterface::logReceiveError(const CommResult& result) const {
  logCommTrace("Unable to receive data, status: %s(%d), error code: %s(%d), additional data: %s",
               result.statusToString(result.getStatus()).c_str(), static_cast<int>(result.getStatus()),
               result.errorToString(result.getError()).c_str(), static_cast<int>(result.getError()),
               result.getMessage().c_str());
}

}  // namespace zq::app::comm

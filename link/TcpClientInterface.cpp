#include "link/TcpClientInterface.h"

#include "core/zumbra_log.h"

namespace zq::app::comm {

TcpClientInterface::TcpClientInterface(const std::string& host_, uint16_t port_, uint32_t defaultTimeoutMs)
    : host(host_), port(port_), defaultTimeout(defaultTimeoutMs) {}

CommResult TcpClientInterface::open() {
  logDevInfo("Connecting to host %s:%u", host.c_str(), static_cast<unsigned>(port));
  logCommInfo("Connecting to host %s:%u", host.c_str(), static_cast<unsigned>(port));
  CommResult result = prepareSocket();
  if (!result.isOk()) return result;
  result = connectToTerminal();
  if (!result.isOk()) return result;
  logCommInfo("Connection established");
  return setTimeout(defaultTimeout);
}

CommResult TcpClientInterface::setDefaultTimeout(uint32_t timeoutMs) {
  defaultTimeout = timeoutMs;
  // Without this the socket would keep the old value until the end of the
  // next receive, and a long report read right after the change would give up
  // at the old time-out.
  if (isOpen()) return setTimeout(timeoutMs);
  return CommResult(CommResult::DEVICE_OK);
}

uint32_t TcpClientInterface::getDefaultTimeout() { return defaultTimeout; }

std::string TcpClientInterface::getMediumName() const { return "TCP/IP"; }

std::string TcpClientInterface::getNotOpenedMessage() const { return "Socket closed"; }

CommResult TcpClientInterface::recvInternal(std::vector<uint8_t>& data) {
  for (;;) {
    uint8_t chunk[kChunkSize] = {};
    const int result = tryToReceive(chunk, sizeof chunk);
    if (result <= 0) {
      return handleRecvError(result, data.empty());
    }
    data.insert(data.end(), chunk, chunk + result);
    // The rest of a message follows its first chunk closely.
    setTimeout(kNextChunkTimeoutMs);
    if (static_cast<size_t>(result) < kChunkSize) {
      setTimeout(defaultTimeout);
      return CommResult(CommResult::DEVICE_OK);
    }
  }
}

CommResult TcpClientInterface::recvInternal(std::vector<uint8_t>& data, uint32_t timeoutMs) {
  CommResult result = setTimeout(timeoutMs);
  if (!result.isOk()) return result;
  return recvInternal(data);
}

CommResult TcpClientInterface::handleRecvError(int result, bool nothingReceived) {
  const int error = getLastError();
  setTimeout(defaultTimeout);
  if (isRecvErrorNotFailure(result, error)) {
    return nothingReceived ? CommResult(CommResult::DEVICE_TIMEOUT) : CommResult(CommResult::DEVICE_OK);
  }
  return createCommResultWithError(errors::DEVICE_CONN_ERROR, "recv failed with " + std::to_string(error));
}

CommResult TcpClientInterface::sendInternal(const std::vector<uint8_t>& data) {
  // A frame only counts as sent when every byte is out: a terminal never
  // answers half a frame.
  size_t sent = 0;
  while (sent < data.size()) {
    const int result = tryToSend(data.data() + sent, data.size() - sent);
    if (result <= 0) {
      return createCommResultWithError(errors::DEVICE_SEND_ERROR,
                                       "Sending failed with result " + std::to_string(result));
    }
    sent += static_cast<size_t>(result);
  }
  return CommResult(CommResult::DEVICE_OK);
}

}  // namespace zq::app::comm

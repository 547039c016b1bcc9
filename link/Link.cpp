#include "link/Link.h"

#include "core/zumbra_log.h"

namespace zq::app::link {

using comm::CommResult;

namespace {
// Wait for a pending EOT before a monitored send: only what is already there.
constexpr uint32_t kEotProbeTimeoutMs = 1;
}  // namespace

Link::Link(LinkLayerInterface* layer_, comm::CommInterface* comm_, size_t bufferSize)
    : layer(layer_), comm(comm_), input(bufferSize), protectDataAfterFrame(false) {
  input.setup(*comm);
}

Link::~Link() { close(); }

CommResult Link::open() { return comm->open(); }

void Link::close() {
  if (comm->isOpen()) {
    comm->send(layer->getEotMessage());
  }
  comm->close();
  input.clear();
}

bool Link::isOpen() const { return comm->isOpen(); }

CommResult Link::setDefaultTimeout(uint32_t timeoutMs) {
  logDevTrace("Setting default communication timeout to %d ms", static_cast<int>(timeoutMs));
  return comm->setDefaultTimeout(timeoutMs);
}

uint32_t Link::getDefaultTimeout() const { return comm->getDefaultTimeout(); }

void Link::set_protect_data_after_frame(bool protect) { protectDataAfterFrame = protect; }

CommResult Link::tryToReconnect() {
  comm->close();
  CommResult result = comm->open();
  if (!result.isOk()) {
    logDevError("Connection lost, unable to reconnect. Status: %s(%d), error code: %s(%d), message: %s",
                result.statusToString(result.getStatus()).c_str(), static_cast<int>(result.getStatus()),
                result.errorToString(result.getError()).c_str(), static_cast<int>(result.getError()),
                result.getMessage().c_str());
    return result;
  }
  return CommResult(CommResult::DEVICE_CONTINUE);
}

CommResult Link::send(std::vector<uint8_t>& data) {
  layer->build(data);
  const uint32_t attempts = comm->getRetryNumber();
  for (uint32_t i = 0; i < attempts; ++i) {
    CommResult result = tryToSend(data);
    if (result.getStatus() != CommResult::DEVICE_CONTINUE) return result;
  }
  return CommResult(CommResult::DEVICE_ERROR, comm::errors::DEVICE_DATA_CORRUPTED, "Invalid response");
}

CommResult Link::tryToSend(const std::vector<uint8_t>& data) {
  CommResult result = comm->send(data);
  if (!result.isOk()) {
    logDevTrace("Sending error, reconnect");
    return tryToReconnect();
  }
  return handleSuccessfulSend();
}

CommResult Link::handleSuccessfulSend() {
  CommResult result = input.recvFrame(layer->getControlCharacterLocator(), 0);
  if (!result.isOk()) return result;
  if (layer->checkReply(input.getReceivedData())) return CommResult(CommResult::DEVICE_OK);
  return CommResult(CommResult::DEVICE_CONTINUE);
}

CommResult Link::resetLinkOnEot() {
  CommResult result = input.recvFrameWithOneTry(layer->getEotLocator(), kEotProbeTimeoutMs);
  if (result.isOk()) {
    logDevTrace("EOT detected, reconnect");
    return tryToReconnect();
  }
  return CommResult(CommResult::DEVICE_CONTINUE);
}

CommResult Link::sendWithMonitor(std::vector<uint8_t>& data) {
  CommResult result = resetLinkOnEot();
  if (result.getStatus() != CommResult::DEVICE_CONTINUE) return result;
  return send(data);
}

CommResult Link::recv(std::vector<uint8_t>& data, uint32_t timeoutMs) {
  data.clear();
  CommResult result = input.recvFrame(layer->getFrameLocator(), timeoutMs);
  if (!result.isOk()) {
    logDevTrace("Receiving error, reconnect");
    tryToReconnect();
    return result;
  }
  return handleSuccessfulReceive(data);
}

CommResult Link::handleSuccessfulReceive(std::vector<uint8_t>& data) {
  data = input.getReceivedData();
  if (!protectDataAfterFrame) input.clear();
  const LinkLayerInterface::ExtractResult extracted = layer->extract(data);
  if (!extracted.second.empty()) {
    comm->send(extracted.second);
  }
  if (!extracted.first) {
    return CommResult(CommResult::DEVICE_ERROR, comm::errors::DEVICE_DATA_CORRUPTED, "Message extraction failed");
  }
  return CommResult(CommResult::DEVICE_OK);
}

CommResult Link::recv_raw(std::vector<uint8_t>& data, uint32_t count, uint32_t timeoutMs) {
  data.clear();
  CommResult result = input.recvRawData(count, timeoutMs);
  if (!result.isOk()) {
    logDevTrace("Receiving error, reconnect");
    tryToReconnect();
    return result;
  }
  data = input.getReceivedData();
  if (data.size() < count) {
    return CommResult(CommResult::DEVICE_ERROR, comm::errors::DEVICE_DATA_CORRUPTED, "Raw data read failed");
  }
  return CommResult(CommResult::DEVICE_OK);
}

}  // namespace zq::app::link

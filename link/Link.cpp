#include "link/Link.h"

#include "core/zumbra_log.h"

namespace zq::app::link {

using comm::CommResult;

namespace {
// Wait for a pending EOT before a monitored send: only what is already there
// (or arrives within this millisecond).
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
    const CommResult reconnected = tryToReconnect();
    if (reconnected.getStatus() != CommResult::DEVICE_CONTINUE) return reconnected;
    // A send that failed put nothing before the terminal (a frame cut short
    // died with the old connection), so the frame goes out once more on the
    // new one. Otherwise a terminal that was down when the link was set up
    // would fail the first command although it is up by then.
    logDevTrace("Reconnected, sending again");
    result = comm->send(data);
    if (!result.isOk()) return result;
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
  // A terminal that closed the connection after its last reply (many do,
  // between transactions) has ended the transmission as surely as with an
  // EOT; the transport closes itself when it sees that, or was never opened.
  if (!comm->isOpen()) {
    logDevTrace("Connection closed, reconnect");
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
    recoverFromFailedReceive(result);
    return result;
  }
  return handleSuccessfulReceive(data);
}

void Link::recoverFromFailedReceive(const CommResult& failure) {
  // A buffer that filled up holds the start of a reply too long for it, and
  // it would stay full: every later read would fail the same way, however
  // well the terminal answered. What is left of that reply is lost either
  // way, so it goes, and the next frame is found at the next STX.
  if (failure.getError() == comm::errors::DEVICE_BUFFER_OVERFLOW) {
    logDevWarn("Receive buffer overflow, %u buffered bytes dropped", static_cast<unsigned>(input.bufferedSize()));
    input.clear();
  }
  logDevTrace("Receiving error, reconnect");
  tryToReconnect();
}

CommResult Link::handleSuccessfulReceive(std::vector<uint8_t>& data) {
  input.takeReceivedData(data);
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
    recoverFromFailedReceive(result);
    return result;
  }
  input.takeReceivedData(data);
  if (data.size() < count) {
    return CommResult(CommResult::DEVICE_ERROR, comm::errors::DEVICE_DATA_CORRUPTED, "Raw data read failed");
  }
  return CommResult(CommResult::DEVICE_OK);
}

}  // namespace zq::app::link

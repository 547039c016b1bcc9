#include "link/TcpClientInterface.h"

#include <algorithm>

#include "core/zumbra_log.h"
#include "link/Deadline.h"

namespace zq::app::comm {

TcpClientInterface::TcpClientInterface(const std::string& host_, uint16_t port_, uint32_t defaultTimeoutMs)
    : host(host_), port(port_), defaultTimeout(defaultTimeoutMs) {}

CommResult TcpClientInterface::open() {
  logDevInfo("Connecting to host %s:%u", host.c_str(), static_cast<unsigned>(port));
  logCommInfo("Connecting to host %s:%u", host.c_str(), static_cast<unsigned>(port));
  // A new socket starts without the time-out of the old one.
  socketTimeout.reset();
  CommResult result = prepareSocket();
  if (!result.isOk()) return result;
  result = connectToTerminal();
  if (!result.isOk()) return result;
  logCommInfo("Connection established");
  return applyTimeout(defaultTimeout);
}

CommResult TcpClientInterface::setDefaultTimeout(uint32_t timeoutMs) {
  defaultTimeout = timeoutMs;
  // Without this the socket would keep the old value until the end of the
  // next receive, and a long report read right after the change would give up
  // at the old time-out.
  if (isOpen()) return applyTimeout(timeoutMs);
  return CommResult(CommResult::DEVICE_OK);
}

uint32_t TcpClientInterface::getDefaultTimeout() { return defaultTimeout; }

std::string TcpClientInterface::getMediumName() const { return "TCP/IP"; }

std::string TcpClientInterface::getNotOpenedMessage() const { return "Socket closed"; }

CommResult TcpClientInterface::applyTimeout(uint32_t timeoutMs) {
  if (socketTimeout == timeoutMs) return CommResult(CommResult::DEVICE_OK);
  CommResult result = setTimeout(timeoutMs);
  if (result.isOk()) {
    socketTimeout = timeoutMs;
  } else {
    socketTimeout.reset();
  }
  return result;
}

int TcpClientInterface::waitForReceive(uint32_t timeoutMs) { return applyTimeout(timeoutMs).isOk() ? 1 : -1; }

bool TcpClientInterface::tryToReceiveArrived(uint8_t*, size_t, int&) { return false; }

// A receive with the default time-out waits for the answer to a request,
// which has mostly arrived by the time it starts: it takes what is there
// before it waits. A receive with a time-out of its own is a look at the line
// before a request, or the wait for the rest of a frame once the bytes there
// have been taken: nothing has arrived yet, and it waits first. Within either,
// the read after a full chunk takes what is there first: the rest of a
// message follows its first chunk closely.
CommResult TcpClientInterface::recvInternal(std::vector<uint8_t>& data) {
  return receiveMessage(data, defaultTimeout, true);
}

CommResult TcpClientInterface::recvInternal(std::vector<uint8_t>& data, uint32_t timeoutMs) {
  return receiveMessage(data, timeoutMs, false);
}

CommResult TcpClientInterface::receiveMessage(std::vector<uint8_t>& data, uint32_t timeoutMs, bool takeArrivedFirst) {
  // However the terminal spreads its bytes, the receive ends within its
  // time-out and takes no more than the caller has room for.
  const Deadline deadline(timeoutMs);
  const size_t limit = receiveLimit();
  // No room: nothing is taken, and a zero-length read would look like a close.
  if (limit == 0) return CommResult(CommResult::DEVICE_OK);
  uint32_t wait = timeoutMs;
  for (;;) {
    // The chunks that have arrived are read in one call, not one call a
    // chunk: a message still ends where it would chunk by chunk, at the
    // first chunk that comes short, which a read that is not a whole number
    // of chunks shows.
    uint8_t chunks[kChunkSize * kChunksPerRead];
    const size_t wanted = std::min(sizeof chunks, limit - data.size());
    // Bytes that are there already are taken at once: a wait before them
    // would cost a system call for nothing.
    int result = 0;
    if (!(takeArrivedFirst && tryToReceiveArrived(chunks, wanted, result))) {
      const int ready = waitForReceive(wait);
      if (ready == 0) return endOfMessage(data.empty());
      if (ready < 0) return handleRecvError(ready, data.empty());
      result = tryToReceive(chunks, wanted);
    }
    if (result == 0) return handlePeerClose(data.empty());
    if (result < 0) return handleRecvError(result, data.empty());
    data.insert(data.end(), chunks, chunks + result);
    if (static_cast<size_t>(result) % kChunkSize != 0 || data.size() >= limit) return endOfMessage(false);
    // The rest of a message follows its first chunk closely.
    if (!deadline.nextWait(kNextChunkTimeoutMs, wait)) return endOfMessage(false);
    takeArrivedFirst = true;
  }
}

CommResult TcpClientInterface::endOfMessage(bool nothingReceived) {
  applyTimeout(defaultTimeout);
  return nothingReceived ? CommResult(CommResult::DEVICE_TIMEOUT) : CommResult(CommResult::DEVICE_OK);
}

CommResult TcpClientInterface::handlePeerClose(bool nothingReceived) {
  // An orderly close is no time-out: the terminal has gone, and telling so
  // lets the Link reconnect before its next request instead of sending it
  // into the dead connection.
  logCommInfo("Connection closed by host %s:%u", host.c_str(), static_cast<unsigned>(port));
  close();
  if (nothingReceived) return createCommResultWithError(errors::DEVICE_CONN_ERROR, getNotOpenedMessage());
  return CommResult(CommResult::DEVICE_OK);
}

CommResult TcpClientInterface::handleRecvError(int result, bool nothingReceived) {
  const int error = getLastError();
  if (isRecvErrorNotFailure(result, error)) return endOfMessage(nothingReceived);
  applyTimeout(defaultTimeout);
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

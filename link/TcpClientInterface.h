// What every TCP client shares: the settings, the connection sequence, the
// chunked receive and the mapping of socket outcomes to results. The leaf of
// each build fills in the socket calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/CommInterface.h"

namespace zq::app::comm {

class TcpClientInterface : public CommInterface {
 public:
  // host is a dotted IPv4 address; it is never looked up as a name.
  TcpClientInterface(const std::string& host, uint16_t port, uint32_t defaultTimeoutMs);

  CommResult open() override;
  // Takes effect at once on an open socket, so the next default receive waits
  // with the new value.
  CommResult setDefaultTimeout(uint32_t timeoutMs) override;
  uint32_t getDefaultTimeout() override;
  std::string getMediumName() const override;

  // A message ends with a chunk shorter than this, or when nothing follows a
  // full chunk within kNextChunkTimeoutMs (and never later than the
  // receive's own time-out after it began).
  static constexpr size_t kChunkSize = 16;
  static constexpr uint32_t kNextChunkTimeoutMs = 500;
  // Chunks taken by one receive call at most.
  static constexpr size_t kChunksPerRead = 64;

 protected:
  CommResult recvInternal(std::vector<uint8_t>& data) override;
  std::string getNotOpenedMessage() const override;
  CommResult sendInternal(const std::vector<uint8_t>& data) override;
  CommResult recvInternal(std::vector<uint8_t>& data, uint32_t timeoutMs) override;

  // Platform operations of the leaf.
  // Sets both socket time-outs; 0 means no limit. A failure closes the client.
  virtual CommResult setTimeout(uint32_t timeoutMs) = 0;
  virtual CommResult prepareSocket() = 0;
  virtual CommResult connectToTerminal() = 0;
  // One send call for the given bytes: the count sent, or a negative failure.
  // Interrupted calls are repeated by the leaf.
  virtual int tryToSend(const uint8_t* data, size_t length) = 0;
  // One receive call: bytes received, 0 when the peer closed, negative on failure.
  virtual int tryToReceive(uint8_t* buffer, size_t length) = 0;
  // One receive call that takes only what has arrived, without waiting:
  // false when nothing (not even the peer's close) is there yet; otherwise
  // true, with result as tryToReceive gives it. This default takes nothing,
  // so that every receive waits first; a leaf that can look without waiting
  // overrides it.
  virtual bool tryToReceiveArrived(uint8_t* buffer, size_t length, int& result);
  virtual int getLastError() const = 0;
  // A run-out time-out ends a message; it is not a failure.
  virtual bool isRecvErrorNotFailure(int result, int error) const = 0;
  // Waits until bytes, or the peer's close, are there to be read, at most
  // timeoutMs (0: without end): above 0 ready, 0 the time-out ran out, below
  // 0 a failure (getLastError tells which). This default lets the receive
  // call itself wait, under the socket's receive time-out; a leaf with a
  // finer wait overrides it.
  virtual int waitForReceive(uint32_t timeoutMs);

  CommResult handleRecvError(int result, bool nothingReceived);
  // setTimeout, skipped when the socket has that value already.
  CommResult applyTimeout(uint32_t timeoutMs);

  std::string host;
  uint16_t port;
  uint32_t defaultTimeout;

 private:
  CommResult receiveMessage(std::vector<uint8_t>& data, uint32_t timeoutMs, bool takeArrivedFirst);
  CommResult handlePeerClose(bool nothingReceived);
  CommResult endOfMessage(bool nothingReceived);

  // The time-out the socket has now; unknown until open sets it.
  std::optional<uint32_t> socketTimeout;
};

}  // namespace zq::app::comm

// One framed connection to the payment terminal: framing, the transport and
// the received bytes, with reconnection when an exchange fails or the terminal
// ends the transmission.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/NonAssignable.h"
#include "link/BufferedInputStream.h"
#include "link/CommInterface.h"
#include "link/LinkLayerInterface.h"

namespace zq::app::link {

class Link : public utils::NonAssignable {
 public:
  // Takes ownership of layer and comm (also when its own construction fails).
  Link(LinkLayerInterface* layer, comm::CommInterface* comm, size_t bufferSize);
  // close(), then the transport and the layer go.
  ~Link() override;

  comm::CommResult open();
  // Says goodbye with EOT when the transport is open, closes it and drops the
  // buffered bytes. Harmless on a closed link.
  void close();
  bool isOpen() const;

  comm::CommResult setDefaultTimeout(uint32_t timeoutMs);
  uint32_t getDefaultTimeout() const;
  // While set, bytes that follow a received frame stay buffered for the next read.
  void set_protect_data_after_frame(bool protect);

  // Frames data in place (it holds the whole frame afterwards) and sends it.
  // A transport send that fails reconnects and sends the frame once more.
  comm::CommResult send(std::vector<uint8_t>& data);
  // Reconnects first when the terminal has ended the transmission (EOT, or
  // a closed connection), then send().
  comm::CommResult sendWithMonitor(std::vector<uint8_t>& data);
  // Waits for one data frame and puts its message into data. 0: default time-out.
  comm::CommResult recv(std::vector<uint8_t>& data, uint32_t timeoutMs);
  // Collects at least count raw bytes into data (possibly more).
  comm::CommResult recv_raw(std::vector<uint8_t>& data, uint32_t count, uint32_t timeoutMs);

 private:
  comm::CommResult tryToSend(const std::vector<uint8_t>& data);
  comm::CommResult handleSuccessfulSend();
  comm::CommResult tryToReconnect();
  comm::CommResult resetLinkOnEot();
  comm::CommResult handleSuccessfulReceive(std::vector<uint8_t>& data);
  // After a failed receive: drops the buffered bytes when they filled the
  // buffer, then reconnects.
  void recoverFromFailedReceive(const comm::CommResult& failure);

  std::unique_ptr<LinkLayerInterface> layer;
  std::unique_ptr<comm::CommInterface> comm;
  BufferedInputStream input;
  bool protectDataAfterFrame;
};

}  // namespace zq::app::link

// STX, message, ETX, LRC framing. StxEtxLinkLayer is the acknowledged variant;
// the terminals in the field use StxEtxLrcNoAckLinkLayer, which answers only a
// damaged frame (with NAK) and does not wait for an answer after sending.
#pragma once

#include <cstdint>
#include <vector>

#include "link/LinkLayerInterface.h"

namespace zq::app::link {

// Exclusive-or of every byte fed to it, from 0.
class LrcCounter {
 public:
  virtual ~LrcCounter() = default;
  void operator()(uint8_t byte) { lrc ^= byte; }
  uint8_t getLrc() const { return lrc; }

 private:
  uint8_t lrc = 0;
};

class StxEtxLinkLayer : public LinkLayerInterface {
 public:
  // STX before the message; ETX and the LRC of message and ETX after it.
  void build(std::vector<uint8_t>& data) const override;
  ExtractResult extract(std::vector<uint8_t>& frame) const override;
  // True for a reply that begins with ACK.
  bool checkReply(const std::vector<uint8_t>& reply) const override;
  std::vector<uint8_t> getEotMessage() const override;
  const FrameLocator& getFrameLocator() const override;
  // ACK or NAK, after any EOT bytes.
  const FrameLocator& getControlCharacterLocator() const override;
  const FrameLocator& getEotLocator() const override;
  // ACK for a good frame, NAK for a damaged one.
  void setReply(ExtractResult& result) const override;

  // The LRC of the bytes between the STX and the last byte equals the last byte.
  // A frame shorter than 3 bytes never passes.
  bool checkLrc(const std::vector<uint8_t>& frame) const;
};

class StxEtxLrcNoAckLinkLayer : public StxEtxLinkLayer {
 public:
  // Only a NAK refuses a frame; no reply at all accepts it.
  bool checkReply(const std::vector<uint8_t>& reply) const override;
  // A locator with no control bytes, so the wait after a send ends at once.
  const FrameLocator& getControlCharacterLocator() const override;
  // NAK for a damaged frame; a good frame gets no answer.
  void setReply(ExtractResult& result) const override;
};

}  // namespace zq::app::link

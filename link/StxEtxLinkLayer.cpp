#include "link/StxEtxLinkLayer.h"

namespace zq::app::link {

void StxEtxLinkLayer::build(std::vector<uint8_t>& data) const {
  data.insert(data.begin(), control::STX);
  data.push_back(control::ETX);
  LrcCounter counter;
  for (size_t i = 1; i < data.size(); ++i) counter(data[i]);
  data.push_back(counter.getLrc());
}

bool StxEtxLinkLayer::checkLrc(const std::vector<uint8_t>& frame) const {
  if (frame.size() < 3) return false;
  LrcCounter counter;
  for (size_t i = 1; i + 1 < frame.size(); ++i) counter(frame[i]);
  return counter.getLrc() == frame.back();
}

LinkLayerInterface::ExtractResult StxEtxLinkLayer::extract(std::vector<uint8_t>& frame) const {
  ExtractResult result(checkLrc(frame), std::vector<uint8_t>());
  setReply(result);
  // The locator only cuts frames of 3 bytes or more; a shorter one is
  // answered as damaged and leaves no message.
  if (frame.size() < 3) {
    frame.clear();
    return result;
  }
  frame.erase(frame.end() - 2, frame.end());
  frame.erase(frame.begin());
  return result;
}

bool StxEtxLinkLayer::checkReply(const std::vector<uint8_t>& reply) const {
  return !reply.empty() && reply.front() == control::ACK;
}

std::vector<uint8_t> StxEtxLinkLayer::getEotMessage() const { return {control::EOT}; }

const FrameLocator& StxEtxLinkLayer::getFrameLocator() const { return StxEtxLrcFrameLocator::getInstance(); }

const FrameLocator& StxEtxLinkLayer::getControlCharacterLocator() const {
  // The locators are left alive at exit, as every process-wide object of the
  // library is: a host may still talk to its terminal from an atexit handler.
  static const ControlCharacterFrameLocator& locator =
      *new ControlCharacterFrameLocator({control::ACK, control::NAK}, {control::EOT});
  return locator;
}

const FrameLocator& StxEtxLinkLayer::getEotLocator() const {
  static const EotFrameLocator& locator = *new EotFrameLocator({});
  return locator;
}

void StxEtxLinkLayer::setReply(ExtractResult& result) const {
  result.second.push_back(result.first ? control::ACK : control::NAK);
}

bool StxEtxLrcNoAckLinkLayer::checkReply(const std::vector<uint8_t>& reply) const {
  return reply.empty() || reply.front() != control::NAK;
}

const FrameLocator& StxEtxLrcNoAckLinkLayer::getControlCharacterLocator() const {
  static const ControlCharacterFrameLocator& locator =
      *new ControlCharacterFrameLocator({}, {control::EOT, control::NAK});
  return locator;
}

void StxEtxLrcNoAckLinkLayer::setReply(ExtractResult& result) const {
  if (!result.first) result.second.push_back(control::NAK);
}

}  // namespace zq::app::link

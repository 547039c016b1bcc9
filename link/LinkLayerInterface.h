// Framing rules of the link to the terminal: how a frame is built, checked and
// answered, and which locators find frames in the received bytes.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "link/FrameLocator.h"

namespace zq::app::link {

class LinkLayerInterface {
 public:
  // Whether a received frame passed its check, and the bytes to answer it with.
  using ExtractResult = std::pair<bool, std::vector<uint8_t>>;

  virtual ~LinkLayerInterface() = default;

  // Frames data in place.
  virtual void build(std::vector<uint8_t>& data) const = 0;
  // Strips a frame cut by getFrameLocator() down to its message, whether or not
  // the check passed.
  virtual ExtractResult extract(std::vector<uint8_t>& frame) const = 0;
  // Whether the reply read after a send accepts the frame.
  virtual bool checkReply(const std::vector<uint8_t>& reply) const = 0;
  virtual std::vector<uint8_t> getEotMessage() const = 0;
  virtual const FrameLocator& getFrameLocator() const = 0;
  virtual const FrameLocator& getControlCharacterLocator() const = 0;
  virtual const FrameLocator& getEotLocator() const = 0;
  // Appends the answer to a frame, given its check result.
  virtual void setReply(ExtractResult& result) const = 0;
};

}  // namespace zq::app::link

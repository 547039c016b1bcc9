// The byte transport towards the terminal. The Link and its input stream talk
// only to this interface, so the TCP and serial clients of either build, and
// the fakes of the tests, can stand in for one another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/NonAssignable.h"
#include "link/CommResult.h"

namespace zq::app::comm {

class CommInterface : public utils::NonAssignable {
 public:
  CommInterface() = default;
  CommInterface(const CommInterface&) = delete;
  // Leaves call close() in their own destructors: closing needs the leaf.
  ~CommInterface() override = default;

  virtual CommResult open() = 0;
  // Logs the bytes and hands them to sendInternal; refuses an empty buffer and
  // a closed transport.
  virtual CommResult send(const std::vector<uint8_t>& data);
  // Empties data and receives into it; a closed transport leaves data as it was.
  virtual CommResult recv(std::vector<uint8_t>& data, uint32_t timeoutMs);
  virtual CommResult recv(std::vector<uint8_t>& data);
  // One receive that takes at most maxBytes, so that a terminal flooding the
  // line can never grow the caller's memory beyond the room it offers.
  // A time-out of 0 receives with the default time-out.
  CommResult recvAtMost(std::vector<uint8_t>& data, uint32_t timeoutMs, size_t maxBytes);
  virtual bool isOpen() const = 0;
  virtual CommResult setDefaultTimeout(uint32_t timeoutMs) = 0;
  virtual uint32_t getDefaultTimeout() = 0;
  // Attempts the Link makes, and receives without data the input stream allows.
  virtual uint32_t getRetryNumber() const;
  virtual std::string getMediumName() const = 0;

  // Closes the transport when it is open; otherwise does nothing.
  void close();

 protected:
  virtual CommResult recvInternal(std::vector<uint8_t>& data) = 0;
  virtual std::string getNotOpenedMessage() const = 0;
  virtual void closeInternal() = 0;
  virtual CommResult sendInternal(const std::vector<uint8_t>& data) = 0;
  virtual CommResult recvInternal(std::vector<uint8_t>& data, uint32_t timeoutMs) = 0;

  // Every transport failure is built here: DEVICE_ERROR with a code and a text.
  CommResult createCommResultWithError(errors::DeviceError error, const std::string& message) const;
  void logReceiveError(const CommResult& result) const;

  // The most bytes the receive in progress may take; no limit outside
  // recvAtMost. A transport that reads fixed blocks may not honour it, and
  // the caller must cope with the surplus.
  size_t receiveLimit() const { return currentReceiveLimit; }

 private:
  static constexpr size_t kNoReceiveLimit = std::numeric_limits<size_t>::max();
  size_t currentReceiveLimit = kNoReceiveLimit;
};

}  // namespace zq::app::comm

// The receive side of a Link: every received byte lands in a ring buffer, from
// which frames are cut or raw bytes collected. The transport is asked for more
// only when the buffered bytes do not yet hold what is wanted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/CircularBuffer.h"
#include "link/CommInterface.h"
#include "link/FrameLocator.h"

namespace zq::app::link {

class BufferedInputStream {
 public:
  explicit BufferedInputStream(size_t capacity);
  virtual ~BufferedInputStream() = default;

  // Binds the transport (not owned).
  void setup(comm::CommInterface& comm);
  // Drops every buffered byte; the last result stays.
  void clear();
  const std::vector<uint8_t>& getReceivedData() const { return received; }
  // Hands the last result over to out without copying it; received is left
  // empty (with out's old storage, for the next read).
  void takeReceivedData(std::vector<uint8_t>& out);
  size_t bufferedSize() const { return buffer.size(); }

  // A time-out of 0 means the transport's default time-out. A read ends at
  // the latest when the time-out, counted from its start, has passed once
  // for every try allowed (then one look of a millisecond takes what has
  // arrived by then), however the bytes arrive; with a default time-out of
  // 0 it waits without end. Each receive takes no more than the free room
  // of the buffer.
  // Cuts one frame; the transport's retry number of empty receives is allowed.
  comm::CommResult recvFrame(const FrameLocator& locator, uint32_t timeoutMs);
  // The same with exactly one empty receive allowed.
  comm::CommResult recvFrameWithOneTry(const FrameLocator& locator, uint32_t timeoutMs);
  // Collects at least count bytes (possibly more: all that were buffered).
  comm::CommResult recvRawData(uint32_t count, uint32_t timeoutMs);

  // Cuts a frame from the buffered bytes alone; bytes before it are dropped,
  // bytes after it stay.
  bool readFrameFromBuffer(const FrameLocator& locator);
  bool readRawDataFromBuffer(uint32_t count);

 private:
  comm::CommResult refillBuffer(uint32_t timeoutMs, bool& gotBytes);
  template <typename ReadFromBuffer>
  comm::CommResult recvInternal(ReadFromBuffer readFromBuffer, uint32_t timeoutMs);

  uint32_t tries;
  CircularBuffer buffer;
  std::vector<uint8_t> received;
  // The bytes of one receive; kept so that its storage serves every receive.
  std::vector<uint8_t> chunk;
  comm::CommInterface* comm;
};

}  // namespace zq::app::link

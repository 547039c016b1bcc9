#include "link/BufferedInputStream.h"

#include <cinttypes>

#include "core/zumbra_log.h"
#include "link/Deadline.h"

namespace zq::app::link {

using comm::CommResult;

namespace {
constexpr uint32_t kLastLookMs = 1;
}  // namespace

BufferedInputStream::BufferedInputStream(size_t capacity) : tries(1), buffer(capacity), comm(nullptr) {}

void BufferedInputStream::setup(comm::CommInterface& transport) { comm = &transport; }

void BufferedInputStream::clear() { buffer.clear(); }

void BufferedInputStream::takeReceivedData(std::vector<uint8_t>& out) {
  out.swap(received);
  received.clear();
}

bool BufferedInputStream::readFrameFromBuffer(const FrameLocator& locator) {
  received.clear();
  CircularBufferIterator b = buffer.begin();
  const CircularBufferIterator e = buffer.end();
  const CircularBufferIterator start = locator.locateFrameStart(b, e);
  if (start == e) {
    buffer.ignore(buffer.size());
    return locator.allowEmptyFrame();
  }
  const CircularBufferIterator last = locator.locateFrameTermination(b, e);
  if (last == CircularBufferIterator::npos || last == e) {
    return locator.allowEmptyFrame();
  }
  buffer.ignore(static_cast<size_t>(start - buffer.begin()));
  buffer.read(received, static_cast<size_t>(last - start) + 1);
  return true;
}

bool BufferedInputStream::readRawDataFromBuffer(uint32_t count) {
  if (count <= received.size()) return true;
  if (buffer.empty()) return false;
  buffer.read(received, buffer.size());
  return received.size() >= count;
}

CommResult BufferedInputStream::refillBuffer(uint32_t timeoutMs, bool& gotBytes) {
  gotBytes = false;
  if (buffer.freeSpace() == 0) {
    return CommResult(CommResult::DEVICE_ERROR, comm::errors::DEVICE_BUFFER_OVERFLOW, "Receive buffer overflow");
  }
  if (comm == nullptr) {
    return CommResult(CommResult::DEVICE_ERROR, comm::errors::DEVICE_CONN_ERROR, "No transport");
  }
  CommResult result = comm->recvAtMost(chunk, timeoutMs, buffer.freeSpace());
  if (!result.isOk()) return result;
  gotBytes = !chunk.empty();
  if (!buffer.write(chunk)) {
    // Only a transport that reads fixed blocks brings more than the room it
    // was given. Keep the part that fits (it continues the buffered bytes
    // without a gap) and say that the rest was lost: a frame cut across the
    // loss would be wrong.
    const size_t room = buffer.freeSpace();
    buffer.write(chunk.data(), room);
    return CommResult(CommResult::DEVICE_ERROR, comm::errors::DEVICE_BUFFER_OVERFLOW, "Receive buffer overflow");
  }
  return result;
}

template <typename ReadFromBuffer>
CommResult BufferedInputStream::recvInternal(ReadFromBuffer readFromBuffer, uint32_t timeoutMs) {
  if (readFromBuffer()) return CommResult(CommResult::DEVICE_OK);
  if (tries == 0) return CommResult(CommResult::DEVICE_TIMEOUT);
  // A terminal that keeps sending bytes that never make what is wanted (a
  // flood of noise, a frame without its end, one byte a second) must not
  // hold the read: its time-outs come from one budget for the whole read.
  const uint32_t each = timeoutMs != 0 ? timeoutMs : (comm != nullptr ? comm->getDefaultTimeout() : 0);
  const uint64_t budgetMs = static_cast<uint64_t>(each) * tries;
  const comm::Deadline deadline(budgetMs);
  uint32_t wait = timeoutMs;
  uint32_t misses = 1;
  bool lastLook = false;
  for (;;) {
    bool gotBytes = false;
    CommResult result = refillBuffer(wait, gotBytes);
    if (result.getStatus() == CommResult::DEVICE_ERROR) {
      logDevWarn("Unable to refill received data buffer");
      return result;
    }
    if (readFromBuffer()) return CommResult(CommResult::DEVICE_OK);
    // A receive that brought nothing is a miss even when the transport calls
    // it a success; otherwise such a transport would keep the read going
    // for ever.
    if (!result.isOk() || !gotBytes) ++misses;
    if (misses > tries) return CommResult(CommResult::DEVICE_TIMEOUT);
    if (!deadline.nextWait(0, wait)) {
      if (lastLook) {
        logDevWarn("Nothing complete received within %" PRIu64 " ms, the wait ends", budgetMs);
        return CommResult(CommResult::DEVICE_TIMEOUT);
      }
      // Bytes that arrived in time are taken even when this thread comes
      // back to them late, as on a busy machine: one more look, of a
      // millisecond, at what is already there.
      lastLook = true;
      wait = kLastLookMs;
    }
  }
}

CommResult BufferedInputStream::recvFrame(const FrameLocator& locator, uint32_t timeoutMs) {
  tries = comm != nullptr ? comm->getRetryNumber() : 1;
  return recvInternal([&] { return readFrameFromBuffer(locator); }, timeoutMs);
}

CommResult BufferedInputStream::recvFrameWithOneTry(const FrameLocator& locator, uint32_t timeoutMs) {
  tries = 1;
  return recvInternal([&] { return readFrameFromBuffer(locator); }, timeoutMs);
}

CommResult BufferedInputStream::recvRawData(uint32_t count, uint32_t timeoutMs) {
  tries = comm != nullptr ? comm->getRetryNumber() : 1;
  received.clear();
  return recvInternal([&] { return readRawDataFromBuffer(count); }, timeoutMs);
}

}  // namespace zq::app::link

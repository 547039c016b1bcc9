// The wait of the Linux transports: poll on one descriptor, to the
// millisecond. poll rather than select: a host with many open files hands
// out descriptors past the fixed size of an fd_set; poll rather than a
// socket time-out: those are rounded up to the kernel's tick.
#pragma once

#include <poll.h>

#include <cerrno>
#include <climits>
#include <cstdint>

namespace zq::app::comm::posix {

// Waits until fd is ready for the events, at most timeoutMs (a negative
// value waits without end). Above 0 ready (also for a hang-up or an error on
// the descriptor), 0 the time ran out, below 0 a failure in errno.
inline int waitFor(int fd, short events, int timeoutMs) {
  pollfd entry{};
  entry.fd = fd;
  entry.events = events;
  int result;
  do {
    result = ::poll(&entry, 1, timeoutMs);
  } while (result < 0 && errno == EINTR);
  return result;
}

// A time-out in milliseconds as poll takes it, clamped to its range.
inline int pollTimeout(uint32_t timeoutMs) {
  return timeoutMs > static_cast<uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(timeoutMs);
}

}  // namespace zq::app::comm::posix

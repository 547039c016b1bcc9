#include "support/LoopbackPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>

namespace zq::test {

namespace {

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kEot = 0x04;
constexpr uint8_t kNak = 0x15;

double realTimeNow() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::string hex(const std::vector<uint8_t>& bytes) {
  std::string text;
  char digits[4];
  for (uint8_t b : bytes) {
    std::snprintf(digits, sizeof digits, "%02X ", b);
    text += digits;
  }
  if (!text.empty()) text.pop_back();
  return text;
}

}  // namespace

LoopbackPeer::LoopbackPeer() : LoopbackPeer(std::vector<PeerStep>()) {}

LoopbackPeer::LoopbackPeer(std::vector<PeerStep> script) : LoopbackPeer(std::move(script), 0) {}

LoopbackPeer::LoopbackPeer(std::vector<PeerStep> script, uint16_t port) : script_(script.begin(), script.end()) {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (listenFd_ < 0) throw std::runtime_error("loopback peer: socket failed");
  const int on = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  socklen_t length = sizeof address;
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listenFd_, 4) != 0 ||
      ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(listenFd_);
    throw std::runtime_error("loopback peer: cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  worker_ = std::thread([this] { run(); });
}

LoopbackPeer::~LoopbackPeer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  worker_.join();
  if (clientFd_ >= 0) ::close(clientFd_);
  ::close(listenFd_);
}

void LoopbackPeer::addStep(PeerStep step) {
  std::lock_guard<std::mutex> lock(mutex_);
  script_.push_back(std::move(step));
}

void LoopbackPeer::clearScript() {
  std::lock_guard<std::mutex> lock(mutex_);
  script_.clear();
}

int LoopbackPeer::connectionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connections_;
}

int LoopbackPeer::closedCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return closed_;
}

std::vector<uint8_t> LoopbackPeer::received() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

std::vector<std::vector<uint8_t>> LoopbackPeer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

int LoopbackPeer::badLrcCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return badLrc_;
}

std::vector<std::string> LoopbackPeer::mismatches() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mismatches_;
}

size_t LoopbackPeer::stepsDone() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return stepsDone_;
}

std::vector<double> LoopbackPeer::answerTimes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return answerTimes_;
}

int LoopbackPeer::lateCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return late_;
}

bool LoopbackPeer::requestPending() const {
  uint8_t peek[512];
  const ssize_t count = ::recv(clientFd_, peek, sizeof peek, MSG_PEEK | MSG_DONTWAIT);
  return count > 0 && std::find(peek, peek + count, kStx) != peek + count;
}

bool LoopbackPeer::stopping() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return stop_;
}

template <typename Predicate>
bool LoopbackPeer::waitUntil(Predicate predicate, int timeoutMs) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), predicate);
}

bool LoopbackPeer::waitForConnections(int count, int timeoutMs) const {
  return waitUntil([&] { return connections_ >= count; }, timeoutMs);
}

bool LoopbackPeer::waitForClosed(int count, int timeoutMs) const {
  return waitUntil([&] { return closed_ >= count; }, timeoutMs);
}

bool LoopbackPeer::waitForReceived(size_t byteCount, int timeoutMs) const {
  return waitUntil([&] { return received_.size() >= byteCount; }, timeoutMs);
}

bool LoopbackPeer::settle(int timeoutMs) const {
  // The second idle round from now began after this call: everything sent
  // before it has been answered or dropped by then.
  uint64_t seen;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    seen = idleRounds_;
  }
  return waitUntil([&] { return idleRounds_ >= seen + 2; }, timeoutMs);
}

bool LoopbackPeer::waitForSteps(size_t count, int timeoutMs) const {
  return waitUntil([&] { return stepsDone_ >= count; }, timeoutMs);
}

std::vector<uint8_t> LoopbackPeer::frame(const std::vector<uint8_t>& message) {
  std::vector<uint8_t> wire;
  wire.reserve(message.size() + 3);
  wire.push_back(kStx);
  uint8_t lrc = 0;
  for (uint8_t b : message) {
    wire.push_back(b);
    lrc ^= b;
  }
  wire.push_back(kEtx);
  lrc ^= kEtx;
  wire.push_back(lrc);
  return wire;
}

void LoopbackPeer::run() {
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return;
    }
    pollfd fds[2] = {{listenFd_, POLLIN, 0}, {clientFd_, POLLIN, 0}};
    const nfds_t count = clientFd_ >= 0 ? 2 : 1;
    // A short poll keeps the stop request noticed quickly.
    if (::poll(fds, count, 10) <= 0) {
      std::lock_guard<std::mutex> lock(mutex_);
      ++idleRounds_;
      changed_.notify_all();
      continue;
    }
    if (fds[0].revents & POLLIN) acceptClient();
    if (count == 2 && fds[1].revents != 0 && clientFd_ == fds[1].fd) readClient();
  }
}

void LoopbackPeer::acceptClient() {
  const int fd = ::accept(listenFd_, nullptr, nullptr);
  if (fd < 0) return;
  // Each write goes out at once: without this, the pieces of a split reply
  // wait for the library's delayed acknowledgement (40 ms on Linux), and
  // arrive later than the short time-outs the tests use.
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  // The kernel's arrival time of each request, for answerTimes().
  ::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
  // One terminal, one connection: a new one means the library has reconnected.
  if (clientFd_ >= 0) {
    if (requestPending()) {
      std::lock_guard<std::mutex> lock(mutex_);
      ++late_;
    }
    closeClient();
  }
  clientFd_ = fd;
  pending_.clear();
  std::lock_guard<std::mutex> lock(mutex_);
  ++connections_;
  changed_.notify_all();
}

void LoopbackPeer::closeClient() {
  ::shutdown(clientFd_, SHUT_RDWR);
  ::close(clientFd_);
  clientFd_ = -1;
  pending_.clear();
  std::lock_guard<std::mutex> lock(mutex_);
  ++closed_;
  changed_.notify_all();
}

void LoopbackPeer::readClient() {
  uint8_t chunk[512];
  iovec part{chunk, sizeof chunk};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
  msghdr message{};
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t count = ::recvmsg(clientFd_, &message, 0);
  if (count <= 0) {
    if (count < 0 && errno == EINTR) return;
    closeClient();
    return;
  }
  for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
      timespec arrival{};
      std::memcpy(&arrival, CMSG_DATA(c), sizeof arrival);
      lastArrival_ = static_cast<double>(arrival.tv_sec) + static_cast<double>(arrival.tv_nsec) * 1e-9;
    }
  }
  pending_.insert(pending_.end(), chunk, chunk + count);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    received_.insert(received_.end(), chunk, chunk + count);
    changed_.notify_all();
  }
  cutFrames();
}

void LoopbackPeer::cutFrames() {
  for (;;) {
    size_t start = 0;
    while (start < pending_.size() && pending_[start] != kStx) ++start;
    size_t etx = start;
    while (etx < pending_.size() && pending_[etx] != kEtx) ++etx;
    if (start >= pending_.size() || etx + 1 >= pending_.size()) {
      // Bytes before an STX are control bytes or noise, already recorded.
      pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(start));
      return;
    }
    const std::vector<uint8_t> message(pending_.begin() + static_cast<std::ptrdiff_t>(start) + 1,
                                       pending_.begin() + static_cast<std::ptrdiff_t>(etx));
    uint8_t lrc = kEtx;
    for (uint8_t b : message) lrc ^= b;
    const bool lrcOk = lrc == pending_[etx + 1];
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(etx) + 2);

    std::optional<PeerStep> step;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(message);
      if (!lrcOk) ++badLrc_;
      if (!script_.empty()) {
        step = std::move(script_.front());
        script_.pop_front();
      }
      if (step && step->expect && *step->expect != message) {
        mismatches_.push_back("step " + std::to_string(stepsDone_) + ": expected [" + hex(*step->expect) +
                              "], received [" + hex(message) + "]");
      }
    }
    if (step) {
      perform(*step);
      std::lock_guard<std::mutex> lock(mutex_);
      ++stepsDone_;
      changed_.notify_all();
    }
    if (clientFd_ < 0) return;
  }
}

void LoopbackPeer::perform(const PeerStep& step) {
  bool connected = step.floodMs <= 0 || step.flood.empty() || sendFlood(step.flood, step.floodMs);

  std::vector<uint8_t> wire = step.strayBefore;
  if (step.nakBefore) wire.push_back(kNak);
  if (!step.silent) {
    std::vector<uint8_t> reply = frame(step.reply);
    if (step.badLrc) reply.back() ^= 0xFF;
    wire.insert(wire.end(), reply.begin(), reply.end());
  }
  if (step.eotAfter) wire.push_back(kEot);
  wire.insert(wire.end(), step.rawAfter.begin(), step.rawAfter.end());

  // A drip is a split into single bytes.
  const size_t piece = step.dripMs > 0 ? 1 : step.splitChunk;
  const int pauseMs = step.dripMs > 0 ? step.dripMs : step.splitPauseMs;
  if (piece == 0) {
    connected = connected && sendAll(wire.data(), wire.size());
  } else {
    for (size_t offset = 0; connected && offset < wire.size(); offset += piece) {
      if (offset > 0 && !pause(pauseMs)) connected = false;
      const size_t length = std::min(piece, wire.size() - offset);
      connected = connected && sendAll(wire.data() + offset, length);
    }
  }
  const bool hangUp = connected && step.dropAfter;
  if (hangUp && requestPending()) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++late_;
  }
  if ((!connected || hangUp) && clientFd_ >= 0) closeClient();
  std::lock_guard<std::mutex> lock(mutex_);
  answerTimes_.push_back(lastArrival_ > 0 ? (realTimeNow() - lastArrival_) * 1000.0 : -1.0);
}

bool LoopbackPeer::sendAll(const uint8_t* data, size_t length) {
  while (length > 0 && clientFd_ >= 0) {
    const ssize_t sent = ::send(clientFd_, data, length, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    data += sent;
    length -= static_cast<size_t>(sent);
  }
  return clientFd_ >= 0;
}

bool LoopbackPeer::pause(int ms) {
  // Watches the connection meanwhile: a library that hung up ends the step.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (left.count() <= 0) return true;
    if (stopping()) return false;
    pollfd watch = {clientFd_, POLLRDHUP, 0};
    if (::poll(&watch, 1, static_cast<int>(std::min<long>(left.count(), 10))) > 0) return false;
  }
}

bool LoopbackPeer::sendFlood(const std::vector<uint8_t>& pattern, int forMs) {
  // The pattern over and over, 64 bytes or more every millisecond: a steady
  // stream in which every receive finds something new, for forMs or until
  // the library hangs up.
  std::vector<uint8_t> block;
  while (block.size() < 64) block.insert(block.end(), pattern.begin(), pattern.end());
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(forMs);
  while (std::chrono::steady_clock::now() < until) {
    if (!sendAll(block.data(), block.size()) || !pause(1)) return false;
  }
  return true;
}

}  // namespace zq::test

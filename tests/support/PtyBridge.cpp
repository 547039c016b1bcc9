#include "support/PtyBridge.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace zq::test {

namespace {

constexpr int kPollMs = 10;

// The speeds a serial client of the library can ask for.
unsigned baudOf(speed_t speed) {
  switch (speed) {
    case B9600:
      return 9600;
    case B19200:
      return 19200;
    case B38400:
      return 38400;
    case B57600:
      return 57600;
    case B115200:
      return 115200;
    default:
      return 0;
  }
}

bool writeAll(int fd, const uint8_t* data, size_t length) {
  while (length > 0) {
    const ssize_t written = ::write(fd, data, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    length -= static_cast<size_t>(written);
  }
  return true;
}

int connectTo(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

PtyBridge::PtyBridge(uint16_t terminalPort, std::string linkPath, unsigned expectedBaud)
    : terminalPort_(terminalPort), linkPath_(std::move(linkPath)), expectedBaud_(expectedBaud) {
  masterFd_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  char slave[128];
  if (masterFd_ < 0 || ::grantpt(masterFd_) != 0 || ::unlockpt(masterFd_) != 0 ||
      ::ptsname_r(masterFd_, slave, sizeof slave) != 0) {
    if (masterFd_ >= 0) ::close(masterFd_);
    throw std::runtime_error("pty bridge: no pseudo-terminal");
  }
  // Raw until the client sets its own line: no echo, no line editing, and
  // no signal for the ETX (0x03) that ends every frame.
  termios line{};
  ::tcgetattr(masterFd_, &line);
  ::cfmakeraw(&line);
  ::tcsetattr(masterFd_, TCSANOW, &line);
  ::unlink(linkPath_.c_str());
  if (::symlink(slave, linkPath_.c_str()) != 0) {
    ::close(masterFd_);
    throw std::runtime_error("pty bridge: cannot link " + linkPath_ + " to " + slave);
  }
  worker_ = std::thread([this] { run(); });
}

PtyBridge::~PtyBridge() {
  stop_ = true;
  worker_.join();
  ::unlink(linkPath_.c_str());
  ::close(masterFd_);
}

std::vector<std::string> PtyBridge::mismatches() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mismatches_;
}

void PtyBridge::addMismatch(std::string text) {
  std::lock_guard<std::mutex> lock(mutex_);
  mismatches_.push_back(std::move(text));
}

void PtyBridge::run() {
  while (!stop_) {
    // The master reports a hang-up for as long as no client has the slave
    // end open.
    pollfd master{masterFd_, POLLIN, 0};
    ::poll(&master, 1, kPollMs);
    if (master.revents & POLLHUP) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
      continue;
    }
    relaySession();
  }
}

void PtyBridge::relaySession() {
  const int terminal = connectTo(terminalPort_);
  if (terminal < 0) {
    addMismatch("pty bridge: the simulator's port does not answer");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return;
  }
  bool lineChecked = false;
  uint8_t buffer[4096];
  while (!stop_) {
    pollfd fds[2] = {{masterFd_, POLLIN, 0}, {terminal, POLLIN, 0}};
    if (::poll(fds, 2, kPollMs) < 0 && errno != EINTR) break;
    if (fds[0].revents & POLLIN) {
      const ssize_t count = ::read(masterFd_, buffer, sizeof buffer);
      if (count <= 0) break;  // EIO: the client closed the port
      if (!lineChecked) {
        checkLine();
        lineChecked = true;
      }
      if (!writeAll(terminal, buffer, static_cast<size_t>(count))) break;
    } else if (fds[0].revents & POLLHUP) {
      break;
    }
    if (fds[1].revents & (POLLIN | POLLHUP)) {
      const ssize_t count = ::recv(terminal, buffer, sizeof buffer, 0);
      if (count <= 0) break;
      if (!writeAll(masterFd_, buffer, static_cast<size_t>(count))) break;
    }
  }
  ::close(terminal);
}

void PtyBridge::checkLine() {
  // Termios requests on the master act on the slave: these are the
  // client's settings.
  termios line{};
  if (::tcgetattr(masterFd_, &line) != 0) {
    addMismatch("pty bridge: the line settings cannot be read");
    return;
  }
  const unsigned baud = baudOf(::cfgetospeed(&line));
  if (expectedBaud_ != 0 && baud != expectedBaud_) {
    addMismatch("line at " + (baud == 0 ? std::string("an unexpected speed") : std::to_string(baud)) +
                " baud, expected " + std::to_string(expectedBaud_));
  }
}

}  // namespace zq::test

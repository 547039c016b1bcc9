#include "link/posix/SerialClient.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/zumbra_log.h"
#include "link/posix/PollWait.h"

namespace zq::app::comm {

SerialClient::SerialClient(const std::string& portName_, comm_SerialDataMode dataMode_,
                           comm_SerialBaudrate baudrate_, uint32_t timeoutMs)
    : SerialClientInterface(portName_, dataMode_, baudrate_, timeoutMs), fd(-1), lastSelect(0) {}

SerialClient::~SerialClient() { close(); }

bool SerialClient::isOpen() const { return fd >= 0; }

void SerialClient::closeInternal() {
  ::close(fd);
  fd = -1;
  logCommInfo("Closing %s", portName.c_str());
}

void SerialClient::tryToOpenComPort() {
  close();
  // O_NOCTTY: the terminal line must never become the host's controlling tty.
  fd = ::open(portName.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) fd = -1;
}

void SerialClient::configureTermios(termios& settings, comm_SerialDataMode mode, comm_SerialBaudrate baud) {
  ::cfmakeraw(&settings);
  settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXANY | IXOFF);
  settings.c_oflag = 0;
  settings.c_lflag = 0;
  settings.c_cc[VTIME] = 5;
  settings.c_cc[VMIN] = 0;

  settings.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | CSIZE | CSTOPB);
  settings.c_cflag |= CREAD | CLOCAL;
  switch (mode) {
    case COMM_7E1:
      settings.c_cflag |= CS7 | PARENB;
      settings.c_cflag &= ~static_cast<tcflag_t>(PARODD);
      break;
    case COMM_7O1:
      settings.c_cflag |= CS7 | PARENB | PARODD;
      break;
    case COMM_7N1:
      settings.c_cflag |= CS7;
      settings.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
      break;
    case COMM_8N1:
      settings.c_cflag |= CS8;
      settings.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
      break;
    default:
      // An unknown format would leave 5-bit characters; run the common 8N1.
      logCommWarn("Unknown serial data mode %d, using 8N1", static_cast<int>(mode));
      settings.c_cflag |= CS8;
      settings.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
      break;
  }

  switch (baud) {
    case COMM_BAUD_9600:
      ::cfsetspeed(&settings, B9600);
      break;
    case COMM_BAUD_19200:
      ::cfsetspeed(&settings, B19200);
      break;
    case COMM_BAUD_38400:
      ::cfsetspeed(&settings, B38400);
      break;
    case COMM_BAUD_56000:
      logCommInfo("Baud 56000 not supported");
      ::cfsetspeed(&settings, B57600);
      break;
    case COMM_BAUD_57600:
      ::cfsetspeed(&settings, B57600);
      break;
    case COMM_BAUD_115200:
      ::cfsetspeed(&settings, B115200);
      break;
    default:
      // An unknown index keeps the port's speed.
      break;
  }
}

bool SerialClient::setCommConfig() {
  termios settings;
  std::memset(&settings, 0, sizeof settings);
  if (::tcgetattr(fd, &settings) != 0) {
    logCommInfo("tcgetattr error %s", std::strerror(errno));
  }
  configureTermios(settings, dataMode, baudrate);
  ::tcflush(fd, TCIFLUSH);
  return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

void SerialClient::prepareComHandleForReceive() {
  lastSelect = posix::waitFor(fd, POLLIN, posix::pollTimeout(currentTimeout));
}

CommResult SerialClient::tryToReceiveData(std::vector<uint8_t>& data) {
  if (lastSelect > 0) {
    uint8_t chunk[kMaxReadSize];
    // Never more than the caller has room for.
    const size_t wanted = std::min(sizeof chunk, receiveLimit());
    ssize_t count;
    do {
      count = ::read(fd, chunk, wanted);
    } while (count < 0 && errno == EINTR);
    if (count > 0) {
      data.insert(data.end(), chunk, chunk + count);
      return CommResult(CommResult::DEVICE_OK);
    }
    if (count < 0 && errno == EAGAIN) {
      return createCommResultWithError(errors::DEVICE_CONN_ERROR, "COM read timeout");
    }
    return createCommResultWithError(errors::DEVICE_CONN_ERROR, "COM read fail");
  }
  if (lastSelect == 0) {
    return createCommResultWithError(errors::DEVICE_CONN_ERROR, "COM read timeout");
  }
  return createCommResultWithError(errors::DEVICE_CONN_ERROR, "COM read fail");
}

CommResult SerialClient::sendInternal(const std::vector<uint8_t>& data) {
  // Every byte goes out before the send counts as done. A full output queue
  // of the non-blocking port is waited out, bounded by the default time-out.
  size_t written = 0;
  while (written < data.size()) {
    const ssize_t count = ::write(fd, data.data() + written, data.size() - written);
    const int error = errno;
    ::fsync(fd);
    if (count > 0) {
      written += static_cast<size_t>(count);
      continue;
    }
    if (count < 0 && error == EINTR) continue;
    if (count < 0 && error == EAGAIN && posix::waitFor(fd, POLLOUT, posix::pollTimeout(defaultTimeout)) > 0) {
      continue;
    }
    return createCommResultWithError(errors::DEVICE_SEND_ERROR, "Write error");
  }
  return CommResult(CommResult::DEVICE_OK);
}

}  // namespace zq::app::comm

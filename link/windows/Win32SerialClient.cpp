#include "link/windows/Win32SerialClient.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace zq::app::comm {

Win32SerialClient::Win32SerialClient(const std::string& portName_, comm_SerialDataMode dataMode_,
                                     comm_SerialBaudrate baudrate_, uint32_t timeoutMs)
    : SerialClientInterface(portName_, dataMode_, baudrate_, timeoutMs), startTick(0) {}

std::string Win32SerialClient::deviceName(const std::string& portName) {
  const std::string name = "\\\\.\\" + portName;
  return name.substr(0, kDeviceNameBufferSize - 1);
}

void Win32SerialClient::configureLine(CommLineSettings& line, comm_SerialDataMode mode,
                                      comm_SerialBaudrate baud) {
  struct CharacterFormat {
    uint8_t byteSize;
    uint8_t parity;
  };
  // By comm_SerialDataMode: 8N1, 7E1, 7O1, 7N1.
  static constexpr CharacterFormat kFormats[] = {{8, CommLineSettings::kNoParity},
                                                 {7, CommLineSettings::kEvenParity},
                                                 {7, CommLineSettings::kOddParity},
                                                 {7, CommLineSettings::kNoParity}};
  // By comm_SerialBaudrate. Windows drivers take 56000 baud as it is, unlike Linux.
  static constexpr uint32_t kBaudRates[] = {9600, 19200, 38400, 56000, 57600, 115200};

  line.stopBits = CommLineSettings::kOneStopBit;
  const auto modeIndex = static_cast<size_t>(mode);
  if (modeIndex < std::size(kFormats)) {
    line.byteSize = kFormats[modeIndex].byteSize;
    line.parity = kFormats[modeIndex].parity;
  }
  const auto baudIndex = static_cast<size_t>(baud);
  if (baudIndex < std::size(kBaudRates)) line.baudRate = kBaudRates[baudIndex];
  // The terminal's frames are binary: XON and XOFF are data bytes.
  line.outX = false;
  line.inX = false;
}

bool Win32SerialClient::tickPassed(uint32_t now, uint32_t startTick_, uint32_t timeoutMs) {
  // Unsigned subtraction gives the ticks elapsed across a wrap of the count;
  // comparing now with startTick + timeoutMs would not.
  return static_cast<uint32_t>(now - startTick_) > timeoutMs;
}

bool Win32SerialClient::timePassed() const {
  return currentTimeout != 0 && tickPassed(getTickCount(), startTick, currentTimeout);
}

uint32_t Win32SerialClient::timeLeft() const {
  const uint32_t elapsed = static_cast<uint32_t>(getTickCount() - startTick);
  return elapsed < currentTimeout ? currentTimeout - elapsed : 1;
}

void Win32SerialClient::tryToOpenComPort() {
  // A second open without a close must not leave the first handle behind.
  close();
  createFile(deviceName(portName));
}

bool Win32SerialClient::setCommConfig() {
  CommLineSettings line;
  if (!getCommState(line)) return false;
  configureLine(line, dataMode, baudrate);
  return setCommState(line);
}

void Win32SerialClient::prepareComHandleForReceive() {
  startTick = getTickCount();
  CommTimeoutSettings timeouts;
  getCommTimeouts(timeouts);
  // One read of kMaxReadSize bytes ends when they have all come, 100 ms after
  // the last byte, or after kMaxReadSize + the constant ms.
  timeouts.readIntervalTimeout = kReadIntervalTimeoutMs;
  timeouts.readTotalTimeoutMultiplier = 1;
  timeouts.readTotalTimeoutConstant = currentTimeout == 0 ? 1 : currentTimeout;
  setCommTimeouts(timeouts);
}

CommResult Win32SerialClient::tryToReceiveData(std::vector<uint8_t>& data) {
  // Never more than the caller has room for; with no room at all nothing is
  // read, where a read of 0 bytes would come back at once until the deadline.
  const auto wanted = static_cast<uint32_t>(std::min(kMaxReadSize, receiveLimit()));
  if (wanted == 0) return CommResult(CommResult::DEVICE_OK);
  for (;;) {
    uint8_t chunk[kMaxReadSize];
    uint32_t count = 0;
    if (!readFile(chunk, wanted, count)) {
      return createCommResultWithError(errors::DEVICE_CONN_ERROR, "COM read timeout");
    }
    if (count > 0) {
      // A driver never reports more than was asked for; if one did, take no
      // byte beyond what was asked.
      data.insert(data.end(), chunk, chunk + std::min(count, wanted));
      return CommResult(CommResult::DEVICE_OK);
    }
    if (timePassed()) {
      return createCommResultWithError(errors::DEVICE_CONN_ERROR, "COM read timeout");
    }
  }
}

CommResult Win32SerialClient::sendInternal(const std::vector<uint8_t>& data) {
  prepareComHandleForSend();
  return tryToSendData(data);
}

void Win32SerialClient::prepareComHandleForSend() {
  startTick = getTickCount();
  CommTimeoutSettings timeouts;
  getCommTimeouts(timeouts);
  timeouts.writeTotalTimeoutMultiplier = 0;
  timeouts.writeTotalTimeoutConstant = timeLeft();
  setCommTimeouts(timeouts);
}

CommResult Win32SerialClient::tryToSendData(const std::vector<uint8_t>& data) {
  size_t written = 0;
  for (;;) {
    const uint32_t rest =
        static_cast<uint32_t>(std::min<size_t>(data.size() - written, std::numeric_limits<uint32_t>::max()));
    uint32_t count = 0;
    if (!writeFile(data.data() + written, rest, count) || count > rest) {
      return createCommResultWithError(errors::DEVICE_SEND_ERROR, "Write error");
    }
    written += count;
    // Completion is looked at before the deadline: a frame that went out
    // whole must not be reported as timed out, or the Link sends it again
    // and the terminal sees it twice.
    if (written == data.size()) {
      return CommResult(CommResult::DEVICE_OK);
    }
    if (timePassed()) {
      return createCommResultWithError(errors::DEVICE_SEND_ERROR, "Write timeout");
    }
  }
}

}  // namespace zq::app::comm

#include "link/windows/SerialClient.h"

#include "core/zumbra_log.h"

namespace zq::app::comm {

// The portable logic carries the Win32 values of these fields.
static_assert(CommLineSettings::kNoParity == NOPARITY && CommLineSettings::kOddParity == ODDPARITY &&
                  CommLineSettings::kEvenParity == EVENPARITY && CommLineSettings::kOneStopBit == ONESTOPBIT,
              "control block values");
static_assert(sizeof(DWORD) == sizeof(uint32_t), "Win32 counts are 32 bits");

SerialClient::SerialClient(const std::string& portName_, comm_SerialDataMode dataMode_,
                           comm_SerialBaudrate baudrate_, uint32_t timeoutMs)
    : Win32SerialClient(portName_, dataMode_, baudrate_, timeoutMs),
      handle(INVALID_HANDLE_VALUE),
      portState() {}

SerialClient::~SerialClient() { close(); }

bool SerialClient::isOpen() const { return handle != INVALID_HANDLE_VALUE; }

void SerialClient::closeInternal() {
  ::CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
  logCommInfo("Closing %s", portName.c_str());
}

void SerialClient::createFile(const std::string& deviceName) {
  handle =
      ::CreateFileA(deviceName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool SerialClient::getCommState(CommLineSettings& line) {
  DCB block = {};
  block.DCBlength = sizeof block;
  if (!::GetCommState(handle, &block)) return false;
  portState = block;
  line.baudRate = block.BaudRate;
  line.byteSize = block.ByteSize;
  line.parity = block.Parity;
  line.stopBits = block.StopBits;
  line.outX = block.fOutX != 0;
  line.inX = block.fInX != 0;
  return true;
}

bool SerialClient::setCommState(const CommLineSettings& line) {
  DCB block = portState;
  block.BaudRate = line.baudRate;
  block.ByteSize = line.byteSize;
  block.Parity = line.parity;
  block.StopBits = line.stopBits;
  block.fOutX = line.outX ? 1 : 0;
  block.fInX = line.inX ? 1 : 0;
  return ::SetCommState(handle, &block) != 0;
}

bool SerialClient::getCommTimeouts(CommTimeoutSettings& timeouts) {
  COMMTIMEOUTS fields = {};
  if (!::GetCommTimeouts(handle, &fields)) return false;
  timeouts.readIntervalTimeout = fields.ReadIntervalTimeout;
  timeouts.readTotalTimeoutMultiplier = fields.ReadTotalTimeoutMultiplier;
  timeouts.readTotalTimeoutConstant = fields.ReadTotalTimeoutConstant;
  timeouts.writeTotalTimeoutMultiplier = fields.WriteTotalTimeoutMultiplier;
  timeouts.writeTotalTimeoutConstant = fields.WriteTotalTimeoutConstant;
  return true;
}

bool SerialClient::setCommTimeouts(const CommTimeoutSettings& timeouts) {
  COMMTIMEOUTS fields = {};
  fields.ReadIntervalTimeout = timeouts.readIntervalTimeout;
  fields.ReadTotalTimeoutMultiplier = timeouts.readTotalTimeoutMultiplier;
  fields.ReadTotalTimeoutConstant = timeouts.readTotalTimeoutConstant;
  fields.WriteTotalTimeoutMultiplier = timeouts.writeTotalTimeoutMultiplier;
  fields.WriteTotalTimeoutConstant = timeouts.writeTotalTimeoutConstant;
  return ::SetCommTimeouts(handle, &fields) != 0;
}

bool SerialClient::readFile(uint8_t* buffer, uint32_t length, uint32_t& count) {
  DWORD read = 0;
  const bool done = ::ReadFile(handle, buffer, length, &read, nullptr) != 0;
  count = read;
  return done;
}

bool SerialClient::writeFile(const uint8_t* data, uint32_t length, uint32_t& count) {
  DWORD written = 0;
  const bool done = ::WriteFile(handle, data, length, &written, nullptr) != 0;
  count = written;
  return done;
}

uint32_t SerialClient::getTickCount() const { return ::GetTickCount(); }

}  // namespace zq::app::comm

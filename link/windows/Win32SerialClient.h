// The serial client of the Windows build, over the Win32 communications API.
// Every Win32 call it makes is one virtual operation here, made for real by
// SerialClient; the device name, the control-block and time-out fields, and
// the read and write loops with their tick-count deadlines live in this class
// and need no Windows, so they also run on Linux against a scripted port.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/SerialClientInterface.h"
#include "zumbra_comm.h"

namespace zq::app::comm {

// The fields of the port's device control block (DCB) that the client sets,
// with their Win32 values. The rest of the block stays as the port had it.
struct CommLineSettings {
  static constexpr uint8_t kNoParity = 0;
  static constexpr uint8_t kOddParity = 1;
  static constexpr uint8_t kEvenParity = 2;
  static constexpr uint8_t kOneStopBit = 0;

  uint32_t baudRate = 0;
  uint8_t byteSize = 0;
  uint8_t parity = kNoParity;
  uint8_t stopBits = kOneStopBit;
  bool outX = false;  // XON/XOFF flow control of what the port sends
  bool inX = false;   // XON/XOFF flow control of what the port receives
};

// The port's COMMTIMEOUTS, field for field, in milliseconds.
struct CommTimeoutSettings {
  uint32_t readIntervalTimeout = 0;
  uint32_t readTotalTimeoutMultiplier = 0;
  uint32_t readTotalTimeoutConstant = 0;
  uint32_t writeTotalTimeoutMultiplier = 0;
  uint32_t writeTotalTimeoutConstant = 0;
};

class Win32SerialClient : public SerialClientInterface {
 public:
  Win32SerialClient(const std::string& portName, comm_SerialDataMode dataMode, comm_SerialBaudrate baudrate,
                    uint32_t timeoutMs);

  // One read asks for at most this many bytes, and never more than the
  // caller has room for.
  static constexpr size_t kMaxReadSize = 64;
  // Device names fit a buffer of this size with its NUL; longer ones are cut.
  static constexpr size_t kDeviceNameBufferSize = 31;
  // Once a byte has come, a read ends after this long without the next one.
  static constexpr uint32_t kReadIntervalTimeoutMs = 100;

  // COM3 is opened as \\.\COM3, which also reaches ports numbered above 9.
  static std::string deviceName(const std::string& portName);
  // Character format and speed on the control block; a data mode or speed
  // index the client does not know keeps what the port had.
  static void configureLine(CommLineSettings& line, comm_SerialDataMode dataMode,
                            comm_SerialBaudrate baudrate);
  // Whether more than timeoutMs ticks have passed since startTick, also when
  // the 32-bit tick count wrapped in between (every 49.7 days).
  static bool tickPassed(uint32_t now, uint32_t startTick, uint32_t timeoutMs);

  // Whether the receive or send in progress has run past its deadline; never
  // with a time-out of 0, which waits without limit.
  bool timePassed() const;

 protected:
  void tryToOpenComPort() override;
  bool setCommConfig() override;
  void prepareComHandleForReceive() override;
  CommResult tryToReceiveData(std::vector<uint8_t>& data) override;
  CommResult sendInternal(const std::vector<uint8_t>& data) override;

  void prepareComHandleForSend();
  CommResult tryToSendData(const std::vector<uint8_t>& data);

  // The Win32 calls, on the client's port. createFile opens the device for
  // synchronous reading and writing, unshared; the client is open after it
  // exactly when the call succeeded.
  virtual void createFile(const std::string& deviceName) = 0;
  virtual bool getCommState(CommLineSettings& line) = 0;
  // Writes the given fields over the block that getCommState read last.
  virtual bool setCommState(const CommLineSettings& line) = 0;
  virtual bool getCommTimeouts(CommTimeoutSettings& timeouts) = 0;
  virtual bool setCommTimeouts(const CommTimeoutSettings& timeouts) = 0;
  virtual bool readFile(uint8_t* buffer, uint32_t length, uint32_t& count) = 0;
  virtual bool writeFile(const uint8_t* data, uint32_t length, uint32_t& count) = 0;
  virtual uint32_t getTickCount() const = 0;

  // Tick count at the start of the receive or send in progress: its deadline
  // is currentTimeout after it.
  uint32_t startTick;

 private:
  // Milliseconds left until the deadline; 1 when none are.
  uint32_t timeLeft() const;
};

}  // namespace zq::app::comm

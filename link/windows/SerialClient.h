// Serial client of the Windows build: the Win32 calls under
// Win32SerialClient, on one port opened as a file for synchronous I/O.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "link/windows/Win32SerialClient.h"
#include "zumbra_comm.h"

namespace zq::app::comm {

class SerialClient : public Win32SerialClient {
 public:
  SerialClient(const std::string& portName, comm_SerialDataMode dataMode, comm_SerialBaudrate baudrate,
               uint32_t timeoutMs);
  ~SerialClient() override;

  bool isOpen() const override;

 protected:
  void closeInternal() override;
  void createFile(const std::string& deviceName) override;
  bool getCommState(CommLineSettings& line) override;
  bool setCommState(const CommLineSettings& line) override;
  bool getCommTimeouts(CommTimeoutSettings& timeouts) override;
  bool setCommTimeouts(const CommTimeoutSettings& timeouts) override;
  bool readFile(uint8_t* buffer, uint32_t length, uint32_t& count) override;
  bool writeFile(const uint8_t* data, uint32_t length, uint32_t& count) override;
  uint32_t getTickCount() const override;

  // INVALID_HANDLE_VALUE while closed.
  HANDLE handle;
  // The control block as the port last reported it.
  DCB portState;
};

}  // namespace zq::app::comm

// Serial client of the Linux build: a non-blocking descriptor in raw mode,
// a bounded wait for input and at most 64 bytes per receive.
#pragma once

#include <termios.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/SerialClientInterface.h"
#include "zumbra_comm.h"

namespace zq::app::comm {

class SerialClient : public SerialClientInterface {
 public:
  SerialClient(const std::string& portName, comm_SerialDataMode dataMode, comm_SerialBaudrate baudrate,
               uint32_t timeoutMs);
  ~SerialClient() override;

  bool isOpen() const override;

  // Puts a termios record into the line settings of the terminal link: raw,
  // no flow control, one stop bit, the given character format and speed.
  // Separate from the port so the mapping can be checked on its own.
  static void configureTermios(termios& settings, comm_SerialDataMode dataMode,
                               comm_SerialBaudrate baudrate);

  static constexpr size_t kMaxReadSize = 64;

 protected:
  void closeInternal() override;
  CommResult sendInternal(const std::vector<uint8_t>& data) override;
  void tryToOpenComPort() override;
  bool setCommConfig() override;
  void prepareComHandleForReceive() override;
  CommResult tryToReceiveData(std::vector<uint8_t>& data) override;

  // -1 while closed.
  int fd;
  // Outcome of the last wait for input: above 0 readable, 0 time-out, below 0 failure.
  int lastSelect;
};

}  // namespace zq::app::comm

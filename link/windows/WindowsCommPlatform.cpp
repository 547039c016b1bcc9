// The Windows build's transport clients.
#include "link/CommPlatform.h"

#include "link/windows/SerialClient.h"
#include "link/windows/TcpClient.h"

namespace zq::app::comm {

std::unique_ptr<TcpClientInterface> makeTcpClient(const std::string& host, uint16_t port,
                                                  uint32_t defaultTimeoutMs) {
  return std::make_unique<TcpClient>(host, port, defaultTimeoutMs);
}

std::unique_ptr<SerialClientInterface> makeSerialClient(const std::string& portName, comm_SerialDataMode dataMode,
                                                        comm_SerialBaudrate baudrate, uint32_t timeoutMs) {
  return std::make_unique<SerialClient>(portName, dataMode, baudrate, timeoutMs);
}

}  // namespace zq::app::comm

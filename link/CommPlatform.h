// The transport clients of the build's platform: the POSIX clients of
// link/posix/ on Linux, the Win32 and WinSock clients of link/windows/ on
// Windows. Everything above the clients makes them here, so nothing outside
// link/ includes a platform header or changes between the two builds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/SerialClientInterface.h"
#include "link/TcpClientInterface.h"
#include "zumbra_comm.h"

namespace zq::app::comm {

// Not yet connected; host is a dotted IPv4 address.
std::unique_ptr<TcpClientInterface> makeTcpClient(const std::string& host, uint16_t port,
                                                  uint32_t defaultTimeoutMs);
// Not yet opened; portName is a device path (/dev/ttyS0) or a port name (COM3).
std::unique_ptr<SerialClientInterface> makeSerialClient(const std::string& portName, comm_SerialDataMode dataMode,
                                                        comm_SerialBaudrate baudrate, uint32_t timeoutMs);

}  // namespace zq::app::comm

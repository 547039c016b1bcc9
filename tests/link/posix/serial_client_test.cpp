// The Linux serial client on a real pseudo-terminal, and its line settings as
// a termios record (a pseudo-terminal refuses 7-bit and parity settings, so
// the mapping is checked on the record itself).
#include <gtest/gtest.h>

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>

#include "link/posix/SerialClient.h"
#include "tests/link/LinkLogRecorder.h"
#include "tests/link/ScriptedComm.h"

namespace zq::test {
namespace {

using app::comm::CommResult;
using app::comm::SerialClient;
namespace errors = app::comm::errors;

const CommResult kReadTimeout(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "COM read timeout");

// The terminal's end of the line is the pseudo-terminal's master side.
struct Pty : ::testing::Test {
  Pty() {
    char name[128] = {};
    EXPECT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    path = name;
  }
  ~Pty() override {
    ::close(master);
    ::close(slave);
  }
  void terminalSends(const Bytes& bytes) const {
    ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  Bytes terminalReads(size_t count) const {
    Bytes bytes(count);
    size_t got = 0;
    while (got < count) {
      const ssize_t n = ::read(master, bytes.data() + got, count - got);
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return bytes;
  }
  int master = -1;
  int slave = -1;
  std::string path;
};

TEST_F(Pty, EachReceiveTakesAtMost64Bytes) {
  SerialClient client(path, COMM_8N1, COMM_BAUD_115200, 200);
  ASSERT_EQ(client.open(), CommResult());
  Bytes hundred(100);
  for (size_t i = 0; i < hundred.size(); ++i) hundred[i] = static_cast<uint8_t>(i);
  terminalSends(hundred);

  Bytes first, second;
  ASSERT_EQ(client.recv(first), CommResult());
  ASSERT_EQ(client.recv(second, 200), CommResult());
  EXPECT_EQ(first, Bytes(hundred.begin(), hundred.begin() + 64));
  EXPECT_EQ(second, Bytes(hundred.begin() + 64, hundred.end()));
}

TEST_F(Pty, AQuietLineIsAReadTimeoutError) {
  SerialClient client(path, COMM_8N1, COMM_BAUD_9600, 50);
  ASSERT_EQ(client.open(), CommResult());
  Bytes data;
  EXPECT_EQ(client.recv(data), kReadTimeout);
  EXPECT_EQ(client.recv(data, 20), kReadTimeout);
}

TEST_F(Pty, SentBytesReachTheLine) {
  SerialClient client(path, COMM_8N1, COMM_BAUD_9600, 200);
  ASSERT_EQ(client.open(), CommResult());
  Bytes frame(300);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 7);
  EXPECT_EQ(client.send(frame), CommResult());
  EXPECT_EQ(terminalReads(frame.size()), frame);
}

TEST_F(Pty, OpenWithTimeoutZeroWaitsTenMillisecondsAndCloseIsLogged) {
  LinkLogRecorder log;
  SerialClient client(path, COMM_8N1, COMM_BAUD_9600, 0);
  ASSERT_EQ(client.open(), CommResult());
  EXPECT_EQ(client.getDefaultTimeout(), 10u);
  EXPECT_TRUE(log.contains("Connection established " + path));
  Bytes data;
  EXPECT_EQ(client.recv(data), kReadTimeout);
  client.close();
  EXPECT_FALSE(client.isOpen());
  EXPECT_TRUE(log.contains("Closing " + path));
}

// A device that is missing, or that opens but takes no line settings, is
// no terminal line.
TEST(SerialClient, AMissingOrUnconfigurableDeviceIsAnOpenError) {
  for (const char* device : {"/dev/zq-no-such-port", "/dev/null"}) {
    SCOPED_TRACE(device);
    SerialClient client(device, COMM_8N1, COMM_BAUD_9600, 100);
    EXPECT_EQ(client.open(), CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "COM open error"));
    EXPECT_FALSE(client.isOpen());
  }
}

TEST(SerialClient, CharacterFormatsMapOntoTheControlFlags) {
  struct Case {
    comm_SerialDataMode mode;
    tcflag_t size;
    bool parity;
    bool odd;
  };
  const Case cases[] = {
      {COMM_8N1, CS8, false, false},
      {COMM_7E1, CS7, true, false},
      {COMM_7O1, CS7, true, true},
      {COMM_7N1, CS7, false, false},
      {static_cast<comm_SerialDataMode>(9), CS8, false, false},  // unknown: never 5-bit characters
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    termios t;
    std::memset(&t, 0xFF, sizeof t);  // every flag set: the mapping must clear what it does not want
    SerialClient::configureTermios(t, c.mode, COMM_BAUD_38400);
    EXPECT_EQ(t.c_cflag & CSIZE, c.size);
    EXPECT_EQ((t.c_cflag & PARENB) != 0, c.parity);
    EXPECT_EQ((t.c_cflag & PARODD) != 0, c.odd);
    EXPECT_EQ(t.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY), 0u);
    EXPECT_EQ(t.c_oflag, 0u);
    EXPECT_EQ(t.c_lflag, 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 5);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B38400));
  }
}

TEST(SerialClient, BaudIndexesMapOntoLinuxSpeeds) {
  struct Case {
    comm_SerialBaudrate baud;
    speed_t speed;
  };
  const Case cases[] = {
      {COMM_BAUD_9600, B9600},     {COMM_BAUD_19200, B19200}, {COMM_BAUD_38400, B38400},
      {COMM_BAUD_56000, B57600},   {COMM_BAUD_57600, B57600}, {COMM_BAUD_115200, B115200},
      {static_cast<comm_SerialBaudrate>(6), B4800},  // unknown: the port's speed stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.baud));
    termios t{};
    cfsetspeed(&t, B4800);
    SerialClient::configureTermios(t, COMM_8N1, c.baud);
    EXPECT_EQ(cfgetispeed(&t), c.speed);
    EXPECT_EQ(cfgetospeed(&t), c.speed);
  }
  LinkLogRecorder log;
  termios t{};
  SerialClient::configureTermios(t, COMM_8N1, COMM_BAUD_56000);
  EXPECT_TRUE(log.contains("Baud 56000 not supported"));
}

}  // namespace
}  // namespace zq::test

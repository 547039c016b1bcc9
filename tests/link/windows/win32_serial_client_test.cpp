// The Windows serial client's logic against a scripted port: the Win32 calls
// are answered from a script and a fake tick count that every read or write
// moves on by as long as the real call would take.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "link/windows/Win32SerialClient.h"

namespace zq::test {
namespace {

using app::comm::CommLineSettings;
using app::comm::CommResult;
using app::comm::CommTimeoutSettings;
using app::comm::Win32SerialClient;
namespace errors = app::comm::errors;
using Bytes = std::vector<uint8_t>;

const CommResult kOk;
const CommResult kReadTimeout(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "COM read timeout");
const CommResult kWriteError(CommResult::DEVICE_ERROR, errors::DEVICE_SEND_ERROR, "Write error");
const CommResult kWriteTimeout(CommResult::DEVICE_ERROR, errors::DEVICE_SEND_ERROR, "Write timeout");

// One answer of ReadFile or WriteFile. A read without bytes and without a
// duration lasts as long as the port's total read time-out.
struct Call {
  bool ok = true;
  Bytes bytes;           // bytes read
  uint32_t count = 0;    // bytes reported written
  int64_t lastsMs = -1;  // -1: the port's time-out
};

Call bytesRead(Bytes bytes, int64_t lastsMs = 5) { return Call{true, std::move(bytes), 0, lastsMs}; }
Call silence() { return Call{}; }
Call written(uint32_t count, int64_t lastsMs = 5) { return Call{true, {}, count, lastsMs}; }
Call failed() { return Call{false, {}, 0, 1}; }

class ScriptedPort : public Win32SerialClient {
 public:
  explicit ScriptedPort(uint32_t timeoutMs, comm_SerialDataMode mode = COMM_8N1,
                        comm_SerialBaudrate baud = COMM_BAUD_9600)
      : Win32SerialClient("COM3", mode, baud, timeoutMs) {}
  ~ScriptedPort() override { close(); }

  bool isOpen() const override { return open_; }

  // What the port holds and what the client asked of it.
  bool opens = true;
  std::string openedDevice;
  bool stateReadable = true;
  bool stateWritable = true;
  CommLineSettings portLine{4800, 6, 4, 2, true, true};  // a port left in odd settings
  std::vector<CommLineSettings> linesSet;
  CommTimeoutSettings portTimeouts{7, 8, 9, 10, 11};
  std::vector<CommTimeoutSettings> timeoutsSet;
  std::deque<Call> script;
  std::vector<uint32_t> readLengths;
  uint32_t now = 1000;
  int calls = 0;
  Bytes line;  // what reached the line

 protected:
  void closeInternal() override { open_ = false; }
  void createFile(const std::string& deviceName) override {
    openedDevice = deviceName;
    open_ = opens;
  }
  bool getCommState(CommLineSettings& settings) override {
    if (stateReadable) settings = portLine;
    return stateReadable;
  }
  bool setCommState(const CommLineSettings& settings) override {
    linesSet.push_back(settings);
    portLine = settings;
    return stateWritable;
  }
  bool getCommTimeouts(CommTimeoutSettings& timeouts) override {
    timeouts = portTimeouts;
    return true;
  }
  bool setCommTimeouts(const CommTimeoutSettings& timeouts) override {
    timeoutsSet.push_back(timeouts);
    portTimeouts = timeouts;
    return true;
  }
  bool readFile(uint8_t* buffer, uint32_t length, uint32_t& count) override {
    readLengths.push_back(length);
    const Call call = next();
    const uint32_t wholeWait =
        portTimeouts.readTotalTimeoutMultiplier * length + portTimeouts.readTotalTimeoutConstant;
    now += static_cast<uint32_t>(call.lastsMs < 0 ? wholeWait : call.lastsMs);
    count = static_cast<uint32_t>(call.bytes.size());
    std::copy(call.bytes.begin(), call.bytes.begin() + std::min<size_t>(call.bytes.size(), length), buffer);
    return call.ok;
  }
  bool writeFile(const uint8_t* data, uint32_t length, uint32_t& count) override {
    const Call call = next();
    now += static_cast<uint32_t>(call.lastsMs < 0 ? portTimeouts.writeTotalTimeoutConstant : call.lastsMs);
    count = call.count;
    line.insert(line.end(), data, data + std::min(call.count, length));
    return call.ok;
  }
  uint32_t getTickCount() const override { return now; }

 private:
  Call next() {
    ++calls;
    if (script.empty()) {
      ADD_FAILURE() << "port called past the end of its script";
      return failed();
    }
    Call call = script.front();
    script.pop_front();
    return call;
  }
  bool open_ = false;
};

TEST(Win32SerialClient, DeviceNameHasTheWin32PrefixAndIsCutTo30Characters) {
  EXPECT_EQ(Win32SerialClient::deviceName("COM3"), "\\\\.\\COM3");
  EXPECT_EQ(Win32SerialClient::deviceName("COM12"), "\\\\.\\COM12");
  const std::string forty(40, 'P');
  EXPECT_EQ(Win32SerialClient::deviceName(forty), "\\\\.\\" + std::string(26, 'P'));
}

TEST(Win32SerialClient, OpenAppliesTheLineSettingsOverThePortsOwn) {
  struct Case {
    comm_SerialDataMode mode;
    comm_SerialBaudrate baud;
    uint8_t byteSize;
    uint8_t parity;
    uint32_t baudRate;
  } cases[] = {
      {COMM_8N1, COMM_BAUD_9600, 8, CommLineSettings::kNoParity, 9600},
      {COMM_7E1, COMM_BAUD_56000, 7, CommLineSettings::kEvenParity, 56000},
      {COMM_7O1, COMM_BAUD_38400, 7, CommLineSettings::kOddParity, 38400},
      {COMM_7N1, COMM_BAUD_19200, 7, CommLineSettings::kNoParity, 19200},
      {COMM_8N1, COMM_BAUD_57600, 8, CommLineSettings::kNoParity, 57600},
      {COMM_8N1, COMM_BAUD_115200, 8, CommLineSettings::kNoParity, 115200},
      // Values the client does not know keep what the port had.
      {static_cast<comm_SerialDataMode>(4), static_cast<comm_SerialBaudrate>(6), 6, 4, 4800},
      {static_cast<comm_SerialDataMode>(-1), static_cast<comm_SerialBaudrate>(-1), 6, 4, 4800},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", baud index " << c.baud);
    ScriptedPort port(100, c.mode, c.baud);
    ASSERT_EQ(port.open(), kOk);
    EXPECT_EQ(port.openedDevice, "\\\\.\\COM3");
    ASSERT_EQ(port.linesSet.size(), 1u);
    const CommLineSettings& set = port.linesSet[0];
    EXPECT_EQ(set.byteSize, c.byteSize);
    EXPECT_EQ(set.parity, c.parity);
    EXPECT_EQ(set.baudRate, c.baudRate);
    EXPECT_EQ(set.stopBits, CommLineSettings::kOneStopBit);
    EXPECT_FALSE(set.outX);
    EXPECT_FALSE(set.inX);
  }
}

TEST(Win32SerialClient, APortThatCannotBeOpenedOrSetUpStaysClosed) {
  const CommResult openError(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "COM open error");
  ScriptedPort missing(100);
  missing.opens = false;
  EXPECT_EQ(missing.open(), openError);
  EXPECT_FALSE(missing.isOpen());

  // A device without line settings is no terminal line.
  ScriptedPort unreadable(100);
  unreadable.stateReadable = false;
  EXPECT_EQ(unreadable.open(), openError);
  EXPECT_FALSE(unreadable.isOpen());
  EXPECT_TRUE(unreadable.linesSet.empty());

  ScriptedPort refusing(100);
  refusing.stateWritable = false;
  EXPECT_EQ(refusing.open(), openError);
  EXPECT_FALSE(refusing.isOpen());
}

TEST(Win32SerialClient, TickArithmeticSurvivesTheWrapOfTheCount) {
  struct Case {
    uint32_t now, start, timeout;
    bool passed;
  } cases[] = {
      {1100, 1000, 100, false},
      {1101, 1000, 100, true},
      {0x00000010u, 0xFFFFFFF0u, 100, false},  // 32 ticks across the wrap
      {0x00000100u, 0xFFFFFFF0u, 100, true},   // 272 ticks across the wrap
      {0xFFFFFFFFu, 0xFFFFFF00u, 2000, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Win32SerialClient::tickPassed(c.now, c.start, c.timeout), c.passed)
        << c.now << " - " << c.start << " against " << c.timeout;
  }
}

TEST(Win32SerialClient, AReceiveSetsTheReadTimeoutsAndKeepsTheWriteOnes) {
  struct Case {
    uint32_t timeoutMs;
    uint32_t constant;
  } cases[] = {{2000, 2000}, {1, 1}, {0, 1}};
  for (const Case& c : cases) {
    ScriptedPort port(500);
    ASSERT_EQ(port.open(), kOk);
    port.script = {bytesRead({0x06})};
    Bytes data;
    ASSERT_EQ(port.recv(data, c.timeoutMs), kOk);
    ASSERT_EQ(port.timeoutsSet.size(), 1u);
    const CommTimeoutSettings& set = port.timeoutsSet[0];
    EXPECT_EQ(set.readIntervalTimeout, 100u);
    EXPECT_EQ(set.readTotalTimeoutMultiplier, 1u);
    EXPECT_EQ(set.readTotalTimeoutConstant, c.constant) << "time-out " << c.timeoutMs;
    EXPECT_EQ(set.writeTotalTimeoutMultiplier, 10u);
    EXPECT_EQ(set.writeTotalTimeoutConstant, 11u);
  }
}

TEST(Win32SerialClient, AReceiveReturnsTheFirstBytesOrTimesOutAtItsDeadline) {
  const Bytes ack{0x06};
  const Bytes frame{0x02, '0', '1', 0x03, 0x32};
  struct Case {
    const char* what;
    uint32_t startTick;
    uint32_t timeoutMs;
    std::deque<Call> script;
    CommResult result;
    Bytes data;
    int reads;
    uint32_t lastedMs;
  } cases[] = {
      {"bytes at once", 1000, 2000, {bytesRead(frame)}, kOk, frame, 1, 5},
      {"silent line", 1000, 2000, {silence()}, kReadTimeout, {}, 1, 2064},
      {"an early empty read is read again", 1000, 2000, {bytesRead({}, 10), bytesRead(ack)}, kOk, ack, 2, 15},
      // The deadline lies past the wrap of the tick count, the reads before it.
      {"read again before the wrap", 0xFFFFFF00u, 2000, {bytesRead({}, 10), bytesRead(ack)}, kOk, ack, 2, 15},
      {"silent across the wrap", 0xFFFFFF00u, 2000, {silence()}, kReadTimeout, {}, 1, 2064},
      {"a failed read", 1000, 2000, {failed()}, kReadTimeout, {}, 1, 1},
      {"no time-out waits on", 1000, 0, {silence(), silence(), silence(), bytesRead(ack)}, kOk, ack, 4, 200},
      {"never more than was asked for", 1000, 2000, {bytesRead(Bytes(80, 0x55))}, kOk, Bytes(64, 0x55), 1, 5},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedPort port(500);
    ASSERT_EQ(port.open(), kOk);
    port.now = c.startTick;
    port.script = c.script;
    Bytes data;
    EXPECT_EQ(port.recv(data, c.timeoutMs), c.result);
    EXPECT_EQ(data, c.data);
    EXPECT_EQ(port.calls, c.reads);
    EXPECT_EQ(static_cast<uint32_t>(port.now - c.startTick), c.lastedMs);
  }
}

TEST(Win32SerialClient, AReceiveTakesNoMoreThanTheCallerHasRoomFor) {
  ScriptedPort port(500);
  ASSERT_EQ(port.open(), kOk);
  port.script = {bytesRead(Bytes(10, 0x55))};
  Bytes data;
  EXPECT_EQ(port.recvAtMost(data, 200, 10), kOk);
  EXPECT_EQ(data, Bytes(10, 0x55));
  EXPECT_EQ(port.readLengths, std::vector<uint32_t>{10});

  // No room: no read at all, rather than reads of nothing until the deadline.
  EXPECT_EQ(port.recvAtMost(data, 200, 0), kOk);
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(port.calls, 1);
}

TEST(Win32SerialClient, ASendSetsTheWriteTimeoutToTheTimeLeftAndKeepsTheReadOnes) {
  struct Case {
    uint32_t timeoutMs;
    uint32_t constant;
  } cases[] = {{1500, 1500}, {0, 1}};
  for (const Case& c : cases) {
    ScriptedPort port(c.timeoutMs);
    ASSERT_EQ(port.open(), kOk);
    port.setDefaultTimeout(c.timeoutMs);
    port.script = {written(3)};
    ASSERT_EQ(port.send({1, 2, 3}), kOk);
    ASSERT_EQ(port.timeoutsSet.size(), 1u);
    const CommTimeoutSettings& set = port.timeoutsSet[0];
    EXPECT_EQ(set.writeTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(set.writeTotalTimeoutConstant, c.constant) << "time-out " << c.timeoutMs;
    EXPECT_EQ(set.readIntervalTimeout, 7u);
    EXPECT_EQ(set.readTotalTimeoutMultiplier, 8u);
    EXPECT_EQ(set.readTotalTimeoutConstant, 9u);
  }
}

TEST(Win32SerialClient, ASendWritesEveryByteOnceBeforeItsDeadline) {
  const Bytes frame{0x02, '2', '0', 0x1C, '1', 0x03, 0x2E};
  struct Case {
    const char* what;
    uint32_t startTick;
    std::deque<Call> script;
    CommResult result;
    size_t reachedLine;
  } cases[] = {
      {"in one write", 1000, {written(7)}, kOk, 7},
      {"in pieces", 1000, {written(2), written(0), written(5)}, kOk, 7},
      // The last piece went out after the deadline: the frame is on the line,
      // and a "Write timeout" would make the Link send it a second time.
      {"completed late", 1000, {written(3, 900), written(4, 900)}, kOk, 7},
      {"stuck past the deadline", 1000, {written(3, 900), written(0, 900)}, kWriteTimeout, 3},
      {"in pieces before the wrap", 0xFFFFFE00u, {written(2), written(5)}, kOk, 7},
      {"stuck across the wrap", 0xFFFFFE00u, {written(3, 900), written(0, 900)}, kWriteTimeout, 3},
      {"a failed write", 1000, {written(3), failed()}, kWriteError, 3},
      {"more written than asked", 1000, {written(8)}, kWriteError, 7},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedPort port(1500);
    ASSERT_EQ(port.open(), kOk);
    port.now = c.startTick;
    port.script = c.script;
    EXPECT_EQ(port.send(frame), c.result);
    EXPECT_EQ(port.line, Bytes(frame.begin(), frame.begin() + c.reachedLine));
    EXPECT_TRUE(port.script.empty()) << port.script.size() << " writes never made";
  }
}

TEST(Win32SerialClient, AClosedPortRefusesToSendOrReceive) {
  ScriptedPort port(100);
  Bytes data{9};
  EXPECT_EQ(port.send({1}),
            CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_SEND_ERROR, "COM port closed"));
  EXPECT_EQ(port.recv(data),
            CommResult(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "COM port closed"));
  EXPECT_EQ(data, Bytes{9});
  EXPECT_EQ(port.calls, 0);
}

}  // namespace
}  // namespace zq::test

// The ring buffer of received bytes and the input stream that cuts frames and
// raw data out of it.
#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "link/BufferedInputStream.h"
#include "link/CircularBuffer.h"
#include "link/StxEtxLinkLayer.h"
#include "tests/link/ScriptedComm.h"

namespace zq::test {
namespace {

using app::comm::CommResult;
namespace errors = app::comm::errors;
using app::link::BufferedInputStream;
using app::link::CircularBuffer;
using app::link::CircularBufferIterator;
using app::link::StxEtxLrcFrameLocator;

TEST(CircularBuffer, WriteIsAllOrNothingAndReadKeepsArrivalOrderAcrossTheWrap) {
  CircularBuffer buffer(4);
  EXPECT_TRUE(buffer.write(Bytes{1, 2, 3, 4}));
  EXPECT_FALSE(buffer.write(Bytes{5}));
  EXPECT_EQ(buffer.size(), 4u);

  EXPECT_EQ(buffer.ignore(2), 2u);
  EXPECT_TRUE(buffer.write(Bytes{5, 6}));  // wraps around the storage end
  EXPECT_EQ(buffer.end() - buffer.begin(), 4);

  Bytes out = {9};
  buffer.read(out, 10);
  EXPECT_EQ(out, (Bytes{9, 3, 4, 5, 6}));  // appended after what out held
  EXPECT_TRUE(buffer.empty());
}

TEST(CircularBuffer, IgnoreBeyondTheBufferedCountEmptiesIt) {
  CircularBuffer buffer(8);
  buffer.write(Bytes{1, 2, 3});
  EXPECT_EQ(buffer.ignore(10), 3u);
  EXPECT_TRUE(buffer.empty());
  EXPECT_TRUE(buffer.write(Bytes(8, 7)));
}

TEST(CircularBuffer, IteratorsWalkTheRingAndMeasureFromTheHead) {
  CircularBuffer buffer(4);  // 5 storage bytes
  buffer.write(Bytes{1, 2, 3, 4});
  buffer.ignore(3);
  buffer.write(Bytes{5, 6, 7});  // holds 4 5 6 7, wrapped

  std::vector<uint8_t> walked;
  for (CircularBufferIterator it = buffer.begin(); it != buffer.end(); ++it) walked.push_back(*it);
  EXPECT_EQ(walked, (Bytes{4, 5, 6, 7}));

  const CircularBufferIterator third = buffer.begin() + 2;
  EXPECT_EQ(*third, 6);
  EXPECT_EQ(third - buffer.begin(), 2);
  EXPECT_EQ(*(third - 2), 4);
  EXPECT_EQ(*buffer.back(), 7);
  CircularBufferIterator back = buffer.end();
  --back;
  EXPECT_EQ(back, buffer.back());

  EXPECT_TRUE(buffer.begin().checkValidity());
  EXPECT_TRUE(buffer.end().checkValidity());
  const CircularBufferIterator consumed = buffer.begin();
  buffer.ignore(1);
  EXPECT_FALSE(consumed.checkValidity());  // now in the free part of the ring
  EXPECT_TRUE(buffer.begin().checkValidity());
  EXPECT_FALSE(CircularBufferIterator::npos.checkValidity());
}

// Random writes, reads and skips against a plain queue: any slip at the wrap
// shows up as a difference in content or size.
TEST(CircularBuffer, BehavesLikeAQueueOfBoundedSize) {
  std::mt19937 random(20240611);
  CircularBuffer buffer(7);
  std::deque<uint8_t> model;
  uint8_t next = 0;
  for (int step = 0; step < 5000; ++step) {
    const int op = static_cast<int>(random() % 3);
    const size_t n = random() % 9;
    if (op == 0) {
      Bytes chunk;
      for (size_t i = 0; i < n; ++i) chunk.push_back(next++);
      const bool fits = model.size() + n <= 7;
      ASSERT_EQ(buffer.write(chunk), fits);
      if (fits) model.insert(model.end(), chunk.begin(), chunk.end());
    } else if (op == 1) {
      Bytes out;
      buffer.read(out, n);
      const size_t taken = std::min(n, model.size());
      ASSERT_EQ(out, Bytes(model.begin(), model.begin() + static_cast<long>(taken)));
      model.erase(model.begin(), model.begin() + static_cast<long>(taken));
    } else {
      ASSERT_EQ(buffer.ignore(n), std::min(n, model.size()));
      model.erase(model.begin(), model.begin() + static_cast<long>(std::min(n, model.size())));
    }
    ASSERT_EQ(buffer.size(), model.size());
    ASSERT_EQ(static_cast<size_t>(buffer.end() - buffer.begin()), model.size());
  }
}

struct StreamFixture : ::testing::Test {
  StreamFixture() : input(16) {
    comm.opened = true;
    input.setup(comm);
  }
  const StxEtxLrcFrameLocator& frames = StxEtxLrcFrameLocator::getInstance();
  ScriptedComm comm;
  BufferedInputStream input;
};

TEST_F(StreamFixture, ABufferedFrameIsReturnedWithoutAskingTheTransport) {
  comm.deliver({0x02, 0x41, 0x03, 0x42, 0x02, 0x42, 0x03, 0x41});
  ASSERT_TRUE(input.recvFrame(frames, 0).isOk());
  EXPECT_EQ(input.getReceivedData(), (Bytes{0x02, 0x41, 0x03, 0x42}));
  comm.events.clear();
  ASSERT_TRUE(input.recvFrame(frames, 0).isOk());
  EXPECT_EQ(input.getReceivedData(), (Bytes{0x02, 0x42, 0x03, 0x41}));
  EXPECT_TRUE(comm.events.empty());
}

TEST_F(StreamFixture, AnIncompleteFrameWaitsForItsRest) {
  comm.deliver({0x02, 0x41, 0x03});  // LRC still on the way
  comm.deliver({0x42});
  ASSERT_TRUE(input.recvFrame(frames, 300).isOk());
  EXPECT_EQ(input.getReceivedData(), (Bytes{0x02, 0x41, 0x03, 0x42}));
  EXPECT_EQ(comm.events, (std::vector<std::string>{"recv 300", "recv 300"}));
}

TEST_F(StreamFixture, SilenceEndsTheReadAfterOneEmptyReceive) {
  EXPECT_EQ(input.recvFrame(frames, 0).getStatus(), CommResult::DEVICE_TIMEOUT);
  EXPECT_EQ(comm.events, (std::vector<std::string>{"recv default"}));
}

TEST_F(StreamFixture, ATransportThatAnswersOkWithNoBytesCannotHoldTheReadForever) {
  for (int i = 0; i < 3; ++i) comm.deliver({});
  EXPECT_EQ(input.recvFrame(frames, 10).getStatus(), CommResult::DEVICE_TIMEOUT);
  EXPECT_EQ(comm.events.size(), 1u);
}

TEST_F(StreamFixture, TransportFailuresPassThroughUnchanged) {
  const CommResult fail(CommResult::DEVICE_ERROR, errors::DEVICE_CONN_ERROR, "COM read timeout");
  comm.failReceive(fail);
  EXPECT_EQ(input.recvFrame(frames, 0), fail);
}

TEST_F(StreamFixture, RawReadTakesAllBufferedBytesAndMoreWhenNeeded) {
  comm.deliver({0x02, 0x41, 0x03, 0x42, 1, 2, 3, 4});
  ASSERT_TRUE(input.recvFrame(frames, 0).isOk());  // leaves 1 2 3 4 buffered
  comm.deliver({5, 6, 7, 8, 9, 10, 11, 12});
  ASSERT_TRUE(input.recvRawData(10, 0).isOk());
  EXPECT_EQ(input.getReceivedData(), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));

  comm.events.clear();
  ASSERT_TRUE(input.recvRawData(0, 0).isOk());
  EXPECT_TRUE(input.getReceivedData().empty());
  EXPECT_TRUE(comm.events.empty());
}

TEST_F(StreamFixture, BytesThatDoNotFitAreReportedAsOverflowNotDropped) {
  const CommResult overflow(CommResult::DEVICE_ERROR, errors::DEVICE_BUFFER_OVERFLOW, "Receive buffer overflow");
  // 20 bytes into room for 16: the first 16 are kept, and the loss is an error.
  Bytes noise(20, 0x55);
  comm.deliver(noise);
  EXPECT_EQ(input.recvRawData(30, 0), overflow);
  // What fitted is the true start of the stream and stays readable.
  ASSERT_TRUE(input.recvRawData(16, 0).isOk());
  EXPECT_EQ(input.getReceivedData(), Bytes(16, 0x55));
}

TEST_F(StreamFixture, AFullBufferWithoutAFrameIsAnOverflow) {
  const CommResult overflow(CommResult::DEVICE_ERROR, errors::DEVICE_BUFFER_OVERFLOW, "Receive buffer overflow");
  Bytes open(16, 0x41);
  open[0] = 0x02;  // a frame start whose end never comes
  comm.deliver(open);
  EXPECT_EQ(input.recvFrame(frames, 0), overflow);
  comm.events.clear();
  EXPECT_EQ(input.recvFrame(frames, 0), overflow);
  EXPECT_TRUE(comm.events.empty());
}

}  // namespace
}  // namespace zq::test

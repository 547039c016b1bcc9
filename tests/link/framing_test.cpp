// Frames on the wire: building, checking and stripping them, the answer to a
// frame, and the locators that find data frames, replies and EOT in the
// received bytes.
#include <gtest/gtest.h>

#include "link/BufferedInputStream.h"
#include "link/FrameLocator.h"
#include "link/StxEtxLinkLayer.h"
#include "tests/link/ScriptedComm.h"

namespace zq::test {
namespace {

using app::link::BufferedInputStream;
using app::link::CircularBuffer;
using app::link::FrameLocator;
using app::link::FrameLocatorWithIgnoring;
using app::link::StxEtxLinkLayer;
using app::link::StxEtxLrcNoAckLinkLayer;

TEST(StxEtxLinkLayer, BuildsStxMessageEtxAndTheLrcOfMessageAndEtx) {
  struct Case {
    Bytes message;
    Bytes frame;
  };
  const Case cases[] = {
      {{}, {0x02, 0x03, 0x03}},
      {{0x30, 0x30}, {0x02, 0x30, 0x30, 0x03, 0x03}},  // the message bytes cancel out
      {{0x31, 0x30}, {0x02, 0x31, 0x30, 0x03, 0x02}},
      {{0x02, 0x03, 0x04}, {0x02, 0x02, 0x03, 0x04, 0x03, 0x06}},  // no escaping
  };
  const StxEtxLrcNoAckLinkLayer layer;
  for (const Case& c : cases) {
    Bytes data = c.message;
    layer.build(data);
    EXPECT_EQ(data, c.frame) << hexOf(c.message);
  }
}

TEST(StxEtxLinkLayer, ExtractStripsTheFrameAndNamesTheAnswer) {
  struct Case {
    const char* name;
    Bytes frame;
    bool ok;
    Bytes message;
    Bytes answerNoAck;
    Bytes answerAck;
  };
  const Case cases[] = {
      {"good", {0x02, 0x41, 0x42, 0x03, 0x00}, true, {0x41, 0x42}, {}, {0x06}},
      {"wrong LRC", {0x02, 0x41, 0x42, 0x03, 0x04}, false, {0x41, 0x42}, {0x15}, {0x15}},
      {"empty message", {0x02, 0x03, 0x03}, true, {}, {}, {0x06}},
  };
  const StxEtxLrcNoAckLinkLayer noAck;
  const StxEtxLinkLayer ack;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes frame = c.frame;
    const auto result = noAck.extract(frame);
    EXPECT_EQ(result.first, c.ok);
    EXPECT_EQ(result.second, c.answerNoAck);
    EXPECT_EQ(frame, c.message);
    frame = c.frame;
    EXPECT_EQ(ack.extract(frame).second, c.answerAck);
  }
}

TEST(StxEtxLinkLayer, AShortFrameNeverPassesAndNeverReadsPastItsEnd) {
  const StxEtxLrcNoAckLinkLayer layer;
  for (const Bytes& shortFrame : {Bytes{}, Bytes{0x02}, Bytes{0x02, 0x03}}) {
    Bytes frame = shortFrame;
    EXPECT_FALSE(layer.checkLrc(frame));
    EXPECT_FALSE(layer.extract(frame).first);
    EXPECT_TRUE(frame.empty());
  }
}

TEST(StxEtxLinkLayer, ReplyAfterASend) {
  struct Case {
    Bytes reply;
    bool noAckAccepts;
    bool ackAccepts;
  };
  const Case cases[] = {
      {{}, true, false},
      {{0x06}, true, true},
      {{0x15}, false, false},
      {{0x15, 0x06}, false, false},
      {{0x41}, true, false},
  };
  const StxEtxLrcNoAckLinkLayer noAck;
  const StxEtxLinkLayer ack;
  for (const Case& c : cases) {
    EXPECT_EQ(noAck.checkReply(c.reply), c.noAckAccepts) << hexOf(c.reply);
    EXPECT_EQ(ack.checkReply(c.reply), c.ackAccepts) << hexOf(c.reply);
  }
  EXPECT_EQ(noAck.getEotMessage(), Bytes{0x04});
}

enum class Which { Data, Reply, Eot, AckReply };

const FrameLocator& locatorOf(Which which) {
  static const StxEtxLrcNoAckLinkLayer noAck;
  static const StxEtxLinkLayer ack;
  switch (which) {
    case Which::Data:
      return noAck.getFrameLocator();
    case Which::Reply:
      return noAck.getControlCharacterLocator();
    case Which::Eot:
      return noAck.getEotLocator();
    case Which::AckReply:
      break;
  }
  return ack.getControlCharacterLocator();
}

// Takes everything in and never completes a frame: loads the stream's buffer.
class Holder : public FrameLocator {
 public:
  app::link::CircularBufferIterator locateFrameStart(app::link::CircularBufferIterator& b,
                                                     app::link::CircularBufferIterator) const override {
    return b;
  }
  app::link::CircularBufferIterator locateFrameTermination(app::link::CircularBufferIterator,
                                                           app::link::CircularBufferIterator e) const override {
    return e;
  }
  bool allowEmptyFrame() const override { return false; }
};

// What a locator cuts from the buffered bytes, and what it leaves behind.
TEST(FrameLocators, CutFramesAndDropOnlyWhatIsNoise) {
  struct Case {
    const char* name;
    Which locator;
    Bytes buffered;
    bool found;
    Bytes frame;
    Bytes left;
  };
  const Case cases[] = {
      {"noise with an ETX before the frame", Which::Data, {0x55, 0x03, 0x02, 0x41, 0x03, 0x42}, true,
       {0x02, 0x41, 0x03, 0x42}, {}},
      {"LRC not yet arrived", Which::Data, {0x02, 0x41, 0x03}, false, {}, {0x02, 0x41, 0x03}},
      {"ETX not yet arrived", Which::Data, {0x55, 0x02, 0x41}, false, {}, {0x55, 0x02, 0x41}},
      {"no STX at all", Which::Data, {0x55, 0x41, 0x03}, false, {}, {}},
      {"bytes after the frame stay", Which::Data, {0x02, 0x03, 0x03, 0x04}, true, {0x02, 0x03, 0x03}, {0x04}},
      {"EOT at the head", Which::Eot, {0x04, 0x02, 0x41}, true, {0x04}, {0x02, 0x41}},
      {"EOT not at the head", Which::Eot, {0x41, 0x04}, false, {}, {}},
      {"reply: only EOT and NAK", Which::Reply, {0x04, 0x15, 0x04}, true, {}, {}},
      {"reply: nothing consumed before data", Which::Reply, {0x04, 0x02, 0x41}, true, {}, {0x04, 0x02, 0x41}},
      {"reply: nothing buffered", Which::Reply, {}, true, {}, {}},
      {"acknowledged reply after EOT", Which::AckReply, {0x04, 0x06, 0x41}, true, {0x06}, {0x41}},
      {"acknowledged: other first byte", Which::AckReply, {0x41, 0x06}, false, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedComm feeder;
    feeder.opened = true;
    BufferedInputStream stream(32);
    stream.setup(feeder);
    feeder.deliver(c.buffered);
    stream.recvFrameWithOneTry(Holder(), 5);
    ASSERT_EQ(stream.bufferedSize(), c.buffered.size());
    const bool found = stream.readFrameFromBuffer(locatorOf(c.locator));
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(stream.getReceivedData(), c.frame);
    EXPECT_EQ(stream.bufferedSize(), c.left.size());
    if (!c.left.empty()) {
      ASSERT_TRUE(stream.recvRawData(1, 5).isOk());
      EXPECT_EQ(stream.getReceivedData(), c.left);
    }
  }
}

class IgnoringProbe : public FrameLocatorWithIgnoring {
 public:
  using FrameLocatorWithIgnoring::FrameLocatorWithIgnoring;
  app::link::CircularBufferIterator locateFrameStart(app::link::CircularBufferIterator& b,
                                                     app::link::CircularBufferIterator) const override {
    return b;
  }
  app::link::CircularBufferIterator locateFrameTermination(app::link::CircularBufferIterator s,
                                                           app::link::CircularBufferIterator) const override {
    return s;
  }
  bool allowEmptyFrame() const override { return false; }
};

TEST(FrameLocators, IgnoredBytesAreTheFirstThreeAndNeverTheZeroByte) {
  const IgnoringProbe probe({0x04, 0x15, 0x06, 0x07});
  CircularBuffer buffer(8);
  buffer.write(Bytes{0x04, 0x15, 0x06, 0x07, 0x00, 0x41});
  std::vector<bool> ignored;
  for (auto it = buffer.begin(); it != buffer.end(); ++it) ignored.push_back(probe.shouldByteBeIgnored(it));
  EXPECT_EQ(ignored, (std::vector<bool>{true, true, true, false, false, false}));
  EXPECT_EQ(*probe.passThroughIgnored(buffer.begin(), buffer.end()), 0x07);
}

}  // namespace
}  // namespace zq::test

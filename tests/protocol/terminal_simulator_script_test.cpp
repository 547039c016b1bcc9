// The script format of the stand-alone terminal simulator: what each
// directive sets, and the lines it refuses.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/TerminalSimulator.h"

namespace zq::test {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(SimulatorScript, DirectivesFillTheirSteps) {
  std::istringstream script(
      "# status read, then general information in chunks\r\n"
      "expect 20\\x1C1\n"
      "reply 20\\x1C0\\x1c0\n"
      "\n"
      "expect *\n"
      "stray \\x00\\\\\n"
      "nak\n"
      "reply \n"
      "badlrc\n"
      "eot\n"
      "raw 12 34\n"
      "split 3 5\n"
      "drop\n"
      "expect 26\\x1C1\\x1C0\n"
      "silent\n"
      "split 2\n"
      "expect *\n"
      "flood 250 \\x02AB\n"
      "drip 40\n");
  std::vector<PeerStep> steps;
  std::string error;
  ASSERT_TRUE(TerminalSimulator::parseScript(script, steps, error)) << error;
  ASSERT_EQ(steps.size(), 4u);

  EXPECT_EQ(steps[0].expect, TerminalSimulator::fields({"20", "1"}));
  EXPECT_EQ(steps[0].reply, TerminalSimulator::fields({"20", "0", "0"}));
  EXPECT_FALSE(steps[0].silent || steps[0].badLrc || steps[0].nakBefore || steps[0].eotAfter);

  EXPECT_FALSE(steps[1].expect.has_value());
  EXPECT_EQ(steps[1].strayBefore, (Bytes{0x00, '\\'}));
  EXPECT_TRUE(steps[1].nakBefore && steps[1].badLrc && steps[1].eotAfter && steps[1].dropAfter);
  EXPECT_TRUE(steps[1].reply.empty());
  EXPECT_EQ(steps[1].rawAfter, TerminalSimulator::text("12 34"));
  EXPECT_EQ(steps[1].splitChunk, 3u);
  EXPECT_EQ(steps[1].splitPauseMs, 5);

  EXPECT_TRUE(steps[2].silent);
  EXPECT_EQ(steps[2].splitChunk, 2u);
  EXPECT_EQ(steps[2].splitPauseMs, 30);

  EXPECT_EQ(steps[3].flood, (Bytes{0x02, 'A', 'B'}));
  EXPECT_EQ(steps[3].floodMs, 250);
  EXPECT_EQ(steps[3].dripMs, 40);
}

TEST(SimulatorScript, MalformedLinesAreRefusedWithTheirNumber) {
  const std::pair<const char*, const char*> cases[] = {
      {"reply 20\n", "line 1: 'reply' before the first 'expect'"},
      {"expect 20\nrepy 20\n", "line 2: unknown directive 'repy'"},
      {"expect 20\\x1\n", "line 1: malformed escape"},
      {"expect 20\nreply \\q\n", "line 2: malformed escape"},
      {"expect 20\nsplit 0\n", "line 2: split needs a byte count above 0"},
      {"expect 20\nsplit 4 x\n", "line 2: split pause must be milliseconds"},
      {"expect 20\nsplit 4ms\n", "line 2: trailing text after split"},
      {"expect 20\ndrip 0\n", "line 2: drip needs milliseconds above 0"},
      {"expect 20\nflood 100\n", "line 2: flood needs milliseconds and a message"},
  };
  for (const auto& c : cases) {
    std::istringstream script(c.first);
    std::vector<PeerStep> steps;
    std::string error;
    EXPECT_FALSE(TerminalSimulator::parseScript(script, steps, error)) << c.first;
    EXPECT_EQ(error, c.second) << c.first;
  }
}

TEST(SimulatorScript, EscapeAndUnescapeRoundTrip) {
  const Bytes all = [] {
    Bytes b;
    for (int i = 0; i < 256; ++i) b.push_back(static_cast<uint8_t>(i));
    return b;
  }();
  Bytes back;
  ASSERT_TRUE(TerminalSimulator::unescape(TerminalSimulator::escape(all), back));
  EXPECT_EQ(back, all);
  EXPECT_EQ(TerminalSimulator::escape(TerminalSimulator::fields({"20", "0"})), "20\\x1C0");
}

}  // namespace
}  // namespace zq::test

// The message envelope: the field readers on raw reply bytes, and the parse
// of a whole reply (ID check, return code, error description).
#include <gtest/gtest.h>

#include <log4c.h>

#include <string>
#include <vector>

#include "core/TagNames.h"
#include "core/dev_log_capture.h"
#include "protocol/CommonMessage.h"
#include "protocol/PassThroughMessage.h"
#include "protocol/TalvorenCtx.h"

namespace zq::app::protocols {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A message "20" whose own reply part is one optional text field, and whose
// readers are reachable from the test.
class ProbeMessage : public CommonMessage {
 public:
  explicit ProbeMessage(MaintenanceSubCtx& ctx) : CommonMessage(ctx) {}
  std::string getId() override { return "20"; }

  void load(const std::string& field) {
    data = bytes(field);
    readPosition = 0;
  }
  size_t position() const { return readPosition; }

  using CommonMessage::extractEightByteInt;
  using CommonMessage::extractFourByteHexInt;
  using CommonMessage::extractFourByteInt;
  using CommonMessage::extractFunctionCode;
  using CommonMessage::extractSixteenByteInt;
  using CommonMessage::extractString;
  using CommonMessage::extractString_Etx;
  using CommonMessage::extractTwelveByteInt;
  using CommonMessage::extractTwelveByteSignedInt;
  using CommonMessage::extractTwoByteHexInt;
  using CommonMessage::extractTwoByteInt;

  bool specificPartRead = false;
  std::string specificField;
  bool refuseBuild = false;

 protected:
  bool buildMessageSpecificPart() override {
    addFsToData();
    addStringToData("abc");
    return !refuseBuild;
  }
  bool parseMessageSpecificPart() override {
    specificPartRead = true;
    return isIteratorOnDataEnd() || extractString(specificField);
  }
};

enum Reader { TWO, FOUR, EIGHT, TWELVE, SIXTEEN, HEX2, HEX4, SIGNED12, FUNCTION, STRING, STRING_ETX };

struct ReaderCase {
  const char* field;  // bytes from the read position ("|" stands for FS)
  Reader reader;
  size_t minimum;
  bool ok;
  int64_t number;     // numeric readers
  const char* text;   // string readers
  size_t positionAfter;
};

std::string withFs(const char* field) {
  std::string s(field);
  for (char& c : s)
    if (c == '|') c = static_cast<char>(CommonMessage::FS);
  return s;
}

TEST(FieldReaders, Table) {
  const ReaderCase cases[] = {
      {"|42", TWO, 1, true, 42, "", 3},
      {"|7", TWO, 2, false, 0, "", 2},
      {"|123", TWO, 1, true, 12, "", 3},  // the third digit is left for the next reader
      {"|12|3", TWO, 1, true, 12, "", 3},
      {"|4x", TWO, 1, false, 0, "", 0},
      {"|1\x03", TWO, 1, false, 0, "", 0},  // ETX is not a digit
      {"||", TWO, 1, false, 0, "", 1},
      {"||", TWO, 0, true, 0, "", 1},
      {"|", TWO, 0, false, 0, "", 0},   // an FS alone at the end: nothing to read
      {"", TWO, 0, false, 0, "", 0},
      {"42", TWO, 1, false, 0, "", 0},  // no FS
      {"|1234", FOUR, 4, true, 1234, "", 5},
      {"|12345", FOUR, 1, true, 1234, "", 5},
      {"|99999999", EIGHT, 1, true, 99999999, "", 9},
      {"|999999999999", TWELVE, 12, true, 999999999999, "", 13},
      {"|1234567890123456", SIXTEEN, 1, true, 1234567890123456, "", 17},
      {"|A", HEX2, 1, true, 10, "", 2},
      {"|a", HEX2, 1, false, 0, "", 0},
      {"|FF", HEX2, 1, true, 255, "", 3},
      {"|81", HEX2, 1, true, 0x81, "", 3},
      {"|G", HEX2, 1, false, 0, "", 0},
      {"|ABCD", HEX4, 1, true, 0xABCD, "", 5},
      {"|-1500", SIGNED12, 1, true, -1500, "", 6},
      {"|15-00", SIGNED12, 1, true, -1500, "", 6},
      {"|1500", SIGNED12, 1, true, 1500, "", 5},
      {"|-", SIGNED12, 1, false, 0, "", 0},
      {"|-123456789012", SIGNED12, 1, true, -12345678901, "", 13},  // '-' counts against 12
      {"|+1", SIGNED12, 1, false, 0, "", 0},
      {"|0", FUNCTION, 0, true, 0, "", 2},
      {"|64", FUNCTION, 0, true, 64, "", 3},
      {"||x", FUNCTION, 0, false, 0, "", 1},  // the return code needs a digit
      {"|abc|def", STRING, 0, true, 0, "abc", 4},
      {"||def", STRING, 0, true, 0, "", 1},
      {"|", STRING, 0, true, 0, "", 1},
      {"abc", STRING, 0, false, 0, "", 0},
      {"", STRING, 0, false, 0, "", 0},
      {"|a\x03z", STRING, 0, true, 0, "a\x03z", 4},
      {"|a\x03z", STRING_ETX, 0, true, 0, "a", 2},
      {"|ab|c", STRING_ETX, 0, true, 0, "ab", 3},
  };

  TalvorenCtx ctx;
  for (const ReaderCase& c : cases) {
    ProbeMessage m(ctx.getMaintenanceCtx());
    m.load(withFs(c.field));
    uint32_t u32 = 0xDEAD;
    uint64_t u64 = 0xDEAD;
    int64_t s64 = 0xDEAD;
    std::string text;
    bool ok = false;
    int64_t number = 0;
    switch (c.reader) {
      case TWO: ok = m.extractTwoByteInt(u32, c.minimum); number = u32; break;
      case FOUR: ok = m.extractFourByteInt(u32, c.minimum); number = u32; break;
      case EIGHT: ok = m.extractEightByteInt(u32, c.minimum); number = u32; break;
      case TWELVE: ok = m.extractTwelveByteInt(u64, c.minimum); number = static_cast<int64_t>(u64); break;
      case SIXTEEN: ok = m.extractSixteenByteInt(u64, c.minimum); number = static_cast<int64_t>(u64); break;
      case HEX2: ok = m.extractTwoByteHexInt(u32, c.minimum); number = u32; break;
      case HEX4: ok = m.extractFourByteHexInt(u32, c.minimum); number = u32; break;
      case SIGNED12: ok = m.extractTwelveByteSignedInt(s64, c.minimum); number = s64; break;
      case FUNCTION: ok = m.extractFunctionCode(u32); number = u32; break;
      case STRING: ok = m.extractString(text); break;
      case STRING_ETX: ok = m.extractString_Etx(text); break;
    }
    const std::string where = std::string("field '") + c.field + "' reader " + std::to_string(c.reader) +
                              " minimum " + std::to_string(c.minimum);
    EXPECT_EQ(ok, c.ok) << where;
    const bool numeric = c.reader != STRING && c.reader != STRING_ETX;
    if (numeric) {
      // A failed read leaves the destination as it was.
      EXPECT_EQ(number, c.ok ? c.number : 0xDEAD) << where;
    } else {
      EXPECT_EQ(text, c.text) << where;
    }
    if (c.ok || c.positionAfter > 0) {
      EXPECT_EQ(m.position(), c.positionAfter) << where;
    }
  }
}

TEST(FieldReaders, ReaderFailuresAreLogged) {
  zq::test::DevLogCapture capture;
  TalvorenCtx ctx;
  ProbeMessage m(ctx.getMaintenanceCtx());
  uint32_t value = 0;
  m.load("|");
  EXPECT_FALSE(m.extractTwoByteInt(value, 0));
  m.load("x1");
  EXPECT_FALSE(m.extractTwoByteInt(value, 0));
  m.load(withFs("|1a"));
  EXPECT_FALSE(m.extractTwoByteInt(value, 0));
  const std::vector<std::string> expected = {"Insufficient data provided",
                                             "Unable to extract data, FS byte expected, 0x78 found",
                                             "0x61 id not a digit"};
  EXPECT_EQ(capture.texts(), expected);
}

struct ParseCase {
  const char* reply;  // "|" stands for FS
  bool ok;
  bool specificPartRead;
  uint32_t lastCode;        // 99 when the reply must not change it
  const char* description;  // "old" when the reply must not change it
  const char* logged;       // the last error line, or nullptr
};

TEST(EnvelopeParse, Table) {
  const ParseCase cases[] = {
      {"20|0", true, true, 0, "old", nullptr},
      {"20|0|ok", true, true, 0, "old", nullptr},
      {"20|00", true, true, 0, "old", nullptr},
      {"20|12|Card declined", true, false, 12, "Card declined", nullptr},
      {"20|12|Card declined|more", true, false, 12, "Card declined", nullptr},
      {"20|5", true, false, 5, "", nullptr},
      {"20|5|", true, false, 5, "", nullptr},
      {"20|003", false, true, 0, "old", nullptr},  // the third digit breaks the specific part
      {"20|123", false, false, 12, "old", "Unable to extract error description"},
      {"21|0", false, false, 99, "old",
       "Message with invalid ID received, 20 expected, 21 (0x32 0x31) received"},
      {"2", false, false, 99, "old", "Insufficient data, ID 20 longer than provided 1 bytes"},
      {"", false, false, 99, "old", "Insufficient data, ID 20 longer than provided 0 bytes"},
      {"20", false, false, 99, "old", "Unable to extract function return code"},
      {"20|", false, false, 99, "old", "Unable to extract function return code"},
      {"200", false, false, 99, "old", "Unable to extract function return code"},
      {"20|x", false, false, 99, "old", "Unable to extract function return code"},
  };
  for (const ParseCase& c : cases) {
    zq::test::DevLogCapture capture;
    TalvorenCtx ctx;
    MaintenanceSubCtx& maintenance = ctx.getMaintenanceCtx();
    maintenance.setLastFunctionReturnCode(99);
    maintenance.setErrorDescription("old");
    ProbeMessage m(maintenance);
    const std::string where = std::string("reply '") + c.reply + "'";

    EXPECT_EQ(m.parse(bytes(withFs(c.reply))), c.ok) << where;
    EXPECT_EQ(m.specificPartRead, c.specificPartRead) << where;
    EXPECT_EQ(maintenance.getLastFunctionReturnCode(), c.lastCode) << where;
    EXPECT_EQ(maintenance.getErrorDescription(), c.description) << where;
    const std::vector<zq::test::LogLine> errors = capture.atLeast(LOG4C_PRIORITY_ERROR);
    if (c.logged == nullptr) {
      EXPECT_TRUE(errors.empty()) << where << ": " << (errors.empty() ? "" : errors[0].text);
    } else {
      ASSERT_FALSE(errors.empty()) << where;
      EXPECT_EQ(errors.back().text, c.logged) << where;
    }
  }
}

TEST(EnvelopeBuild, IdFsCashRegisterThenOwnFields) {
  TalvorenCtx ctx;
  ProbeMessage m(ctx.getMaintenanceCtx());
  // No cash-register number: no request at all.
  {
    zq::test::DevLogCapture capture;
    EXPECT_TRUE(m.build().empty());
    const std::vector<zq::test::LogLine> errors = capture.atLeast(LOG4C_PRIORITY_ERROR);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "Cash register ID type missing");
  }
  ctx.getApiCtx().setCashRegisterNumber('3');
  EXPECT_EQ(m.build(), bytes(withFs("20|3|abc")));
  // Building again starts from an empty buffer.
  EXPECT_EQ(m.build(), bytes(withFs("20|3|abc")));
  m.refuseBuild = true;
  EXPECT_TRUE(m.build().empty());
}

TEST(PassThrough, RawBytesBothWays) {
  TalvorenCtx ctx;
  MaintenanceSubCtx& maintenance = ctx.getMaintenanceCtx();
  const Bytes request = {0x00, 0x1C, 0x02, 0xFF};
  maintenance.setCustomData(request);
  PassThroughMessage m(maintenance);
  EXPECT_EQ(m.getId(), "");
  EXPECT_EQ(m.build(), request);
  const Bytes reply = {0x03, 0x00, 'r'};
  EXPECT_TRUE(m.parse(reply));
  EXPECT_EQ(maintenance.getCustomData(), reply);
  EXPECT_EQ(maintenance.getLastFunctionReturnCode(), 0u);
}

}  // namespace
}  // namespace zq::app::protocols

// The e-voucher operator template "41" against the scripted terminal over a
// real loopback link: the reply frame announces size and CRC, the template
// follows as raw bytes outside the frame, with the frame or later.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "protocol/GetEvoucherOpFlow.h"
#include "protocol/GetEvoucherOpMessage.h"
#include "protocol/message_session.h"

namespace zq::app::protocols::testing {
namespace {

using zq::test::PeerStep;

const char* const kAbsent = "<absent>";
const Result kParseFailed(utils::RESULT_COMM_ERROR, "Unable to parse POS response");
const Result kNotBuilt(utils::RESULT_ARGUMENT_MISSING, "Unable to build Talvoren message");
const Result kTemplateRefused(utils::RESULT_COMM_ERROR);

std::vector<unsigned>& pauses() {
  static std::vector<unsigned> recorded;
  return recorded;
}
void recordPause(unsigned ms) { pauses().push_back(ms); }

// CRC-16, polynomial 0x8005, MSB first, start 0: written out here bit by
// bit so that the test does not lean on the library's table.
unsigned crc16(const std::string& text) {
  unsigned crc = 0;
  for (unsigned char byte : text) {
    crc ^= static_cast<unsigned>(byte) << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? ((crc << 1) ^ 0x8005) : (crc << 1);
    crc &= 0xFFFF;
  }
  return crc;
}

std::string hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value);
  return text;
}

std::string lowerHex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%x", value);
  return text;
}

// 120 bytes of template text.
std::string templateText() {
  std::string text = "[coupon]\nheader=PrePaid Top-Up\nline1=Code: {CODE}\nline2=Serial: {SERIAL}\n";
  while (text.size() < 120) text += '#';
  return text.substr(0, 120);
}

const Bytes kRequest = TerminalSimulator::fields({"41", "1", "12"});

Bytes opReply(const std::string& result, const std::string& size, const std::string& crc,
              const std::string& name) {
  return TerminalSimulator::fields({"41", "0", result, size, crc, name});
}

Result runFlow(Session& library) {
  GetEvoucherOpFlow flow(library.maintenance(), library.transaction());
  return flow.setupAndExecute(*library.link);
}

TEST(EvoucherTemplate, ArrivesWithTheFrameOrAfterItAndIsStored) {
  const std::string text = templateText();
  const Bytes reply = opReply("0", "120", hex4(crc16(text)), "TopUp Operator");
  struct Case {
    const char* name;
    size_t splitChunk;
  };
  // Split at the frame's length: the frame alone first, then the template in
  // chunks, 40 ms apart, long after the library has read the frame.
  const Case cases[] = {{"same chunk as the frame", 0},
                        {"later chunks", TerminalSimulator::frame(reply).size()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    PeerStep step = TerminalSimulator::step(kRequest, reply);
    step.rawAfter = bytesOf(text);
    step.splitChunk = c.splitChunk;
    step.splitPauseMs = 40;
    terminal.addStep(step);
    Session library(terminal);
    library.api().setTagValue(TAG_EV_OP_ID, bytesOf("12"));
    library.api().setTagValue(TAG_EV_OP_TEMPLATE, bytesOf("stale"));
    utils::registerCustomSleep(recordPause);
    pauses().clear();

    EXPECT_EQ(runFlow(library), Result(utils::RESULT_OK));
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
    EXPECT_EQ(library.tag(TAG_EV_OP_TEMPLATE), text);
    // One monitored exchange; reading the template adds no pause.
    EXPECT_EQ(pauses(), std::vector<unsigned>{300});
    EXPECT_EQ(library.tag(TAG_EV_OP_ID), "12");

  }
}

struct TemplateCase {
  const char* name;
  std::string size;
  std::string raw;
  bool stored;
  std::string error;
};

// The template is checked against the announced size and CRC; a template
// that does not check out is not stored, and the one of an earlier fetch is
// gone too.
TEST(EvoucherTemplate, SizeAndCrcMustMatchWhatArrived) {
  const std::string text = templateText();
  std::string flipped = text;
  flipped[60] ^= 0x01;
  const std::string sizeError119 = "Invalid template file size:(119) <> (120)";
  const TemplateCase cases[] = {
      {"a zero byte ends the text", "120", text + std::string(1, '\0') + "junk", true, ""},
      {"announced one less", "119", text, false, sizeError119},
      {"announced one more, a zero byte after the text", "121", text + std::string(1, '\0'), false,
       "Invalid template file size:(121) <> (120)"},
      {"announced one more, nothing more comes", "121", text, false,
       "Unable to receive extra data"},
      {"zero byte inside the announced size", "120",
       text.substr(0, 50) + std::string(1, '\0') + text.substr(51), false,
       "Invalid template file size:(120) <> (50)"},
      {"one byte flipped", "120", flipped, false,
       "Evoucher file CRC not valid: (" + lowerHex(crc16(flipped)) + ") (" +
           lowerHex(crc16(text)) + ")"},
      {"nothing announced", "00", text, false, "Unable to extract Evoucher template file"},
  };
  for (const TemplateCase& c : cases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    PeerStep step = TerminalSimulator::step(kRequest, opReply("0", c.size, hex4(crc16(text)), "Op"));
    step.rawAfter = bytesOf(c.raw);
    terminal.addStep(step);
    Session library(terminal);
    library.api().setTagValue(TAG_EV_OP_ID, bytesOf("12"));
    library.api().setTagValue(TAG_EV_OP_TEMPLATE, bytesOf("stale"));

    EXPECT_EQ(runFlow(library), c.stored ? Result(utils::RESULT_OK) : kTemplateRefused);
    EXPECT_EQ(library.tag(TAG_EV_OP_TEMPLATE), c.stored ? text : kAbsent);
    if (!c.error.empty()) {
      EXPECT_TRUE(logged(kErrorPriority, c.error))
          << ::testing::PrintToString(developerLines(kErrorPriority));
    }
  }
}

struct ReplyCase {
  const char* name;
  Bytes reply;
  Result result;
  std::string error;
};

// A reply frame that fails is reported as such and the raw bytes after it
// are not read as a template.
TEST(EvoucherTemplate, BadReplyFieldsFailBeforeTheTemplateIsRead) {
  const std::string text = templateText();
  const std::string crc = hex4(crc16(text));
  const ReplyCase cases[] = {
      {"result code 3", opReply("3", "120", crc, "Op"), kParseFailed,
       "Wrong Evoucher result code:3"},
      {"no result code", opReply("", "120", crc, "Op"), kParseFailed,
       "Unable to extract Evoucher result code"},
      {"size of one digit", opReply("0", "9", crc, "Op"), kParseFailed,
       "Unable to extract Evoucher file size"},
      {"lower-case CRC", opReply("0", "120", "abcd", "Op"), kParseFailed,
       "Unable to extract Evoucher file CRC"},
      {"CRC of three digits", opReply("0", "120", crc.substr(1), "Op"), kParseFailed,
       "Unable to extract Evoucher file CRC"},
      {"CRC of five digits", opReply("0", "120", crc + "0", "Op"), kParseFailed,
       "Unable to extract Evoucher operator name"},
      {"no operator name", TerminalSimulator::fields({"41", "0", "0", "120", crc}), kParseFailed,
       "Unable to extract Evoucher operator name"},
      {"refused by the terminal", TerminalSimulator::fields({"41", "5", "No such operator"}),
       Result(utils::RESULT_TERMINAL_CODE_5, "No such operator"), ""},
  };
  for (const ReplyCase& c : cases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    PeerStep step = TerminalSimulator::step(kRequest, c.reply);
    step.rawAfter = bytesOf(text);
    terminal.addStep(step);
    Session library(terminal);
    library.api().setTagValue(TAG_EV_OP_ID, bytesOf("12"));
    library.api().setTagValue(TAG_EV_OP_TEMPLATE, bytesOf("stale"));

    EXPECT_EQ(runFlow(library), c.result);
    if (!c.error.empty()) {
      EXPECT_TRUE(logged(kErrorPriority, c.error))
          << ::testing::PrintToString(developerLines(kErrorPriority));
      EXPECT_EQ(library.tag(TAG_EV_OP_TEMPLATE), kAbsent);
    }
    EXPECT_FALSE(logged(kErrorPriority, "Unable to receive extra data"));
    EXPECT_FALSE(logged(kErrorPriority, "Unable to parse extra data"));
  }
}

struct OperatorCase {
  const char* name;
  const char* id;  // nullptr: absent
  Bytes request;   // empty: nothing may be sent
  std::string error;
};

TEST(EvoucherTemplate, OperatorIdOfOneToFourBytesIsSentAsStored) {
  const std::string text = templateText();
  const OperatorCase cases[] = {
      {"absent", nullptr, {}, "Operator ID missing"},
      {"five bytes", "12345", {}, "Operator ID invalid"},
      {"one byte", "7", TerminalSimulator::fields({"41", "1", "7"}), ""},
      {"four bytes", "A1B2", TerminalSimulator::fields({"41", "1", "A1B2"}), ""},
  };
  for (const OperatorCase& c : cases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    if (!c.request.empty()) {
      PeerStep step =
          TerminalSimulator::step(c.request, opReply("0", "120", hex4(crc16(text)), "Op"));
      step.rawAfter = bytesOf(text);
      terminal.addStep(step);
    }
    Session library(terminal);
    if (c.id != nullptr) library.api().setTagValue(TAG_EV_OP_ID, bytesOf(c.id));

    const Result result = runFlow(library);
    if (c.request.empty()) {
      EXPECT_EQ(result, kNotBuilt);
      EXPECT_TRUE(logged(kErrorPriority, c.error))
          << ::testing::PrintToString(developerLines(kErrorPriority));
      EXPECT_TRUE(terminal.received().empty());
    } else {
      EXPECT_EQ(result, Result(utils::RESULT_OK));
      EXPECT_EQ(terminal.requests(), std::vector<Bytes>{c.request});
      EXPECT_EQ(library.tag(TAG_EV_OP_TEMPLATE), text);
    }
  }
}

}  // namespace
}  // namespace zq::app::protocols::testing

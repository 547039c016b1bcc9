// The extractor bases: tag reads with their log line and fallbacks, the
// dispatch on a reader's status, and the word wrap of long texts.
#include "printouts/documents/Extractor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printouts/documents/DocumentsFixture.h"

namespace {

using namespace zq::app::printouts;
using namespace zq::app::tlv;
using zq::test::Bytes;
using zq::test::DocumentsTest;

class TagProbe : public ExtractorWithCheckingTag, public ExtractorWithGettingTag {
 public:
  void bind(EcrCtx_s* ctx) { ecr = ctx; }
  std::string& text() { return value; }
  std::vector<unsigned char>& bytes() { return raw; }
};

using ExtractorTest = DocumentsTest;

TEST_F(ExtractorTest, CheckTagReadsPresentValuesAndKeepsOldOnesOnFailure) {
  TagProbe probe;
  probe.bind(ecr);
  set(TAG_VLP_LIMIT, {0x00, 0x00, 0x00, 0x01, 0x23, 0x45});
  set(TAG_APP_PREFERRED_NAME, Bytes(513, 'A'));

  ASSERT_TRUE(probe.checkHexTag(TAG_VLP_LIMIT));
  EXPECT_EQ(probe.text(), "000000012345");
  EXPECT_EQ(probe.bytes(), Bytes({0x00, 0x00, 0x00, 0x01, 0x23, 0x45}));

  // Absent: false, logged with status 5, value and bytes as they were.
  EXPECT_FALSE(probe.checkStandardTag(TAG_CARD_EXPIRY_DATE));
  EXPECT_TRUE(busLogged("Unable to get tag 0x0000DF05, status 0x05"));
  EXPECT_EQ(probe.text(), "000000012345");
  EXPECT_EQ(probe.bytes().size(), 6u);

  // Longer than the 512-byte room: not read, status 4.
  EXPECT_FALSE(probe.checkStandardTag(TAG_APP_PREFERRED_NAME));
  EXPECT_TRUE(busLogged("Unable to get tag 0x00009F12, status 0x04"));
  EXPECT_EQ(probe.text(), "000000012345");

  // 512 bytes exactly still fit.
  set(TAG_APP_PREFERRED_NAME, Bytes(512, 'B'));
  ASSERT_TRUE(probe.checkStandardTag(TAG_APP_PREFERRED_NAME));
  EXPECT_EQ(probe.text(), std::string(512, 'B'));
}

TEST_F(ExtractorTest, GetTagAnswersTheTextOrTheUnknownPhrase) {
  TagProbe probe;
  probe.bind(ecr);
  set(TAG_APP_PREFERRED_NAME, {'V', 0x00, 'X'});
  EXPECT_EQ(probe.getTag(TAG_APP_PREFERRED_NAME), std::string("V\0X", 3));

  EXPECT_EQ(probe.getTag(TAG_BLIK_ENTERED_CODE), "?");
  EXPECT_TRUE(busLogged("Unable to get tag 0x0000DF02, status 0x05"));

  setPhrase(PR_DICT_UNKNOWN, "brak");
  EXPECT_EQ(probe.getTag(TAG_BLIK_ENTERED_CODE), "brak");
}

TEST_F(ExtractorTest, ReadsWithoutATerminalContextFallBack) {
  TagProbe probe;  // never bound
  EXPECT_FALSE(probe.checkTag(TAG_AMOUNT));
  EXPECT_EQ(probe.getTag(TAG_AMOUNT), "?");
  EXPECT_EQ(busCount("Unable to get tag 0x00009F02, status 0x06"), 2u);
}

class DispatchProbe : public ExtractorWithHandlingMissingData {
 public:
  void handlePresentData() override { calls += "present;"; }
  void handleMissingData() override { calls += "missing;"; }
  void handleReadingDataError(ecr_status status) override {
    calls += "error " + std::to_string(status) + ";";
  }
  std::string calls;
};

TEST(ExtractorDispatch, EachStatusRunsExactlyOneHandler) {
  const struct {
    ecr_status status;
    const char* calls;
  } cases[] = {
      {ECR_OK, "present;"},         {ECR_NO_DATA, "missing;"}, {ECR_ERROR, "error 1;"},
      {ECR_INVALID_ARGUMENT, "error 4;"}, {ECR_NOT_INITIALIZED, "error 6;"}, {ECR_EMPTY, "error 9;"},
  };
  for (const auto& c : cases) {
    DispatchProbe probe;
    probe.handleAttemptToReadData(c.status);
    EXPECT_EQ(probe.calls, c.calls) << c.status;
  }
}

class WrapProbe : public ExtractorWithBuildingMultipleLines {
 public:
  void addBuildedLine(const std::string& line) override { lines.push_back(line); }
  std::vector<std::string> lines;
};

TEST(ExtractorWordWrap, SplitsAtSingleBlanksAndNeverSplitsAWord) {
  const struct {
    const char* text;
    size_t width;
    std::vector<std::string> lines;
  } cases[] = {
      {"ABC DEF", 7, {"ABC DEF "}},
      {"ABC DEF", 6, {"ABC ", "DEF "}},
      {"A  B", 10, {"A  B "}},
      {"", 10, {""}},
      {" ", 10, {" "}},
      {" A", 10, {" A "}},
      {"A ", 10, {"A "}},
      {"ABCDEFGHIJKL XY", 10, {"", "ABCDEFGHIJKL ", "XY "}},
      {"AB CD", 0, {"", "AB ", "CD "}},
      {"AAAA BBBB CCCC", 9, {"AAAA BBBB ", "CCCC "}},
  };
  for (const auto& c : cases) {
    WrapProbe probe;
    probe.buildLines(c.text, c.width);
    EXPECT_EQ(probe.lines, c.lines) << "'" << c.text << "' width " << c.width;
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CallLog.h"
#include "trustprobe/Trustprobe.h"

namespace zq::tpm::testing {
namespace {

using trustprobe::queryTpmObjectText;
using trustprobe::runTrustprobe;
using Calls = std::vector<std::string>;

class FakeTpmWmi final : public trustprobe::TpmWmi {
 public:
  explicit FakeTpmWmi(CallLog& log) : log_(log) {}

  HResult initializeCom() override { return log_.record("CoInitializeEx"); }
  HResult initializeSecurity() override { return log_.record("CoInitializeSecurity"); }
  HResult createLocator() override { return log_.record("CoCreateInstance"); }
  HResult connectServer(const char16_t* wmiNamespace) override {
    return log_.record("ConnectServer", utf8(wmiNamespace));
  }
  HResult setProxyBlanket() override { return log_.record("CoSetProxyBlanket"); }
  HResult execQuery(const char16_t* language, const char16_t* query, std::int32_t flags) override {
    return log_.record("ExecQuery", utf8(language) + " " + utf8(query) + " " + hex(static_cast<std::uint32_t>(flags)));
  }
  std::uint32_t nextObject() override {
    log_.record("Next");
    return objects;
  }
  HResult getObjectText(std::u16string* out) override {
    const HResult hr = log_.record("GetObjectText");
    if (hr == 0) *out = text;
    return hr;
  }
  void releaseObject() override { log_.record("Release object"); }
  void releaseEnumerator() override { log_.record("Release enumerator"); }
  void releaseServices() override { log_.record("Release services"); }
  void releaseLocator() override { log_.record("Release locator"); }
  void uninitializeCom() override { log_.record("CoUninitialize"); }

  std::uint32_t objects = 1;
  std::u16string text = u"\ninstance of Win32_Tpm\n{\n\tIsEnabled_InitialValue = TRUE;\n};\n";

 private:
  CallLog& log_;
};

const std::string kConnect = "ConnectServer ROOT\\CIMV2\\Security\\MicrosoftTpm";
const std::string kQuery = "ExecQuery WQL SELECT * FROM Win32_Tpm 0x30";

TEST(TrustprobeQuery, SuccessReleasesEverythingAndUninitialisesCom) {
  CallLog log;
  FakeTpmWmi wmi(log);
  std::ostringstream console;
  std::u16string text;

  ASSERT_TRUE(queryTpmObjectText(wmi, console, &text));
  EXPECT_EQ(wmi.text, text);
  EXPECT_EQ("", console.str());
  EXPECT_EQ((Calls{"CoInitializeEx", "CoInitializeSecurity", "CoCreateInstance", kConnect, "CoSetProxyBlanket", kQuery,
                   "Next", "GetObjectText", "Release object", "Release enumerator", "Release services",
                   "Release locator", "CoUninitialize"}),
            log.calls());
}

// Each failing step prints its line, releases what was obtained before it,
// in reverse order, and uninitialises COM unless COM itself failed.
TEST(TrustprobeQuery, EachFailingStepPrintsItsMessageAndCleansUp) {
  struct Case {
    const char* call;
    std::int32_t code;
    const char* console;
    Calls calls;
  };
  const Case cases[] = {
      {"CoInitializeEx", static_cast<std::int32_t>(0x80010106),
       "Failed to initialize COM library. Error code = 0x80010106\n", {"CoInitializeEx"}},
      {"CoInitializeSecurity", static_cast<std::int32_t>(0x80010119),
       "Failed to initialize security. Error code = 0x80010119\n",
       {"CoInitializeEx", "CoInitializeSecurity", "CoUninitialize"}},
      {"CoCreateInstance", static_cast<std::int32_t>(0x80040154),
       "Failed to create IWbemLocator object. Err code = 0x80040154\n",
       {"CoInitializeEx", "CoInitializeSecurity", "CoCreateInstance", "CoUninitialize"}},
      {"ConnectServer", static_cast<std::int32_t>(0x8004100E), "Could not connect. Error code = 0x8004100e\n",
       {"CoInitializeEx", "CoInitializeSecurity", "CoCreateInstance", kConnect, "Release locator", "CoUninitialize"}},
      {"ConnectServer", static_cast<std::int32_t>(0x80041003),
       "Could not connect. Error code = 0x80041003\naccess denied\n",
       {"CoInitializeEx", "CoInitializeSecurity", "CoCreateInstance", kConnect, "Release locator", "CoUninitialize"}},
      {"CoSetProxyBlanket", static_cast<std::int32_t>(0x80070005),
       "Could not set proxy blanket. Error code = 0x80070005\n",
       {"CoInitializeEx", "CoInitializeSecurity", "CoCreateInstance", kConnect, "CoSetProxyBlanket",
        "Release services", "Release locator", "CoUninitialize"}},
      {"ExecQuery", static_cast<std::int32_t>(0x80041017), " Error code = 0x80041017\n",
       {"CoInitializeEx", "CoInitializeSecurity", "CoCreateInstance", kConnect, "CoSetProxyBlanket", kQuery,
        "Release services", "Release locator", "CoUninitialize"}},
      {"GetObjectText", static_cast<std::int32_t>(0x80004003),
       "Failed to get the object text. Error code = 0x80004003\n",
       {"CoInitializeEx", "CoInitializeSecurity", "CoCreateInstance", kConnect, "CoSetProxyBlanket", kQuery, "Next",
        "GetObjectText", "Release object", "Release enumerator", "Release services", "Release locator",
        "CoUninitialize"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.console);
    CallLog log;
    log.failAt(c.call, c.code);
    FakeTpmWmi wmi(log);
    std::ostringstream console;
    std::u16string text = u"untouched";

    EXPECT_FALSE(queryTpmObjectText(wmi, console, &text));
    EXPECT_EQ(c.console, console.str());
    EXPECT_EQ(c.calls, log.calls());
    EXPECT_EQ(u"untouched", text);
  }
}

TEST(TrustprobeQuery, NoInstanceFailsSilently) {
  CallLog log;
  FakeTpmWmi wmi(log);
  wmi.objects = 0;
  std::ostringstream console;
  std::u16string text;

  EXPECT_FALSE(queryTpmObjectText(wmi, console, &text));
  EXPECT_EQ("", console.str());
  EXPECT_EQ((Calls{"CoInitializeEx", "CoInitializeSecurity", "CoCreateInstance", kConnect, "CoSetProxyBlanket", kQuery,
                   "Next", "Release enumerator", "Release services", "Release locator", "CoUninitialize"}),
            log.calls());
}

class TrustprobeProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trustprobe-test-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    dir_ = pattern;
    output_ = dir_ + "/tpm.txt";
  }
  void TearDown() override {
    std::remove(output_.c_str());
    rmdir(dir_.c_str());
  }

  int run(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "trustprobe");
    return runTrustprobe(static_cast<int>(arguments.size()), arguments.data(), wmi_, console_);
  }
  bool outputExists() const { return access(output_.c_str(), F_OK) == 0; }
  std::string output() const {
    std::ifstream in(output_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  CallLog log_;
  FakeTpmWmi wmi_{log_};
  std::ostringstream console_;
  std::string dir_, output_;
};

TEST_F(TrustprobeProgram, WritesTheLowByteOfEachUnitWithoutTerminator) {
  // U+0142 keeps only 0x42, U+00E9 stays one byte; no BOM, no NUL.
  wmi_.text = u"TPM \u0142\u00e9\nend";
  EXPECT_EQ(0, run({output_.c_str(), "ignored extra argument"}));
  EXPECT_EQ(std::string("TPM \x42\xE9\nend"), output());
  EXPECT_EQ("", console_.str());
}

TEST_F(TrustprobeProgram, WithoutArgumentExitsOneBeforeAnyCall) {
  EXPECT_EQ(1, run({}));
  EXPECT_TRUE(log_.calls().empty());
  EXPECT_EQ("", console_.str());
}

TEST_F(TrustprobeProgram, FailedQueryCreatesNoFile) {
  log_.failAt("ConnectServer", static_cast<std::int32_t>(0x80041003));
  EXPECT_EQ(1, run({output_.c_str()}));
  EXPECT_FALSE(outputExists());
  EXPECT_EQ("Could not connect. Error code = 0x80041003\naccess denied\n", console_.str());

  log_.clear();
  wmi_.objects = 0;
  console_.str("");
  EXPECT_EQ(1, run({output_.c_str()}));
  EXPECT_FALSE(outputExists());
  EXPECT_EQ("", console_.str());
}

// Output that cannot be opened, written or closed is a failure, without a
// message: a full device shows it on writing (large text) or on closing.
TEST_F(TrustprobeProgram, OutputThatCannotBeWrittenExitsOne) {
  const std::string missingDirectory = dir_ + "/missing/tpm.txt";
  EXPECT_EQ(1, run({missingDirectory.c_str()}));

  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  EXPECT_EQ(1, run({"/dev/full"}));
  wmi_.text.assign(1 << 20, u'x');
  EXPECT_EQ(1, run({"/dev/full"}));
  EXPECT_EQ("", console_.str());
}

}  // namespace
}  // namespace zq::tpm::testing

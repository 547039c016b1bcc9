#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "core/Crc16.h"
#include "core/DateTime.h"
#include "core/Sleep.h"
#include "core/Validators.h"
#include "dev_log_capture.h"

namespace {

using namespace zq::app::utils;
using zq::test::DevLogCapture;
using zq::test::LogLine;

struct ValidatorCase {
  const char* name;
  std::function<bool()> run;
  bool accepted;
  std::string refusal;  // the one error line of a refusal; none when accepted
};

void PrintTo(const ValidatorCase& c, std::ostream* os) { *os << c.name; }

std::string digits(size_t n) { return std::string(n, '7'); }

const std::vector<ValidatorCase> kValidatorCases = {
    {"amount_1", [] { return validateAmount("0"); }, true, ""},
    {"amount_12", [] { return validateAmount(digits(12)); }, true, ""},
    {"amount_13", [] { return validateAmount(digits(13)); }, false, "Incorrect amount len 13, expected in range 1-12"},
    {"amount_empty", [] { return validateAmount(""); }, false, "Incorrect amount len 0, expected in range 1-12"},
    {"amount_blank", [] { return validateAmount("12 5"); }, false, "Entered amount is not numeric"},
    {"amount_sign", [] { return validateAmount("-125"); }, false, "Entered amount is not numeric"},
    {"amount_long_and_not_numeric", [] { return validateAmount("1234567890ab1"); }, false,
     "Incorrect amount len 13, expected in range 1-12"},
    {"title_empty", [] { return validateTitle(""); }, true, ""},
    {"title_46", [] { return validateTitle(std::string(46, 'x')); }, true, ""},
    {"title_47", [] { return validateTitle(std::string(47, 'x')); }, false, "Incorrect title len 47, expected in range 0-46"},
    {"title_counts_bytes", [] { return validateTitle(std::string(24, '\xC4') + std::string(23, 'x')); }, false,
     "Incorrect title len 47, expected in range 0-46"},
    {"printout_data_empty", [] { return validateAdditionalPrintoutData(""); }, true, ""},
    {"printout_data_64", [] { return validateAdditionalPrintoutData(std::string(64, 'x')); }, true, ""},
    {"printout_data_65", [] { return validateAdditionalPrintoutData(std::string(65, 'x')); }, false, ""},
    {"transaction_id_max", [] { return validateTransactionId(99999999u); }, true, ""},
    {"transaction_id_9_digits", [] { return validateTransactionId(100000000u); }, false,
     "Incorrect id 100000000, expected max. 8 digits"},
    {"terminal_id_9", [] { return validateTerminalId(9); }, true, ""},
    {"terminal_id_10", [] { return validateTerminalId(10); }, false, "Incorrect id 10, expected max. 1 digit"},
    {"terminal_id_255", [] { return validateTerminalId(255); }, false, "Incorrect id 255, expected max. 1 digit"},
    {"cardset_id_99", [] { return validateCardsetId(99u); }, true, ""},
    {"cardset_id_100", [] { return validateCardsetId(100u); }, false, "Incorrect id 100, expected max. 2 digits"},
    {"currency_id_999", [] { return validateCurrencyId(999u); }, true, ""},
    {"currency_id_1000", [] { return validateCurrencyId(1000u); }, false, "Incorrect id 1000, expected max. 3 digits"},
    {"currency_id_max", [] { return validateCurrencyId(4294967295u); }, false,
     "Incorrect id 4294967295, expected max. 3 digits"},
    {"blik_1", [] { return validateBlikCode("5"); }, true, ""},
    {"blik_30", [] { return validateBlikCode(digits(30)); }, true, ""},
    {"blik_empty", [] { return validateBlikCode(""); }, false, "Entered BLIK code is empty"},
    {"blik_blank", [] { return validateBlikCode("123 456"); }, false, "Entered BLIK code is not numeric"},
    {"ean_1", [] { return validateEAN("0"); }, true, ""},
    {"ean_13", [] { return validateEAN(digits(13)); }, true, ""},
    {"ean_14", [] { return validateEAN(digits(14)); }, false, "Incorrect ean len 14, expected in range 1-13"},
    {"ean_empty", [] { return validateEAN(""); }, false, "Incorrect ean len 0, expected in range 1-13"},
    {"ean_letter", [] { return validateEAN("590123412345X"); }, false, "Entered EAN code is not numeric"},
    // Request fields go unescaped between FS bytes inside STX .. ETX.
    {"title_fs", [] { return validateTitle("ab\x1C" "cd"); }, false, "Control byte 0x1C at position 2 refused"},
    {"title_47_with_etx", [] { return validateTitle(std::string(46, 'x') + "\x03"); }, false,
     "Incorrect title len 47, expected in range 0-46"},
    {"printout_data_stx", [] { return validateAdditionalPrintoutData("\x02"); }, false,
     "Control byte 0x02 at position 0 refused"},
    {"control_bytes_text_and_line_breaks", [] { return validateNoControlBytes("\xA5\xB9\r\n\t\x01\x05\x1B\x1D"); },
     true, ""},
    {"control_bytes_nak_in_bytes", [] {
       const unsigned char bytes[] = {0x31, 0x15};
       return validateNoControlBytes(bytes, sizeof bytes);
     }, false, "Control byte 0x15 at position 1 refused"},
    {"range_first_and_last", [] { return validateRange(0, 0, 12) && validateRange(12, 0, 12); }, true, ""},
    {"range_below", [] { return validateRange(-1, 0, 12); }, false, "Incorrect value -1, expected in range 0-12"},
    {"range_above", [] { return validateRange(2147483647, 0, 12); }, false,
     "Incorrect value 2147483647, expected in range 0-12"},
    {"enum_from_number", [] {
       enum Kind : int { FIRST = 2, LAST = 5 } kind = FIRST;
       // 6 is refused and leaves the 4 taken before.
       return enumFromNumber(4, FIRST, LAST, kind) && kind == 4 && !enumFromNumber(6, FIRST, LAST, kind) && kind == 4;
     }, true, "Incorrect value 6, expected in range 2-5"},
};

class ValidatorTable : public ::testing::TestWithParam<ValidatorCase> {};

TEST_P(ValidatorTable, AcceptsOrRefusesWithItsLine) {
  DevLogCapture log;
  const ValidatorCase& c = GetParam();
  EXPECT_EQ(c.run(), c.accepted);
  std::vector<LogLine> expected;
  if (!c.refusal.empty()) {
    expected.push_back({LOG4C_PRIORITY_ERROR, c.refusal});
  }
  EXPECT_EQ(log.atLeast(LOG4C_PRIORITY_TRACE), expected);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, ValidatorTable, ::testing::ValuesIn(kValidatorCases),
                         [](const ::testing::TestParamInfo<ValidatorCase>& info) { return info.param.name; });

unsigned short crcOf(const std::string& text, unsigned short start) {
  unsigned short crc = start;
  crc16_buf(reinterpret_cast<const unsigned char*>(text.data()), text.size(), crc);
  return crc;
}

TEST(Crc16, MatchesPublishedCheckValues) {
  EXPECT_EQ(crcOf("123456789", 0), 0xFEE8);
  EXPECT_EQ(crcOf("abc", 0), 0xCADB);
  // No final XOR and no reflection: one byte from zero is the table entry itself.
  EXPECT_EQ(crc16(0x01, 0), 0x8005);
  EXPECT_EQ(crc16(0x03, 0), 0x000A);
}

TEST(Crc16, RunsOnFromTheCallersValue) {
  // Data fed in pieces gives the CRC of the whole.
  EXPECT_EQ(crcOf("56789", crcOf("1234", 0)), 0xFEE8);
  EXPECT_EQ(crcOf("", 0x1D0F), 0x1D0F);
  unsigned short crc = 0xBEEF;
  crc16_buf(nullptr, 5, crc);
  EXPECT_EQ(crc, 0xBEEF) << "no buffer is no data";
}

std::vector<unsigned int> recordedPauses;
void recordPause(unsigned int milliseconds) { recordedPauses.push_back(milliseconds); }

TEST(Sleep, RegisteredFunctionTakesThePause) {
  recordedPauses.clear();
  registerCustomSleep(recordPause);
  const auto start = std::chrono::steady_clock::now();
  zq::app::utils::sleep(250);
  zq::app::utils::sleep(0);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  registerCustomSleep(nullptr);
  EXPECT_EQ(recordedPauses, (std::vector<unsigned int>{250, 0}));
  EXPECT_LT(elapsed, std::chrono::milliseconds(250)) << "the library must not pause itself as well";
}

TEST(Sleep, NullGoesBackToTheSystemPause) {
  recordedPauses.clear();
  registerCustomSleep(recordPause);
  registerCustomSleep(nullptr);
  const auto start = std::chrono::steady_clock::now();
  zq::app::utils::sleep(20);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(recordedPauses.empty());
  EXPECT_GE(elapsed, std::chrono::milliseconds(20));
}

// The text must be the local date or time of a moment within the call.
std::string localText(std::time_t when, const char* format) {
  char buffer[80];
  std::strftime(buffer, sizeof buffer, format, std::localtime(&when));
  return buffer;
}

TEST(DateTime, LocalDateAndTimeInPrintoutShape) {
  const std::time_t before = std::time(nullptr);
  const std::string date = getCurrentDate();
  const std::string time = getCurrentTime();
  const std::time_t after = std::time(nullptr);
  EXPECT_TRUE(std::regex_match(date, std::regex(R"(\d\d\.\d\d\.\d{4})"))) << date;
  EXPECT_TRUE(std::regex_match(time, std::regex(R"(\d\d:\d\d:\d\d)"))) << time;
  EXPECT_TRUE(date == localText(before, "%d.%m.%Y") || date == localText(after, "%d.%m.%Y")) << date;
  EXPECT_TRUE(time == localText(before, "%H:%M:%S") || time == localText(after, "%H:%M:%S")) << time;
}

}  // namespace

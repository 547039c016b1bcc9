#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core/Converters.h"
#include "dev_log_capture.h"

namespace {

using namespace zq::app::utils;
using zq::test::DevLogCapture;
using zq::test::LogLine;
using Bytes = std::vector<unsigned char>;

constexpr int kError = LOG4C_PRIORITY_ERROR;
constexpr int kWarn = LOG4C_PRIORITY_WARN;

// Results are compared as text so that one table holds every converter:
// numbers in decimal, an empty Optional as "<empty>", byte vectors as
// spaced hex, texts and fields in quotes.
std::string show(const Optional<std::uint64_t>& v) {
  return v.isPresent() ? std::to_string(*v) : "<empty>";
}
std::string show(const Optional<unsigned int>& v) {
  return v.isPresent() ? std::to_string(*v) : "<empty>";
}
std::string show(const Optional<unsigned short>& v) {
  return v.isPresent() ? std::to_string(*v) : "<empty>";
}
std::string show(const Bytes& bytes) {
  std::string out = "[";
  for (size_t i = 0; i < bytes.size(); ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", bytes[i]);
    out += hex;
  }
  return out + "]";
}
std::string show(const std::string& text) { return "\"" + text + "\""; }
std::string show(const std::vector<std::string>& fields) {
  std::string out;
  for (const std::string& f : fields) out += show(f) + " ";
  return out;
}
Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct ConverterCase {
  const char* name;
  std::function<std::string()> run;
  std::string expected;
  std::vector<LogLine> warnings;  // every line at warn level or above, in order
};

LogLine capacity(unsigned bytes) {
  return {kError, "Overflow detected on vector to int conversion, capacity " + std::to_string(bytes) + " bytes"};
}

void PrintTo(const ConverterCase& c, std::ostream* os) { *os << c.name; }

const std::vector<ConverterCase> kCases = {
    // decimal text to a byte: wraps modulo 256, one warning per overflowing digit
    {"u8 255", [] { return std::to_string(asciiToUint8("255")); }, "255", {}},
    {"u8 256 wraps", [] { return std::to_string(asciiToUint8("256")); }, "0", {{kWarn, "Type overflow while converting string"}}},
    {"u8 300 wraps", [] { return std::to_string(asciiToUint8("300")); }, "44", {{kWarn, "Type overflow while converting string"}}},
    {"u8 non-digit", [] { return std::to_string(asciiToUint8("2a")); }, "0", {}},
    {"u8 empty", [] { return std::to_string(asciiToUint8("")); }, "0", {}},
    {"u8 leading zeros", [] { return std::to_string(asciiToUint8("000000000000042")); }, "42", {}},

    // decimal text to 64 bits: an overflow is a failure, not a wrapped number
    {"u64 empty is present 0", [] { return show(asciiToUint64("")); }, "0", {}},
    {"u64 non-digit", [] { return show(asciiToUint64("12x")); }, "<empty>", {}},
    {"u64 sign refused", [] { return show(asciiToUint64("-1")); }, "<empty>", {}},
    {"u64 max", [] { return show(asciiToUint64("18446744073709551615")); }, "18446744073709551615", {}},
    {"u64 max plus one", [] { return show(asciiToUint64("18446744073709551616")); }, "<empty>",
     {{kError, "Type overflow while converting string"}}},
    {"u64 far too long", [] { return show(asciiToUint64("123456789012345678901234567890")); }, "<empty>",
     {{kError, "Type overflow while converting string"}}},
    {"u64 long run of zeros", [] { return show(asciiToUint64("000000000000000000000000000042")); }, "42", {}},

    // digit bytes to 32 bits
    {"u32 no bytes", [] { return show(dataInVectorToUint32t({})); }, "0", {}},
    {"u32 digits", [] { return show(dataInVectorToUint32t(text("0007"))); }, "7", {}},
    {"u32 max", [] { return show(dataInVectorToUint32t(text("4294967295"))); }, "4294967295", {}},
    {"u32 max plus one", [] { return show(dataInVectorToUint32t(text("4294967296"))); }, "<empty>",
     {{kError, "Type overflow while converting string"}}},
    {"u32 non-digit", [] { return show(dataInVectorToUint32t(text("12a"))); }, "<empty>", {{kError, "0x61 id not a digit"}}},
    {"u32 high byte", [] { return show(dataInVectorToUint32t({'1', 0xB9})); }, "<empty>", {{kError, "0xB9 id not a digit"}}},

    // big-endian bytes to numbers: leading zero bytes in any count, no more than the width
    {"hex16 no bytes", [] { return show(vectorToHexUint16({})); }, "0", {}},
    {"hex16 leading zero", [] { return show(vectorToHexUint16({0x00, 0x01, 0x02})); }, "258", {}},
    {"hex16 many leading zeros", [] { return show(vectorToHexUint16({0, 0, 0, 0, 0xFF, 0xFF})); }, "65535", {}},
    {"hex16 three bytes", [] { return show(vectorToHexUint16({0x01, 0x02, 0x03})); }, "<empty>", {capacity(2)}},
    {"hex32 max", [] { return show(vectorToHexUint32({0xFF, 0xFF, 0xFF, 0xFF})); }, "4294967295", {}},
    {"hex32 five bytes", [] { return show(vectorToHexUint32({0x01, 0, 0, 0, 0})); }, "<empty>", {capacity(4)}},
    {"hex64 max", [] { return show(vectorToHexUint64(Bytes(8, 0xFF))); }, "18446744073709551615", {}},
    {"hex64 zero then eight", [] { Bytes b(9, 0x11); b[0] = 0; return show(vectorToHexUint64(b)); }, "1229782938247303441", {}},
    {"hex64 nine bytes", [] { Bytes b(9, 0); b[0] = 1; return show(vectorToHexUint64(b)); }, "<empty>", {capacity(8)}},

    // numbers to bytes and text
    {"vector of 0", [] { return show(uint64ToVector(0)); }, "[00]", {}},
    {"vector of 8", [] { return show(uint64ToVector(8)); }, "[08]", {}},
    {"vector of 0x0985", [] { return show(uint64ToVector(0x0985)); }, "[09 85]", {}},
    {"vector keeps inner zeros", [] { return show(uint64ToVector(0x01000000000000FFull)); }, "[01 00 00 00 00 00 00 FF]", {}},
    {"vector of max", [] { return show(uint64ToVector(std::numeric_limits<std::uint64_t>::max())); },
     "[FF FF FF FF FF FF FF FF]", {}},
    {"int64 negative", [] { return int64ToAscii(-42); }, "-42", {}},
    {"int64 min", [] { return int64ToAscii(std::numeric_limits<std::int64_t>::min()); }, "-9223372036854775808", {}},
    {"uint64 max", [] { return uint64ToAscii(std::numeric_limits<std::uint64_t>::max()); }, "18446744073709551615", {}},
    {"padded", [] { return uint64ToAscii(7, 3, '0'); }, "007", {}},
    {"padded never cuts", [] { return uint64ToAscii(12345, 3, '0'); }, "12345", {}},
    {"padded with blanks", [] { return uint64ToAscii(5, 4, ' '); }, "   5", {}},
    {"append u32", [] { Bytes d = text("A"); addUint32ToDataVector(4294967295u, d); return show(d); },
     "[41 34 32 39 34 39 36 37 32 39 35]", {}},
    {"append u64", [] { Bytes d; addUint64ToDataVector(18446744073709551615ull, d); return vectorToAscii(d); },
     "18446744073709551615", {}},
    {"append i64", [] { Bytes d = text("x"); addInt64ToDataVector(-5, d); return vectorToAscii(d); }, "x-5", {}},
    {"text bytes round trip", [] { return show(asciiToVector(std::string("a\0\xFF", 3))); }, "[61 00 FF]", {}},

    // BCD and hexadecimal
    {"bcd amount", [] { return show(bcdToAscii({0x00, 0x01, 0x25, 0x00})); }, "\"12500\"", {}},
    {"bcd inner zero kept", [] { return show(bcdToAscii({0x10, 0x05})); }, "\"1005\"", {}},
    {"bcd all zero", [] { return show(bcdToAscii({0x00, 0x00})); }, "\"\"", {}},
    {"bcd no bytes", [] { return show(bcdToAscii({})); }, "\"\"", {}},
    {"bcd nibble above nine", [] { return show(bcdToAscii({0x1A})); }, "\"110\"", {}},
    {"hex keep zeros", [] { return show(hexToAscii({0x00, 0x0A, 0x05})); }, "\"000A05\"", {}},
    {"hex drop zeros", [] { return show(hexToAscii({0x00, 0x0A, 0x05}, true)); }, "\"A05\"", {}},
    {"hex drop zeros two digits", [] { return show(hexToAscii({0x00, 0xAB, 0x00}, true)); }, "\"AB00\"", {}},
    {"hex drop all zero", [] { return show(hexToAscii({0x00, 0x00}, true)); }, "\"\"", {}},
    {"hex upper case", [] { return show(hexToAscii({0xab, 0xcd, 0xef})); }, "\"ABCDEF\"", {}},
    {"to bcd one digit", [] { return show(asciiToBcd("1")); }, "[01]", {}},
    {"to bcd odd count", [] { return show(asciiToBcd("12345")); }, "[01 23 45]", {}},
    {"to bcd even count", [] { return show(asciiToBcd("0985")); }, "[09 85]", {}},
    {"to bcd empty", [] { return show(asciiToBcd("")); }, "[]", {}},
    {"to bcd invalid", [] { return show(asciiToBcd("1.5")); }, "[]", {{kError, "Invalid byte 0x2E"}}},
    {"to bcd hex digit", [] { return show(asciiToBcd("1A")); }, "[]", {{kError, "Invalid byte 0x41"}}},
    {"to hex odd count", [] { return show(asciiToHex("abc")); }, "[0A BC]", {}},
    {"to hex mixed case", [] { return show(asciiToHex("0aFf")); }, "[0A FF]", {}},
    {"to hex invalid", [] { return show(asciiToHex("12G4")); }, "[]", {{kError, "Invalid byte 0x47"}}},
    {"to hex high byte", [] { return show(asciiToHex("1\xE9")); }, "[]", {{kError, "Invalid byte 0xE9"}}},

    // separated fields
    {"csv prompt", [] { return show(csvToFields("10,1,A,1,Enter code", ',', 5)); },
     "\"10\" \"1\" \"A\" \"1\" \"Enter code\" ", {}},
    {"csv fewer than max", [] { return show(csvToFields("10,1,A,1", ',', 5)); }, "\"10\" \"1\" \"A\" \"1\" ", {}},
    {"csv rest in last field", [] { return show(csvToFields("a,b,c,d,e,f", ',', 5)); },
     "\"a\" \"b\" \"c\" \"d\" \"e,f\" ", {}},
    {"csv max one", [] { return show(csvToFields("a,b,", ',', 1)); }, "\"a,b,\" ", {}},
    {"csv empty field", [] { return show(csvToFields("a,,b", ',')); }, "\"a\" \"\" \"b\" ", {}},
    {"csv trailing separator", [] { return show(csvToFields("a,b,", ',')); }, "\"a\" \"b\" ", {}},
    {"csv leading separator", [] { return show(csvToFields(",a", ',')); }, "\"\" \"a\" ", {}},
    {"csv empty text", [] { return show(csvToFields("", ',', 3)); }, "", {}},
    {"csv max zero is no limit", [] { return show(csvToFields("a|b|c", '|', 0)); }, "\"a\" \"b\" \"c\" ", {}},
    {"csv last field from separator", [] { return show(csvToFields("a,b,,c", ',', 3)); }, "\"a\" \"b\" \",c\" ", {}},

    // currencies
    {"label PLN", [] { return show(currencyLabelToCurrencyCode("PLN")); }, "[09 85]", {}},
    {"label ALL one byte", [] { return show(currencyLabelToCurrencyCode("ALL")); }, "[08]", {}},
    {"label lower case", [] { return show(currencyLabelToCurrencyCode("pln")); }, "[]",
     {{kError, "Unable to find currency code for label pln"}}},
    {"label longer", [] { return show(currencyLabelToCurrencyCode("PLNX")); }, "[]",
     {{kError, "Unable to find currency code for label PLNX"}}},
    {"label with NUL", [] { return show(currencyLabelToCurrencyCode(std::string("PLN\0", 4))); }, "[]",
     {{kError, "Unable to find currency code for label PLN"}}},
    {"code PLN", [] { return show(currencyCodeToCurrencyLabel({0x09, 0x85})); }, "\"PLN\"", {}},
    {"code LTL at the end", [] { return show(currencyCodeToCurrencyLabel({0x04, 0x40})); }, "\"LTL\"", {}},
    {"code with leading zero byte", [] { return show(currencyCodeToCurrencyLabel({0x00, 0x09, 0x78})); }, "\"EUR\"", {}},
    {"code one byte", [] { return show(currencyCodeToCurrencyLabel({0x08})); }, "\"ALL\"", {}},
    {"code unknown", [] { return show(currencyCodeToCurrencyLabel({0x12, 0x34})); }, "\"\"",
     {{kError, "Unable to find label for currency code 0x1234"}}},
    {"code no bytes", [] { return show(currencyCodeToCurrencyLabel({})); }, "\"\"",
     {{kError, "Unable to find label for currency code 0x0000"}}},
    {"code too long", [] { return show(currencyCodeToCurrencyLabel({0x01, 0x09, 0x85})); }, "\"\"",
     {capacity(2), {kError, "Unable to get currency code"}}},
};

class ConverterTable : public ::testing::TestWithParam<ConverterCase> {};

TEST_P(ConverterTable, GivesResultAndLogsReason) {
  DevLogCapture log;
  const ConverterCase& c = GetParam();
  EXPECT_EQ(c.run(), c.expected);
  EXPECT_EQ(log.atLeast(kWarn), c.warnings);
}

INSTANTIATE_TEST_SUITE_P(Edges, ConverterTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ConverterCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) {
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

TEST(ConvertersHex, LogsTitleAndDumpAtDebug) {
  DevLogCapture log;
  ASSERT_TRUE(vectorToHexUint32({0x12, 0x34}).isPresent());
  const std::vector<std::string> lines = log.texts();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "Convert to uint32_t (hex):");
  EXPECT_EQ(log.atLeast(LOG4C_PRIORITY_DEBUG).size(), lines.size()) << "every line at debug";
  EXPECT_TRUE(log.atLeast(kWarn).empty());
}

TEST(ConvertersTransactionResult, AcceptsOnlyTheTerminalsCodes) {
  for (unsigned int value : {0u, 1u, 2u, 7u}) {
    ecr_transactionResult out = static_cast<ecr_transactionResult>(99);
    EXPECT_TRUE(convertUint32ToTransactionResult(value, out)) << value;
    EXPECT_EQ(static_cast<unsigned>(out), value);
  }
  for (unsigned int value : {3u, 6u, 8u, 64u, std::numeric_limits<unsigned int>::max()}) {
    ecr_transactionResult out = ECR_TRANSACTION_RESULT_2;
    EXPECT_FALSE(convertUint32ToTransactionResult(value, out)) << value;
    EXPECT_EQ(out, ECR_TRANSACTION_RESULT_2) << "left unchanged for " << value;
  }
}

}  // namespace

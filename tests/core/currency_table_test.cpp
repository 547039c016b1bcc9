#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/Converters.h"
#include "core/CurrencyTable.h"

namespace {

using namespace zq::app::utils;

// Debian's iso-codes package: the current ISO 4217 list.
const char* const kIsoCodesFile = "/usr/share/iso-codes/json/iso_4217.json";

// Rows ISO 4217 has withdrawn that terminals still report, with the numbers
// the table keeps for them.
const std::map<std::string, std::string> kWithdrawn = {
    {"BYR", "974"}, {"HRK", "191"}, {"LTL", "440"}, {"MRO", "478"}, {"STD", "678"}, {"VEF", "937"}};

// A reader for the one shape of that file: {"4217": [ {"key": "text", ...}, ... ]}.
// Every value is a string; anything else is reported as a parse failure.
class IsoReader {
 public:
  explicit IsoReader(std::string text) : text_(std::move(text)) {}

  // alpha_3 -> numeric; empty with `error` set when the file is not of that shape.
  std::map<std::string, std::string> read(std::string& error) {
    std::map<std::string, std::string> out;
    std::string key;
    if (!expect('{') || !string(key) || key != "4217" || !expect(':') || !expect('[')) {
      error = "no \"4217\" list at " + std::to_string(pos_);
      return {};
    }
    if (peek() == ']') {
      return out;
    }
    do {
      std::map<std::string, std::string> entry;
      if (!object(entry)) {
        error = "bad entry at " + std::to_string(pos_);
        return {};
      }
      if (!entry.count("alpha_3") || !entry.count("numeric")) {
        error = "entry without alpha_3 or numeric before " + std::to_string(pos_);
        return {};
      }
      out[entry["alpha_3"]] = entry["numeric"];
    } while (accept(','));
    if (!expect(']') || !expect('}')) {
      error = "unterminated list at " + std::to_string(pos_);
      return {};
    }
    return out;
  }

 private:
  void skipBlanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  char peek() {
    skipBlanks();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  bool accept(char c) {
    if (peek() != c) return false;
    ++pos_;
    return true;
  }
  bool expect(char c) { return accept(c); }
  bool string(std::string& out) {
    out.clear();
    if (!accept('"')) return false;
    while (pos_ < text_.size()) {
      char c = text_[pos_++];
      if (c == '"') return true;
      if (c == '\\') {
        if (pos_ >= text_.size()) return false;
        c = text_[pos_++];
        if (c == 'u') {  // keep the escape as written: only labels and numbers are compared
          out += "\\u";
          continue;
        }
      }
      out += c;
    }
    return false;
  }
  bool object(std::map<std::string, std::string>& out) {
    if (!expect('{')) return false;
    if (accept('}')) return true;
    do {
      std::string key;
      std::string value;
      if (!string(key) || !expect(':') || !string(value)) return false;
      out[key] = value;
    } while (accept(','));
    return expect('}');
  }

  std::string text_;
  size_t pos_ = 0;
};

class CurrencyTableIso : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(kIsoCodesFile);
    ASSERT_TRUE(in) << kIsoCodesFile << " is missing: install Debian's iso-codes package";
    std::stringstream content;
    content << in.rdbuf();
    std::string error;
    iso_ = IsoReader(content.str()).read(error);
    ASSERT_TRUE(error.empty()) << kIsoCodesFile << ": " << error;
    ASSERT_GT(iso_.size(), 150u);
    ASSERT_EQ(iso_.at("PLN"), "985") << "reader self-check";
  }

  // "985" -> 0x0985, the four BCD digits the table holds.
  static unsigned bcdOf(const std::string& numeric) {
    unsigned bcd = 0;
    for (char c : numeric) bcd = (bcd << 4) | static_cast<unsigned>(c - '0');
    return bcd;
  }

  std::map<std::string, std::string> iso_;
};

TEST_F(CurrencyTableIso, EveryRowAgreesWithIsoOrIsAKnownWithdrawnCode) {
  std::set<std::string> withdrawnSeen;
  for (const Currency& row : currencyTable) {
    const std::string label = row.label;
    const auto current = iso_.find(label);
    const auto withdrawn = kWithdrawn.find(label);
    if (withdrawn != kWithdrawn.end()) {
      withdrawnSeen.insert(label);
      EXPECT_EQ(row.code, bcdOf(withdrawn->second)) << label << " keeps its former number";
    }
    if (current != iso_.end()) {
      EXPECT_EQ(row.code, bcdOf(current->second)) << label << " against ISO " << current->second;
    } else {
      EXPECT_NE(withdrawn, kWithdrawn.end()) << label << " is neither current nor a known withdrawn code";
    }
  }
  EXPECT_EQ(withdrawnSeen.size(), kWithdrawn.size());
}

TEST_F(CurrencyTableIso, LabelToCodeAndBackGiveIsoNumbers) {
  for (const Currency& row : currencyTable) {
    const std::string label = row.label;
    const auto current = iso_.find(label);
    const std::string numeric = current != iso_.end() ? current->second : kWithdrawn.at(label);
    // BCD bytes without a leading zero byte: 985 is 09 85, 008 is 08.
    const unsigned bcd = bcdOf(numeric);
    const std::vector<unsigned char> expected =
        bcd >= 0x100 ? std::vector<unsigned char>{static_cast<unsigned char>(bcd >> 8),
                                                  static_cast<unsigned char>(bcd & 0xFF)}
                     : std::vector<unsigned char>{static_cast<unsigned char>(bcd)};
    const std::vector<unsigned char> code = currencyLabelToCurrencyCode(label);
    EXPECT_EQ(code, expected) << label;
    EXPECT_EQ(currencyCodeToCurrencyLabel(code), label) << label;
  }
}

TEST(CurrencyTable, HoldsTheTerminalsRowsInOrder) {
  ASSERT_EQ(sizeof currencyTable / sizeof currencyTable[0], 180u);
  std::set<std::string> labels;
  std::set<unsigned> codes;
  for (size_t i = 0; i < currencyTableSize; ++i) {
    const std::string label = currencyTable[i].label;
    EXPECT_EQ(label.size(), 3u) << i;
    for (char c : label) EXPECT_TRUE(c >= 'A' && c <= 'Z') << label;
    labels.insert(label);
    codes.insert(currencyTable[i].code);
    // Alphabetical, except LTL, which came last and stays there.
    if (i > 0 && i + 1 < currencyTableSize) {
      EXPECT_LT(std::string(currencyTable[i - 1].label), label) << "row " << i;
    }
  }
  EXPECT_EQ(std::string(currencyTable[currencyTableSize - 1].label), "LTL");
  EXPECT_EQ(labels.size(), 180u) << "labels are unique";
  EXPECT_EQ(codes.size(), 180u) << "codes are unique, so a code finds one label";
  for (const char* successor : {"MRU", "STN", "VES"}) {
    EXPECT_EQ(labels.count(successor), 0u) << successor;
  }
  for (const char* kept : {"BYN", "BYR", "XTS", "XXX", "BOV", "CHE", "CHW", "CLF", "COU", "MXV", "USN", "UYI", "XAU"}) {
    EXPECT_EQ(labels.count(kept), 1u) << kept;
  }
}

}  // namespace

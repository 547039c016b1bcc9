#include "protocol/ReportSummary.h"

#include <cctype>
#include <limits>

#include "core/Converters.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

namespace {

// A decimal number as the terminal writes it in a summary: leading blanks
// and one sign allowed, reading stops at the first non-digit, no digits give
// 0. Values beyond 64 bits are held at the nearest limit instead of wrapping.
int64_t readDecimal(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Accumulate towards the sign so that the most negative value fits too.
  const int64_t limit =
      negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    const int digit = text[pos] - '0';
    if (negative) {
      if (value < (limit + digit) / 10) return limit;
      value = value * 10 - digit;
    } else {
      if (value > (limit - digit) / 10) return limit;
      value = value * 10 + digit;
    }
  }
  return value;
}

uint32_t toCount(int64_t value) {
  // A count cannot be negative; a negative text would otherwise wrap into a
  // huge count on the report.
  if (value < 0) return 0;
  if (value > static_cast<int64_t>(std::numeric_limits<uint32_t>::max())) {
    return std::numeric_limits<uint32_t>::max();
  }
  return static_cast<uint32_t>(value);
}

}  // namespace

SummaryEntry::SummaryEntry()
    : transactionCount(0), summaryAmount(0), summaryAmountValid(false) {}

SummaryEntry::SummaryEntry(const std::string& text) : SummaryEntry() {
  const std::vector<std::string> fields = utils::csvToFields(text, '|');
  if (fields.size() < 2) {
    logDevError("Invalid summary entry aquired: %s", text.c_str());
    return;
  }
  entryType = fields[0];
  transactionCount = toCount(readDecimal(fields[1]));
  if (fields.size() >= 3) {
    summaryAmount = readDecimal(fields[2]);
    summaryAmountValid = true;
  }
}

ReportSummary::ReportSummary(const std::string& text) : data(text) {
  if (text.empty()) {
    logDevError("Empty report data");
    return;
  }
  const std::vector<std::string> fields = utils::csvToFields(text, ',');
  if (fields.empty()) return;
  title = fields[0];
  for (size_t i = 1; i < fields.size(); ++i) {
    entries.push_back(SummaryEntry(fields[i]));
  }
}

utils::Optional<SummaryEntry> ReportSummary::getEntry(const size_t& index) const {
  if (index >= entries.size()) {
    logDevWarn("No summary entry with requested ID");
    return utils::Optional<SummaryEntry>();
  }
  return utils::Optional<SummaryEntry>(entries[index]);
}

}  // namespace zq::app::protocols

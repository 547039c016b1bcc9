// The summary text of the last report reply, split into its title and its
// entries.
//
// The terminal sends "title,entry,entry,..." where each entry is
// "type|count" or "type|count|amount" (amount in minor units).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Optional.h"

namespace zq::app::protocols {

class SummaryEntry {
 public:
  SummaryEntry();
  // Parses one entry; a text with fewer than two '|' fields gives an entry
  // with an empty type, count 0 and no valid amount.
  explicit SummaryEntry(const std::string& text);

  uint32_t getTransactionCount() const { return transactionCount; }
  // Signed 64-bit: report totals can exceed what 32 bits hold in minor units.
  int64_t getSummaryAmount() const { return summaryAmount; }
  std::string getEntryType() const { return entryType; }
  bool getSummaryAmountValid() const { return summaryAmountValid; }

 private:
  uint32_t transactionCount;
  int64_t summaryAmount;
  std::string entryType;
  bool summaryAmountValid;
};

class ReportSummary {
 public:
  ReportSummary() = default;
  explicit ReportSummary(const std::string& text);

  std::string getData() const { return data; }
  std::string getTitle() const { return title; }
  // A copy of entry `index` (from 0); none beyond the last entry.
  utils::Optional<SummaryEntry> getEntry(const size_t& index) const;
  void clearEntries() { entries.clear(); }

 private:
  std::string data;
  std::string title;
  std::vector<SummaryEntry> entries;
};

}  // namespace zq::app::protocols

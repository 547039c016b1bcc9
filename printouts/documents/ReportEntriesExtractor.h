// The entries of the report section the terminal context holds: a column
// header, then one line of name, count and amount per entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "printouts/documents/ExtractorWithBuildingAmountLine.h"

namespace zq::app::printouts {

class ReportEntriesExtractor : public StandardExtractorWithBuildingAmountLine {
 public:
  // Every entry the terminal context holds, until the first it cannot read.
  void addEntriesToPrintout(EcrCtx_s* ecr, const unsigned& width);
  // One entry; false when there is none left (or it cannot be read).
  bool tryToReadNextEntry(const unsigned& width);
  // The column header, before the first entry only.
  void addHeader() const;

  // The count and amount column labels over a list of rows; the closing day
  // prints its rows under the same header.
  static void addColumnHeader();

 private:
  size_t entryIndex = 1;  // of the next entry to read, counted from 1
  std::vector<uint8_t> name;  // what the reader writes the entry's name into
};

}  // namespace zq::app::printouts

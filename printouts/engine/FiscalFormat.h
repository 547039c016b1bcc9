// The fiscal line table: for each fiscal line id the fiscal printer's line
// number and the longest text that line takes.
#pragma once

#include <cstdint>
#include <map>

#include "zumbra_printout_types.h"

namespace zq::app::printouts {

class FiscalFormat {
 public:
  // The process-wide table, filled with the built-in entries on first use.
  static FiscalFormat& getInstance();

  virtual ~FiscalFormat();

  // The entry of id, read through the DCC remap while the switch is on. An id
  // without an entry reads as {0, 0} and is kept with that entry.
  pr_FiscalFormatLine& getLine(pr_FiscalFormatId id);
  uint32_t getId(pr_FiscalFormatId id);
  uint32_t getLen(pr_FiscalFormatId id);

  // The width of fiscal lines: the len of PR_FISCAL_GENERIC, but never more
  // than a print line holds. A host may store a larger len; laying text out on
  // it would push the end of right-aligned and centred text past the 64 bytes
  // a line keeps, so every fiscal layout reads its width here.
  uint32_t getLineWidth();

  // Stores line under id exactly; the DCC switch never redirects a write.
  void set(pr_FiscalFormatId id, const pr_FiscalFormatLine& line);
  // On while the fiscal receipt of a DCC transaction prints.
  void setDcc(bool on);

 private:
  FiscalFormat();
  FiscalFormat(const FiscalFormat&) = delete;
  FiscalFormat& operator=(const FiscalFormat&) = delete;

  static pr_FiscalFormatId dccVariant(pr_FiscalFormatId id);

  std::map<pr_FiscalFormatId, pr_FiscalFormatLine> formatLines;
  bool dcc = false;
};

}  // namespace zq::app::printouts

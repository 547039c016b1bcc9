// The printout context: the lines of the current printout, its line widths
// and read cursor, and the twenty operations through which text lines enter.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "printouts/engine/RawLineTexts.h"
#include "zumbra_printout_types.h"

// Hosts receive pr_Line by copy, so its layout is part of the interface.
static_assert(sizeof(uint32_t) == 4, "32-bit fields");
static_assert(offsetof(pr_Line, id) == 0, "pr_Line.id first");
static_assert(offsetof(pr_Line, text) == 4, "pr_Line.text after id");
static_assert(sizeof(static_cast<pr_Line*>(nullptr)->text) == 65, "64 text bytes and a NUL");
static_assert(offsetof(pr_Line, fontSize) == 72, "pr_Line.fontSize after the text");
static_assert(offsetof(pr_Line, negative) == 76, "pr_Line.negative");
static_assert(offsetof(pr_Line, lineType) == 80, "pr_Line.lineType");
static_assert(offsetof(pr_Line, pictureType) == 84, "pr_Line.pictureType");
static_assert(offsetof(pr_Line, bold) == 88, "pr_Line.bold last");
static_assert(sizeof(pr_Line) == 92, "pr_Line size");
static_assert(sizeof(pr_FiscalFormatLine) == 8, "pr_FiscalFormatLine: two 32-bit fields");
static_assert(sizeof(pr_Dictionary) == 4 && sizeof(pr_FiscalFormatId) == 4 &&
                  sizeof(pr_PictureType) == 4,
              "32-bit enumerations");

namespace zq::app::printouts {
class Batch;
}

struct PrintoutCtx_s {
  // Creates a context with widths of 64 and no lines, and binds the line
  // adders to it.
  PrintoutCtx_s();
  // Unbinds the line adders still bound to this context.
  virtual ~PrintoutCtx_s();
  PrintoutCtx_s(const PrintoutCtx_s&) = delete;
  PrintoutCtx_s& operator=(const PrintoutCtx_s&) = delete;

  // Appends a copy of line; the only way lines enter a context.
  void add(const pr_Line& line);

  // Points every line adder (and with it the width of every standard
  // formatter) at ctx, or unbinds them all for null. A new context does this
  // for itself; a printout built on a context that is not the newest one binds
  // that context when it starts, so that its lines land on it and are laid out
  // on its widths.
  static void bindLineAdders(PrintoutCtx_s* ctx);

  // Fiscal lines: the id is the printer line number of fmt.
  using RawLineTexts = zq::app::printouts::RawLineTexts;
  static void addFiscalSimpleLeftLineToCtx(const RawLineTexts& texts, const pr_FiscalFormatId& fmt);
  static void addFiscalSimpleRightLineToCtx(const RawLineTexts& texts, const pr_FiscalFormatId& fmt);
  static void addFiscalSimpleCenterLineToCtx(const RawLineTexts& texts, const pr_FiscalFormatId& fmt);
  static void addFiscalSimpleTwoTextsLineToCtx(const RawLineTexts& texts, const pr_FiscalFormatId& fmt);
  static void addFiscalSimpleUnformattedLineToCtx(const RawLineTexts& texts, const pr_FiscalFormatId& fmt);
  // Standard lines: the id is the line's index in the context.
  static void addStandardSimpleLeftLineToCtx(const RawLineTexts& texts);
  static void addStandardBigLeftLineToCtx(const RawLineTexts& texts);
  static void addStandardBoldLeftLineToCtx(const RawLineTexts& texts);
  static void addStandardSimpleRightLineToCtx(const RawLineTexts& texts);
  static void addStandardBigBoldCenterLineToCtx(const RawLineTexts& texts);
  static void addStandardBigCenterLineToCtx(const RawLineTexts& texts);
  static void addStandardBoldCenterLineToCtx(const RawLineTexts& texts);
  static void addStandardNegativeBigBoldCenterLineToCtx(const RawLineTexts& texts);
  static void addStandardNegativeCenterLineToCtx(const RawLineTexts& texts);
  static void addStandardSimpleCenterLineToCtx(const RawLineTexts& texts);
  static void addStandardSmallCenterLineToCtx(const RawLineTexts& texts);
  static void addStandardBoldTwoTextsLineToCtx(const RawLineTexts& texts);
  static void addStandardSimpleTwoTextsLineToCtx(const RawLineTexts& texts);
  static void addStandardSimpleThreeTextsLineToCtx(const RawLineTexts& texts);
  static void addStandardSimpleUnformattedLineToCtx(const RawLineTexts& texts);

  // The thread inside a call on this context, if any (see PrintoutCtxClaim);
  // first, so that it is destroyed last.
  std::atomic<std::thread::id> user{std::thread::id()};

  uint32_t normalLineLen = PR_LINE_TEXT_MAX_LEN;
  uint32_t smallLineLen = PR_LINE_TEXT_MAX_LEN;
  uint32_t bigLineLen = PR_LINE_TEXT_MAX_LEN;
  std::vector<pr_Line> lines;
  uint64_t nextLine = 0;  // index of the next line handed to the host
  bool dcc = false;
  bool multilang = false;
  // The normal width a fiscal report found when it started, put back when a
  // fiscal report finishes; empty while no fiscal report is open here. It is
  // the context's own, so it goes with the context, and a width the host sets
  // afterwards replaces it (a report left unfinished has nothing to restore).
  std::optional<uint32_t> widthBeforeFiscalReport;
  // The closing-day batch, owned by the context. The batch model lives with
  // the printout documents; a shared_ptr takes its deleter from the place the
  // batch is made, so the context can own and destroy it without knowing it.
  std::shared_ptr<zq::app::printouts::Batch> batch;

  static bool hideAddress_;                // printouts leave out the address lines
  static bool useSignatureVerifiedLine_;   // customer copies print "signature verified"
};

namespace zq::app::printouts {

// Claims a printout context for the length of one call: a printout that is
// being built, or its lines handed out, must not be destroyed or changed by
// another call, whether it comes from a callback the call raised or from
// another thread. A claimed context refuses every other claim, also of its
// own thread. Taken without waiting and without a line of its own, before
// the call's first log line; a NULL context needs no claim.
class PrintoutCtxClaim {
 public:
  explicit PrintoutCtxClaim(PrintoutCtx_s* ctx) noexcept;
  ~PrintoutCtxClaim();
  PrintoutCtxClaim(const PrintoutCtxClaim&) = delete;
  PrintoutCtxClaim& operator=(const PrintoutCtxClaim&) = delete;

  bool granted() const { return granted_; }
  // True when refused, after logging "Printout context busy, call refused".
  bool refused() const;
  // The context is about to be destroyed under its claim: nothing to release.
  void forget() { held_ = false; }

 private:
  PrintoutCtx_s* const ctx_;
  bool granted_ = true;
  bool held_ = false;
};

// The line a refused printout call logs.
void logPrintoutBusy();

}  // namespace zq::app::printouts

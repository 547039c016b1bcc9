#include "printouts/engine/PrintoutCtx.h"

#include "core/zumbra_log.h"
#include "printouts/engine/LineAdder.h"

namespace pr = zq::app::printouts;

bool PrintoutCtx_s::hideAddress_ = false;
bool PrintoutCtx_s::useSignatureVerifiedLine_ = false;

PrintoutCtx_s::PrintoutCtx_s() { bindLineAdders(this); }

PrintoutCtx_s::~PrintoutCtx_s() {
  // Only adders still pointing here: another context may hold them by now.
  for (pr::LineAdderInterface* adder : pr::allLineAdders()) {
    if (adder->getCtx() == this) adder->setCtx(nullptr);
  }
}

void PrintoutCtx_s::add(const pr_Line& line) { lines.push_back(line); }

void PrintoutCtx_s::bindLineAdders(PrintoutCtx_s* ctx) {
  for (pr::LineAdderInterface* adder : pr::allLineAdders()) adder->setCtx(ctx);
}

void PrintoutCtx_s::addFiscalSimpleLeftLineToCtx(const RawLineTexts& texts, const pr_FiscalFormatId& fmt) {
  pr::lineAdders().fiscalSimpleLeftLineAdder.addLine(texts, fmt);
}
void PrintoutCtx_s::addFiscalSimpleRightLineToCtx(const RawLineTexts& texts, const pr_FiscalFormatId& fmt) {
  pr::lineAdders().fiscalSimpleRightLineAdder.addLine(texts, fmt);
}
void PrintoutCtx_s::addFiscalSimpleCenterLineToCtx(const RawLineTexts& texts, const pr_FiscalFormatId& fmt) {
  pr::lineAdders().fiscalSimpleCenterLineAdder.addLine(texts, fmt);
}
void PrintoutCtx_s::addFiscalSimpleTwoTextsLineToCtx(const RawLineTexts& texts, const pr_FiscalFormatId& fmt) {
  pr::lineAdders().fiscalSimpleTwoTextsLineAdder.addLine(texts, fmt);
}
void PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(const RawLineTexts& texts,
                                                        const pr_FiscalFormatId& fmt) {
  pr::lineAdders().fiscalSimpleUnformattedLineAdder.addLine(texts, fmt);
}
void PrintoutCtx_s::addStandardSimpleLeftLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardSimpleLeftLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardBigLeftLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardBigLeftLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardBoldLeftLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardBoldLeftLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardSimpleRightLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardSimpleRightLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardBigBoldCenterLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardBigBoldCenterLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardBigCenterLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardBigCenterLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardBoldCenterLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardBoldCenterLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardNegativeBigBoldCenterLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardNegativeBigBoldCenterLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardNegativeCenterLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardNegativeCenterLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardSimpleCenterLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardSimpleCenterLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardSmallCenterLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardSmallCenterLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardBoldTwoTextsLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardBoldTwoTextsLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardSimpleTwoTextsLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardSimpleTwoTextsLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardSimpleThreeTextsLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardSimpleThreeTextsLineAdder.addLine(texts);
}
void PrintoutCtx_s::addStandardSimpleUnformattedLineToCtx(const RawLineTexts& texts) {
  pr::lineAdders().standardSimpleUnformattedLineAdder.addLine(texts);
}

namespace zq::app::printouts {

PrintoutCtxClaim::PrintoutCtxClaim(PrintoutCtx_s* ctx) noexcept : ctx_(ctx) {
  if (ctx_ == nullptr) return;
  std::thread::id nobody;
  granted_ = ctx_->user.compare_exchange_strong(nobody, std::this_thread::get_id(),
                                                std::memory_order_acquire);
  held_ = granted_;
}

PrintoutCtxClaim::~PrintoutCtxClaim() {
  if (held_) ctx_->user.store(std::thread::id(), std::memory_order_release);
}

bool PrintoutCtxClaim::refused() const {
  if (granted_) return false;
  logPrintoutBusy();
  return true;
}

void logPrintoutBusy() { logBusError("Printout context busy, call refused"); }

}  // namespace zq::app::printouts

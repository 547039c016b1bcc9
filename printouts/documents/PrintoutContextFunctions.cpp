// The printout functions that need no terminal: creating and destroying the
// printout context, the dictionary, the fiscal line table, the line lengths,
// the two switches, and handing out the lines.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ExportGuard.h"
#include "core/zumbra_log.h"
#include "printouts/documents/PrintoutBuilder.h"
#include "printouts/engine/FiscalFormat.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"
#include "zumbra_printout.h"

using zq::app::printouts::PRINTOUT_NO_MORE_LINES;
using zq::app::printouts::PRINTOUT_NULL_CTX;
using zq::app::printouts::PRINTOUT_OK;
using zq::app::printouts::PRINTOUT_VALUE_REFUSED;
using zq::app::utils::guardExport;
using zq::app::utils::guardExportVoid;

namespace {

uint32_t refuseNullCtx() {
  logBusError("NULL CTX argument provided");
  return PRINTOUT_NULL_CTX;
}

const char* trueOrFalse(bool value) { return value ? "true" : "false"; }

uint32_t setLineLen(const char* function, PrintoutCtx_s* ctx, uint32_t len,
                    uint32_t PrintoutCtx_s::*field) {
  return guardExport(function, static_cast<uint32_t>(PRINTOUT_NULL_CTX), [&]() -> uint32_t {
    if (ctx == nullptr) return refuseNullCtx();
    if (len > PR_LINE_TEXT_MAX_LEN) {
      logBusError("Provided line length %u exceeds max line len %d", static_cast<unsigned>(len),
                  PR_LINE_TEXT_MAX_LEN);
      return PRINTOUT_VALUE_REFUSED;
    }
    ctx->*field = len;
    return PRINTOUT_OK;
  });
}

}  // namespace

uint32_t pr_initPrintoutCtx(PrintoutCtx_s** ctx) {
  return guardExport(__func__, static_cast<uint32_t>(PRINTOUT_NULL_CTX), [&]() -> uint32_t {
    logBusInfo("Initialize printout context");
    if (ctx == nullptr) return refuseNullCtx();
    if (*ctx != nullptr) {
      logBusWarn("Pointer to printout context not NULL, make sure resources do not leak");
    }
    *ctx = new PrintoutCtx_s();
    return PRINTOUT_OK;
  });
}

void pr_cleanPrintoutCtx(PrintoutCtx_s** ctx) {
  guardExportVoid(__func__, [&] {
    logBusInfo("Clean printout context");
    if (ctx == nullptr) return;
    delete *ctx;
    *ctx = nullptr;
  });
}

void pr_setDictionaryPhrase(pr_Dictionary id, const char* text) {
  guardExportVoid(__func__, [&] {
    logBusTrace("Set phrase 0x%02X to %s", static_cast<unsigned>(id), text ? text : "(null)");
    if (text == nullptr) {
      logBusError("NULL pointer provided");
      return;
    }
    zq::app::printouts::PrintDictionary::getInstance().set(id, text);
  });
}

uint32_t pr_setupDictionary(const pr_Dictionary* ids, size_t idCount, const char* const* texts,
                            size_t textCount) {
  return guardExport(__func__, static_cast<uint32_t>(PRINTOUT_VALUE_REFUSED), [&]() -> uint32_t {
    if (idCount != textCount) {
      logBusError("Number of provided phrases (%u) does not match number of texts (%u)",
                  static_cast<unsigned>(idCount), static_cast<unsigned>(textCount));
      return PRINTOUT_VALUE_REFUSED;
    }
    // All pairs or none: a missing array or text refuses the whole set.
    bool complete = idCount == 0 || (ids != nullptr && texts != nullptr);
    for (size_t i = 0; complete && i < textCount; ++i) complete = texts[i] != nullptr;
    if (!complete) {
      logBusError("NULL pointer provided");
      return PRINTOUT_VALUE_REFUSED;
    }
    for (size_t i = 0; i < idCount; ++i) pr_setDictionaryPhrase(ids[i], texts[i]);
    return PRINTOUT_OK;
  });
}

void pr_setFiscalFormatLine(pr_FiscalFormatId id, pr_FiscalFormatLine line) {
  guardExportVoid(__func__, [&] { zq::app::printouts::FiscalFormat::getInstance().set(id, line); });
}

uint32_t pr_setNormalLineLen(PrintoutCtx_s* ctx, uint32_t len) {
  return setLineLen(__func__, ctx, len, &PrintoutCtx_s::normalLineLen);
}

uint32_t pr_setSmallLineLen(PrintoutCtx_s* ctx, uint32_t len) {
  return setLineLen(__func__, ctx, len, &PrintoutCtx_s::smallLineLen);
}

uint32_t pr_setBigLineLen(PrintoutCtx_s* ctx, uint32_t len) {
  return setLineLen(__func__, ctx, len, &PrintoutCtx_s::bigLineLen);
}

void pr_setHidingAddress(bool hide) {
  logBusTrace("Setting hiding address to %s", trueOrFalse(hide));
  PrintoutCtx_s::hideAddress_ = hide;
}

void pr_setUsingSignatureVerifiedLine(bool use) {
  logBusTrace("Setting using Signature Verified Line to %s", trueOrFalse(use));
  PrintoutCtx_s::useSignatureVerifiedLine_ = use;
}

uint32_t pr_getNumberOfLines(PrintoutCtx_s* ctx) {
  return guardExport(__func__, 0u, [&]() -> uint32_t {
    if (ctx == nullptr) {
      logBusError("Printout context not initialized, unable to extract number of lines");
      return 0;
    }
    const uint32_t count = static_cast<uint32_t>(ctx->lines.size());
    logBusTrace("Lines available for printing: %u", static_cast<unsigned>(count));
    return count;
  });
}

uint32_t pr_getNextLine(PrintoutCtx_s* ctx, pr_Line* line) {
  return guardExport(__func__, static_cast<uint32_t>(PRINTOUT_NULL_CTX), [&]() -> uint32_t {
    if (ctx == nullptr || line == nullptr) return refuseNullCtx();
    if (ctx->nextLine >= ctx->lines.size()) {
      logBusDebug("No more lines available for printing");
      return PRINTOUT_NO_MORE_LINES;
    }
    logBusDebug("Extracting printing line %u", static_cast<unsigned>(ctx->nextLine));
    *line = ctx->lines[static_cast<size_t>(ctx->nextLine)];
    ++ctx->nextLine;
    return PRINTOUT_OK;
  });
}

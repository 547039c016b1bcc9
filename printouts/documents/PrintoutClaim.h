// What a printout function holds while it builds a printout, and the guard
// it runs in.
#pragma once

#include <cstdint>
#include <optional>

#include "api/EcrCtx.h"
#include "core/ExportGuard.h"
#include "printouts/documents/PrintoutBuilder.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

// A printout holds, for its whole call: the printout machinery of the
// process (the long-report builders, the line adders and the dictionary's
// switch serve one printout at a time, and a printout started inside
// another would leave the first one's builder pointing at the second one's
// contexts), its printout context, and its terminal context for
// CtxUse::PRINTOUT, so that neither is destroyed or changed under it by a
// call from a callback of its reads or from another thread. Taken in that
// order, each only once the one before is held, before the call's first
// log line. NULL contexts need no claim: the builder refuses them.
class PrintoutClaim {
 public:
  PrintoutClaim(PrintoutCtx_s* ctx, EcrCtx_s* ecr) noexcept;
  ~PrintoutClaim();
  PrintoutClaim(const PrintoutClaim&) = delete;
  PrintoutClaim& operator=(const PrintoutClaim&) = delete;

  // True when refused, after logging the busy line of what was busy.
  bool refused() const;

 private:
  bool machineryRefused_ = false;
  bool machineryHeld_ = false;
  std::optional<PrintoutCtxClaim> printout_;
  std::optional<api::EcrCtxClaim> terminal_;
};

// A printout function: the claims, then the body under the export guard;
// a refusal or whatever escapes the body answers PRINTOUT_NULL_CTX.
template <typename Body>
uint32_t claimedPrintout(const char* function, PrintoutCtx_s* ctx, EcrCtx_s* ecr, Body&& body) noexcept {
  const PrintoutClaim claim(ctx, ecr);
  return utils::guardExport(function, static_cast<uint32_t>(PRINTOUT_NULL_CTX), [&]() -> uint32_t {
    if (claim.refused()) return PRINTOUT_NULL_CTX;
    return body();
  });
}

}  // namespace zq::app::printouts

// Small pieces every terminal function file shares.
#pragma once

#include "api/EcrCtx.h"
#include "api/ExportGuard.h"
#include "core/zumbra_log.h"

namespace zq::app::api {

// Texts that a host passed as NULL are logged as such instead of being
// handed to printf.
inline const char* printable(const char* text) { return text ? text : "(null)"; }

// A function whose body is still to come: it runs the context guard
// (ECR_NOT_INITIALIZED) and then answers ECR_NOT_IMPLEMENTED, touching
// neither the terminal nor the context.
inline ecr_status notImplementedAfterGuard(EcrCtx_s* ctx, const char* function) noexcept {
  return zq::app::utils::guardExport(function, ECR_ERROR, [&]() -> ecr_status {
    if (!checkContext(ctx)) return ECR_NOT_INITIALIZED;
    logBusFatal("Not implemented yet");
    return ECR_NOT_IMPLEMENTED;
  });
}

}  // namespace zq::app::api

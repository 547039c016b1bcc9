// Small pieces every terminal function file shares.
#pragma once

#include "api/EcrCtx.h"
#include "api/ExportGuard.h"
#include "core/zumbra_log.h"

namespace zq::app::api {

// Texts that a host passed as NULL are logged as such instead of being
// handed to printf.
inline const char* printable(const char* text) { return text ? text : "(null)"; }

// The guard every terminal function runs first, then the body with the
// context's protocol; whatever escapes the body becomes ECR_ERROR, never a
// throw to the host.
template <typename Body>
ecr_status guardedCall(const char* function, EcrCtx_s* ctx, Body&& body) noexcept {
  return zq::app::utils::guardExport(function, ECR_ERROR, [&]() -> ecr_status {
    if (!checkContext(ctx)) return ECR_NOT_INITIALIZED;
    return body(*ctx->protocol);
  });
}

// A pointer the host left out cannot be read or written.
inline ecr_status refuseNull() {
  logBusError("NULL pointer provided");
  return ECR_INVALID_ARGUMENT;
}

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

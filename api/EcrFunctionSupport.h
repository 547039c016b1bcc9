// Small pieces every terminal function file shares.
#pragma once

#include "api/EcrCtx.h"
#include "core/ExportGuard.h"
#include "core/zumbra_log.h"

namespace zq::app::api {

// Texts that a host passed as NULL are logged as such instead of being
// handed to printf.
inline const char* printable(const char* text) { return text ? text : "(null)"; }

// The claim and the guard every terminal function runs first, then the body
// with the context; whatever escapes the body becomes ECR_ERROR, never a
// throw to the host. A context busy with another call answers
// ECR_INVALID_ARGUMENT before anything else is looked at.
template <typename Body>
ecr_status claimedCall(const char* function, EcrCtx_s* ctx, CtxUse use, Body&& body) noexcept {
  return zq::app::utils::guardExport(function, ECR_ERROR, [&]() -> ecr_status {
    const EcrCtxClaim claim(ctx, use);
    if (!claim.granted()) return ECR_INVALID_ARGUMENT;
    if (!checkContext(ctx)) return ECR_NOT_INITIALIZED;
    return body(*ctx);
  });
}

// Setters and readers: the body gets the context's protocol.
template <typename Body>
ecr_status guardedCall(const char* function, EcrCtx_s* ctx, Body&& body) noexcept {
  return claimedCall(function, ctx, CtxUse::SHARED, [&](EcrCtx_s& c) { return body(*c.protocol); });
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
  return claimedCall(function, ctx, CtxUse::SHARED, [](EcrCtx_s&) -> ecr_status {
    logBusFatal("Not implemented yet");
    return ECR_NOT_IMPLEMENTED;
  });
}

}  // namespace zq::app::api

// Creating and destroying the terminal context, choosing its protocol,
// opening and closing its link, the version and the last return code.
#include <memory>
#include <string>

#include "api/EcrCtx.h"
#include "api/EcrFunctionSupport.h"
#include "api/EcrVersion.h"
#include "core/ExportGuard.h"
#include "api/LoggerManager.h"
#include "core/zumbra_log.h"
#include "link/CommPlatform.h"
#include "link/CommResult.h"
#include "link/StxEtxLinkLayer.h"
#include "protocol/TalvorenProtocol.h"

using zq::app::api::CtxUse;
using zq::app::api::EcrCtxClaim;
using zq::app::api::printable;
using zq::app::comm::CommResult;
using zq::app::utils::guardExport;
using zq::app::utils::guardExportVoid;

namespace {

// Room for the longest frame a terminal sends, with its framing.
constexpr size_t kLinkInputBufferSize = 65536;

bool startLoggers() { return zq::app::logging::LoggerManager::getInstance().ensureStarted(); }

const char* connectionStatusName(CommResult::Status status) {
  switch (status) {
    case CommResult::DEVICE_ERROR:
      return "Error";
    case CommResult::DEVICE_TIMEOUT:
      return "Timeout";
    default:
      return "No error";
  }
}

void logOpenFailure(const CommResult& result) {
  logBusDebug("Connection status: %s(%d)", connectionStatusName(result.getStatus()),
              static_cast<int>(result.getStatus()));
  logBusDebug("Error code: %s(%d)", result.errorToString(result.getError()).c_str(),
              static_cast<int>(result.getError()));
  logBusDebug("Error message: %s", result.getMessage().c_str());
}

// The new link replaces the old one before it opens, so a failed open leaves
// the context with the new, closed link (and the old one said goodbye).
CommResult installAndOpen(EcrCtx_s* ctx, std::unique_ptr<zq::app::comm::CommInterface> client) {
  auto layer = std::make_unique<zq::app::link::StxEtxLrcNoAckLinkLayer>();
  // The Link owns both from here on, also when its own construction fails.
  ctx->link = std::make_unique<zq::app::link::Link>(layer.release(), client.release(),
                                                     kLinkInputBufferSize);
  return ctx->link->open();
}

}  // namespace

ecr_status ecr_initialize(EcrCtx_s** ctx) {
  return guardExport("ecr_initialize", ECR_ERROR, [&]() -> ecr_status {
    if (!startLoggers()) return ECR_LOGGER_ERROR;
    logBusInfo("Initialize ECR context");
    if (ctx == nullptr) {
      logBusError("NULL pointer provided");
      return ECR_INVALID_ARGUMENT;
    }
    if (*ctx != nullptr) {
      logBusWarn("Pointer to ECR context not NULL, make sure resources do not leak");
    }
    *ctx = new EcrCtx_s();
    return ECR_OK;
  });
}

void ecr_cleanup(EcrCtx_s** ctx) {
  EcrCtx_s* const old = ctx != nullptr ? *ctx : nullptr;
  // A context whose call is still running (the host cleans up from a
  // callback, even one on this function's own first line, or from another
  // thread) stays, handle and all: that call would go on with a deleted
  // link and protocol.
  EcrCtxClaim claim(old, CtxUse::REPLACE);
  guardExportVoid("ecr_cleanup", [&]() {
    logBusInfo("Clean ECR context");
    if (ctx == nullptr) {
      logBusError("NULL pointer provided");
      return;
    }
    if (claim.refused()) return;
    claim.forget();
    // The handle goes first: even if tearing down the link failed half-way,
    // the host is never left holding a pointer to a deleted context.
    *ctx = nullptr;
    delete old;
  });
}

void ecr_setProtocol(EcrCtx_s* ctx, uint32_t protocolId) {
  const EcrCtxClaim claim(ctx, CtxUse::REPLACE);
  guardExportVoid("ecr_setProtocol", [&]() {
    // A failed start does not stop the protocol from being set.
    startLoggers();
    if (ctx == nullptr) {
      logBusError("ECR context not initialized");
      return;
    }
    if (claim.refused()) return;
    if (protocolId != 0) {
      logBusFatal("Invalid protocol %d", static_cast<int>(protocolId));
      return;
    }
    logBusInfo("Set Talvoren protocol");
    // Built before the old one goes, so a failure keeps the old protocol.
    auto protocol = std::make_unique<zq::app::protocols::TalvorenProtocol>();
    ctx->protocol = std::move(protocol);
  });
}

ecr_status ecr_setTcpIpLink(EcrCtx_s* ctx, const char* address, uint16_t port, uint32_t timeoutMs) {
  const EcrCtxClaim claim(ctx, CtxUse::REPLACE);
  return guardExport("ecr_setTcpIpLink", ECR_ERROR, [&]() -> ecr_status {
    if (!startLoggers()) return ECR_LOGGER_ERROR;
    logBusInfo("Attempt to setup TCP/IP link to address %s", printable(address));
    if (ctx == nullptr) {
      logBusError("ECR context not initialized");
      return ECR_NOT_INITIALIZED;
    }
    if (address == nullptr) {
      logBusError("NULL pointer provided");
      return ECR_INVALID_ARGUMENT;
    }
    if (claim.refused()) return ECR_INVALID_ARGUMENT;
    const CommResult result =
        installAndOpen(ctx, zq::app::comm::makeTcpClient(address, port, timeoutMs));
    if (!result.isOk()) {
      logBusError("Unable to establish connection to host %s:%d", address, static_cast<int>(port));
      logOpenFailure(result);
      return ECR_COMM_ERROR;
    }
    logBusInfo("Connection established");
    return ECR_OK;
  });
}

ecr_status ecr_setSerialLink(EcrCtx_s* ctx, const char* portName, comm_SerialDataMode dataMode,
                             comm_SerialBaudrate baudrate, uint32_t timeoutMs) {
  const EcrCtxClaim claim(ctx, CtxUse::REPLACE);
  return guardExport("ecr_setSerialLink", ECR_ERROR, [&]() -> ecr_status {
    if (!startLoggers()) return ECR_LOGGER_ERROR;
    logBusInfo("Attempt to setup serial link port %s with timeout %d", printable(portName),
               static_cast<int>(timeoutMs));
    if (ctx == nullptr) {
      logBusError("ECR context not initialized");
      return ECR_NOT_INITIALIZED;
    }
    if (portName == nullptr) {
      logBusError("NULL pointer provided");
      return ECR_INVALID_ARGUMENT;
    }
    if (claim.refused()) return ECR_INVALID_ARGUMENT;
    const CommResult result =
        installAndOpen(ctx, zq::app::comm::makeSerialClient(portName, dataMode, baudrate, timeoutMs));
    if (!result.isOk()) {
      logBusError("Unable to open %s", portName);
      logOpenFailure(result);
      // A serial port that does not open is a processing error, unlike a TCP
      // connection: hosts tell the two apart by this code.
      return ECR_ERROR;
    }
    logBusInfo("Connection established");
    return ECR_OK;
  });
}

ecr_status ecr_closeConnection(EcrCtx_s* ctx) {
  // Closing under a running command would pull the line from its flow.
  const EcrCtxClaim claim(ctx, CtxUse::REPLACE);
  return guardExport("ecr_closeConnection", ECR_ERROR, [&]() -> ecr_status {
    logBusInfo("Attempt to disconnect from terminal");
    if (ctx == nullptr) {
      logBusError("ECR context not initialized");
      return ECR_NOT_INITIALIZED;
    }
    if (claim.refused()) return ECR_INVALID_ARGUMENT;
    // A context that never had a link is as disconnected as a closed one.
    if (ctx->link) ctx->link->close();
    logBusInfo("Connection closed");
    return ECR_OK;
  });
}

const char* ecr_getVersion(void) {
  static const char* const kUnknown = "";
  return guardExport("ecr_getVersion", kUnknown, [&]() -> const char* {
    startLoggers();
    using namespace zq::app::utils;
    // Left alive at exit, as the text is valid until the process ends.
    static const std::string& version = *new std::string(
        std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
        std::to_string(kVersionPatch) + "." + std::to_string(kVersionBuild));
    logBusInfo("Library version: %s", version.c_str());
    return version.c_str();
  });
}

void ecr_getLastReturnCode(EcrCtx_s* ctx, uint32_t* code) {
  const EcrCtxClaim claim(ctx, CtxUse::SHARED);
  guardExportVoid("ecr_getLastReturnCode", [&]() {
    if (!claim.refused() && checkContext(ctx) && code != nullptr) {
      *code = static_cast<uint32_t>(ctx->lastResult.getStatus());
      logBusTrace("Last return code: %u", static_cast<unsigned>(*code));
      return;
    }
    logBusError("Error while reading last return code");
  });
}

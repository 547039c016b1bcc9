// The terminal context behind every terminal function, the guard they run
// first, and the mapping of protocol results onto their return codes.
#pragma once

#include <memory>

#include "link/Link.h"
#include "protocol/ProtocolInterface.h"
#include "protocol/Result.h"
#include "zumbra_ecr.h"

struct EcrCtx_s {
  EcrCtx_s() = default;
  EcrCtx_s(const EcrCtx_s&) = delete;
  EcrCtx_s& operator=(const EcrCtx_s&) = delete;
  // Members go in reverse order: the last result, the protocol, then the link
  // (which says goodbye to the terminal and closes its transport).
  virtual ~EcrCtx_s() = default;

  // Both a link and a protocol are set; otherwise logs why not.
  bool contextInitialized() const;
  void logInitializationStatus() const;

  std::unique_ptr<zq::app::link::Link> link;
  std::unique_ptr<zq::app::protocols::ProtocolInterface> protocol;
  zq::app::protocols::Result lastResult;
};

// Starts the loggers if needed; false (without a line of its own) for a NULL
// context or loggers that are down, else the context's contextInitialized.
bool checkContext(EcrCtx_s* ctx);

// Logs the outcome and maps it: 0 -> ECR_OK, 1 -> ECR_COMM_ERROR,
// 2 -> ECR_NO_DATA, 9 -> ECR_EMPTY, anything else -> ECR_ERROR.
ecr_status resultToStatus(const zq::app::protocols::Result& result);

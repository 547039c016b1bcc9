// One card purchase against the scripted terminal on loopback, through the
// exported terminal functions only, on a context of its own: the library
// raises its prompt, question, status and log callbacks as a real terminal
// makes it. Shared by the test hooks of the Java tests and the native host.
#pragma once

#include "api/zumbra_ecr.h"
#include "support/PurchaseScript.h"
#include "support/TerminalSimulator.h"

namespace zq::test {

// The start's status, or -100 when the context could not be set up.
inline int runScriptedPurchase() {
  PurchaseDetails sale;
  TerminalSimulator terminal(purchaseScript(sale));
  EcrCtx_s* ctx = nullptr;
  if (ecr_initialize(&ctx) != ECR_OK) return -100;
  ecr_setProtocol(ctx, 0);
  ecr_status status = ecr_setTcpIpLink(ctx, "127.0.0.1", terminal.port(), 300);
  if (status == ECR_OK) status = ecr_setCashRegisterId(ctx, "1", 1);
  if (status == ECR_OK) status = ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE);
  if (status == ECR_OK) status = ecr_setTransactionAmount(ctx, sale.amount.c_str());
  const int answer = status == ECR_OK ? static_cast<int>(ecr_startTransaction(ctx)) : -100;
  ecr_cleanup(&ctx);
  return answer;
}

}  // namespace zq::test

/* ecr_purchase: one card purchase on a payment terminal, from a native host.
 *
 *   ecr_purchase [address [port [amount]]]
 *
 * address defaults to 127.0.0.1, port to 5000 and amount to 1250 (minor
 * units of the terminal's currency, so 12.50). The program connects over
 * TCP/IP, answers what the terminal asks by printing it (and saying yes),
 * runs the purchase and prints its outcome. It uses nothing but the
 * library's installed public headers:
 *
 *   cc ecr_purchase.c -I<prefix>/include/zumbrajni -L<prefix>/lib -lzumbrajni
 *
 * Exit status: 0 when the purchase went through, 1 otherwise. */
#include <stdio.h>
#include <stdlib.h>

#include "zumbra_callbacks.h"
#include "zumbra_ecr.h"

/* Time-out of every exchange with the terminal, in milliseconds. */
#define LINK_TIMEOUT_MS 30000u

/* ---- What the terminal asks the host ---- */

static void onStatusChange(ecr_terminalStatus status) {
  printf("  terminal status: %d\n", (int)status);
}

static void onPrompt(const char* prompt) { printf("  terminal shows: %s\n", prompt); }

static bool onWaitForCard(const char* prompt) {
  printf("  terminal waits for a card: %s\n", prompt);
  return true; /* false would interrupt the transaction */
}

static bool onWaitForPin(const char* prompt) {
  printf("  terminal waits for the PIN: %s\n", prompt);
  return true;
}

static void onWaitForCardRemoval(const char* prompt) {
  printf("  terminal waits for the card to be removed: %s\n", prompt);
}

static bool onSignature(const char* prompt) {
  printf("  terminal asks whether the signature is right: %s -> yes\n", prompt);
  return true;
}

static bool onCopy(const char* prompt) {
  printf("  terminal asks for a copy of the receipt: %s -> no\n", prompt);
  return false;
}

static bool onYesNo(const char* prompt) {
  printf("  terminal asks: %s -> yes\n", prompt);
  return true;
}

static void registerCallbacks(void) {
  cb_setHandleStatusChange(onStatusChange);
  cb_setShowPromptScreen(onPrompt);
  cb_setShowOkScreen(onPrompt);
  cb_setWaitForCard(onWaitForCard);
  cb_setWaitForPin(onWaitForPin);
  cb_setWaitForCardRemoval(onWaitForCardRemoval);
  cb_setSignatureRequest(onSignature);
  cb_setCopyRequest(onCopy);
  cb_setShowYesNoScreen(onYesNo);
}

/* ---- The purchase ---- */

int main(int argc, char** argv) {
  const char* address = argc > 1 ? argv[1] : "127.0.0.1";
  const uint16_t port = (uint16_t)(argc > 2 ? atoi(argv[2]) : 5000);
  const char* amount = argc > 3 ? argv[3] : "1250";
  EcrCtx_s* ctx = NULL;
  ecr_status status;
  uint32_t returnCode = 0;
  int succeeded = 0;

  printf("libzumbrajni %s\n", ecr_getVersion());

  status = ecr_initialize(&ctx);
  if (status != ECR_OK) {
    printf("ecr_initialize failed: %d\n", (int)status);
    return 1;
  }
  ecr_setProtocol(ctx, 0); /* 0: the Talvoren protocol */
  printf("connecting to %s:%u\n", address, (unsigned)port);
  status = ecr_setTcpIpLink(ctx, address, port, LINK_TIMEOUT_MS);
  if (status == ECR_COMM_ERROR) {
    /* The link is set but not connected: every command connects first. */
    printf("terminal not reachable yet; the purchase connects again\n");
  } else if (status != ECR_OK) {
    printf("ecr_setTcpIpLink failed: %d\n", (int)status);
    ecr_cleanup(&ctx);
    return 1;
  }
  registerCallbacks();

  /* The request: which cash register asks, what it asks, for how much.
   * Set before every transaction: the terminal's replies replace the stored
   * kind, amount and title, so a second sale must not rely on the first's. */
  ecr_setCashRegisterId(ctx, "1", 1);
  ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE);
  ecr_setTransactionTitle(ctx, ""); /* none: an empty title clears one a reply left */
  status = ecr_setTransactionAmount(ctx, amount);
  if (status != ECR_OK) printf("ecr_setTransactionAmount(%s) answered %d\n", amount, (int)status);

  printf("purchase of %s\n", amount);
  status = ecr_startTransaction(ctx);
  ecr_getLastReturnCode(ctx, &returnCode);
  printf("ecr_startTransaction: %d, last return code: %u\n", (int)status, (unsigned)returnCode);

  if (status == ECR_OK) {
    ecr_transactionResult result;
    if (ecr_readTransactionResult(ctx, &result) == ECR_OK) {
      printf("transaction result: %d (%s)\n", (int)result,
             result == ECR_TRANSACTION_RESULT_0 ? "accepted" : "not accepted");
      succeeded = result == ECR_TRANSACTION_RESULT_0;
    } else {
      printf("transaction result: not available\n");
    }
  }

  ecr_closeConnection(ctx);
  ecr_cleanup(&ctx);
  printf("%s\n", succeeded ? "purchase done" : "purchase not done");
  return succeeded ? 0 : 1;
}

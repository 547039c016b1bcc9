/* ecr_purchase: one card purchase on a payment terminal, from a native host.
 *
 *   ecr_purchase [address [port [amount]]]
 *
 * address defaults to 127.0.0.1, port to 5000 and amount to 1250 (minor
 * units of the terminal's currency, so 12.50). The program connects over
 * TCP/IP, answers what the terminal asks by printing it (and saying yes),
 * runs the purchase, prints its outcome and the merchant and customer
 * copies of its receipt. It uses nothing but the library's installed public
 * headers:
 *
 *   cc ecr_purchase.c -I<prefix>/include/zumbrajni -L<prefix>/lib -lzumbrajni -Wl,-rpath,<prefix>/lib
 *
 * Exit status: 0 when the purchase went through, 1 otherwise, and 2 with the
 * usage line when the port is not a number from 1 to 65535 or the amount not
 * digits alone. */
#include <iconv.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "zumbra_callbacks.h"
#include "zumbra_ecr.h"
#include "zumbra_printout.h"

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

/* ---- The receipt ---- */

/* Print lines are Windows-1250 text; the console shows UTF-8. */
static void showLine(iconv_t toUtf8, const pr_Line* line) {
  char in[PR_LINE_TEXT_SIZE];
  char out[4 * PR_LINE_TEXT_SIZE];
  char* inPtr = in;
  char* outPtr = out;
  size_t inLeft;
  size_t outLeft = sizeof out - 1;

  if (line->lineType == PR_LINE_PICTURE) {
    printf("  [%s logo]\n", line->pictureType == PR_PICTURE_HEADER_LOGO ? "header" : "footer");
    return;
  }
  memcpy(in, line->text, sizeof in);
  inLeft = strlen(in);
  if (toUtf8 == (iconv_t)-1 || iconv(toUtf8, &inPtr, &inLeft, &outPtr, &outLeft) == (size_t)-1) {
    strcpy(out, in); /* no converter: the bytes as they are */
  } else {
    *outPtr = '\0';
  }
  printf("  |%s|%s%s%s%s\n", out, line->fontSize == PR_FONT_BIG ? " big" : "",
         line->fontSize == PR_FONT_SMALL ? " small" : "", line->bold ? " bold" : "",
         line->negative ? " inverted" : "");
}

/* One copy of the receipt of the last transaction, built and shown line by
 * line as a receipt printer would get it. */
static void printReceipt(PrintoutCtx_s* printout, EcrCtx_s* ctx, bool customerCopy) {
  pr_Line line;
  iconv_t toUtf8 = iconv_open("UTF-8", "WINDOWS-1250");
  uint32_t status = pr_prepareTransactionPrintout(printout, ctx, customerCopy);

  printf("%s copy of the receipt (%u lines):\n", customerCopy ? "customer" : "merchant",
         (unsigned)pr_getNumberOfLines(printout));
  if (status != PRINTOUT_OK) printf("pr_prepareTransactionPrintout answered %u\n", (unsigned)status);
  while (pr_getNextLine(printout, &line) == PRINTOUT_OK) showLine(toUtf8, &line);
  if (toUtf8 != (iconv_t)-1) iconv_close(toUtf8);
}

static void printReceipts(EcrCtx_s* ctx) {
  PrintoutCtx_s* printout = NULL;
  pr_initPrintoutCtx(&printout);
  pr_setNormalLineLen(printout, 40);
  pr_setBigLineLen(printout, 20);
  pr_setSmallLineLen(printout, 48);
  /* The receipt's header asks the terminal for its general information
   * (address, merchant and terminal IDs) when the purchase did not bring
   * them; that request names the terminal by its index. */
  ecr_setTerminalIndex(ctx, 1);
  printReceipt(printout, ctx, false);
  printReceipt(printout, ctx, true);
  pr_cleanPrintoutCtx(&printout);
}

/* ---- The arguments ---- */

/* True when text is one digit or more and nothing else. */
static bool isDigits(const char* text) {
  if (*text == '\0') return false;
  for (; *text != '\0'; ++text) {
    if (*text < '0' || *text > '9') return false;
  }
  return true;
}

/* A port from 1 to 65535, written in digits alone; 0 for anything else. */
static uint16_t parsePort(const char* text) {
  unsigned long value = 0;
  if (!isDigits(text)) return 0;
  for (; *text != '\0'; ++text) {
    value = value * 10 + (unsigned long)(*text - '0');
    if (value > 65535) return 0;
  }
  return (uint16_t)value;
}

/* ---- The purchase ---- */

int main(int argc, char** argv) {
  const char* address = argc > 1 ? argv[1] : "127.0.0.1";
  const uint16_t port = argc > 2 ? parsePort(argv[2]) : 5000;
  const char* amount = argc > 3 ? argv[3] : "1250";
  EcrCtx_s* ctx = NULL;
  ecr_status status;
  uint32_t returnCode = 0;
  int succeeded = 0;

  if (argc > 4 || port == 0 || !isDigits(amount)) {
    fprintf(stderr,
            "usage: ecr_purchase [address [port [amount]]]\n"
            "  port 1 to 65535, amount in digits (minor units of the terminal's currency)\n");
    return 2;
  }
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
    /* Accepted or declined, a transaction that ran to its end has a receipt. */
    printReceipts(ctx);
  }

  ecr_closeConnection(ctx);
  ecr_cleanup(&ctx);
  printf("%s\n", succeeded ? "purchase done" : "purchase not done");
  return succeeded ? 0 : 1;
}

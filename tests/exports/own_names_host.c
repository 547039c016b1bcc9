/* A host written in C whose own functions carry names the library exports
 * too: a tag reader of its own (readTag) and an error logger of its own
 * (logBusError). It runs a purchase against the simulated terminal, prints
 * its receipt (a fleet-card receipt, whose product lines the library reads
 * with its own readTag) and makes one refused call (which the library logs
 * with its own logBusError). The library must keep calling its own
 * functions: the host's are called only by the host.
 *
 *   own_names_host <address> <port>
 *
 * Prints each failed check and exits 1 if any. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "zumbra_callbacks.h"
#include "zumbra_ecr.h"
#include "zumbra_printout.h"

static int failures = 0;

#define CHECK(condition)                                                    \
  do {                                                                      \
    if (!(condition)) {                                                     \
      printf("%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                           \
    }                                                                       \
  } while (0)

/* ---- The host's own functions ---- */

static int ownReadTagCalls = 0;
static int ownLogBusErrorCalls = 0;

int readTag(const char* reader);
void logBusError(const char* text);

int readTag(const char* reader) {
  (void)reader;
  ++ownReadTagCalls;
  return -1;
}

void logBusError(const char* text) {
  (void)text;
  ++ownLogBusErrorCalls;
}

/* ---- What the terminal asks ---- */

static bool yes(const char* prompt) {
  (void)prompt;
  return true;
}

static void shown(const char* prompt) { (void)prompt; }

static int refusedAmountLines = 0;
static void onBusLine(const char* line) {
  if (strstr(line, "- Incorrect amount 12x") != NULL) ++refusedAmountLines;
}

/* ---- Fleet-card data, as a fleet purchase leaves it in the context ---- */

static void plantFleetCard(EcrCtx_s* ctx) {
  /* Flags 1 (a fleet card) and the product names. */
  static const uint8_t data[] = {0xDF, 0x01, 0x01, 0x01, 0xDF, 0x02, 0x08,
                                 '1',  '=',  'D',  'I',  'E',  'S',  'E',  'L'};
  /* One product item: id 1, amount 100, unit price 50, quantity 2. */
  static const uint8_t products[] = {0x7F, 0x01, 0x13, 0xDF, 0x01, 0x01, '1',  0xDF, 0x03,
                                     0x03, '1',  '0',  '0',  0xDF, 0x05, 0x02, '5',  '0',
                                     0xDF, 0x06, 0x01, '2'};
  CHECK(ecr_setTag(ctx, 0x7F02, data, sizeof data) == ECR_OK);
  CHECK(ecr_setTag(ctx, 0x7F01, products, sizeof products) == ECR_OK);
}

/* The receipt holds the product's name, which the library found by reading
 * the item's id with its own readTag. */
static int receiptNamesTheProduct(EcrCtx_s* ctx) {
  PrintoutCtx_s* printout = NULL;
  pr_Line line;
  int named = 0;
  CHECK(pr_initPrintoutCtx(&printout) == 0);
  /* The receipt's header asks the terminal for its general information,
   * naming the terminal by its index. */
  CHECK(ecr_setTerminalIndex(ctx, 1) == ECR_OK);
  CHECK(pr_prepareTransactionPrintout(printout, ctx, false) == 0);
  while (pr_getNextLine(printout, &line) == 0) {
    if (strstr(line.text, "DIESEL") != NULL) named = 1;
  }
  pr_cleanPrintoutCtx(&printout);
  return named;
}

int main(int argc, char** argv) {
  EcrCtx_s* ctx = NULL;
  ecr_transactionResult result = ECR_TRANSACTION_RESULT_7;
  if (argc < 3) {
    printf("usage: own_names_host <address> <port>\n");
    return 1;
  }

  /* The host's own calls reach its own functions. */
  CHECK(readTag("front reader") == -1);
  logBusError("host error");
  CHECK(ownReadTagCalls == 1 && ownLogBusErrorCalls == 1);
  ownReadTagCalls = 0;
  ownLogBusErrorCalls = 0;

  cb_setHandleBusLog(onBusLine);
  cb_setWaitForCard(yes);
  cb_setWaitForPin(yes);
  cb_setShowPromptScreen(shown);
  cb_setWaitForCardRemoval(shown);

  CHECK(ecr_initialize(&ctx) == ECR_OK);
  ecr_setProtocol(ctx, 0);
  CHECK(ecr_setTcpIpLink(ctx, argv[1], (uint16_t)atoi(argv[2]), 30000) == ECR_OK);
  CHECK(ecr_setCashRegisterId(ctx, "1", 1) == ECR_OK);
  CHECK(ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE) == ECR_OK);
  CHECK(ecr_setTransactionAmount(ctx, "1250") == ECR_OK);
  CHECK(ecr_startTransaction(ctx) == ECR_OK);
  CHECK(ecr_readTransactionResult(ctx, &result) == ECR_OK && result == ECR_TRANSACTION_RESULT_0);

  plantFleetCard(ctx);
  CHECK(receiptNamesTheProduct(ctx));
  /* Refused, and logged by the library's own error logger. */
  CHECK(ecr_setTransactionAmount(ctx, "12x") == ECR_INVALID_ARGUMENT);
  CHECK(refusedAmountLines == 1);

  CHECK(ecr_closeConnection(ctx) == ECR_OK);
  ecr_cleanup(&ctx);

  CHECK(ownReadTagCalls == 0);
  CHECK(ownLogBusErrorCalls == 0);
  printf("own readTag called %d times, own logBusError %d times by the library\n", ownReadTagCalls,
         ownLogBusErrorCalls);
  return failures == 0 ? 0 : 1;
}

/* The calls of the exit hosts (exit_calls.h), over the public headers only.
 * Built as a shared module linked with the library, so that a host can also
 * open the two with dlopen. */
/* For the socket functions under strict C99. */
#define _POSIX_C_SOURCE 200112L

#include "exit_calls.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

#include "../support/RefusedPort.h"

#include "zumbra_callbacks.h"
#include "zumbra_ecr.h"
#include "zumbra_log.h"
#include "zumbra_printout.h"

#define CHECK(condition)                                                    \
  do {                                                                      \
    if (!(condition)) {                                                     \
      printf("%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      fflush(stdout);                                                       \
      ++failures;                                                           \
    }                                                                       \
  } while (0)

#define MAX_LINES 200
#define TAGS_SIZE 4096

typedef struct Printout {
  uint32_t status;
  uint32_t count;
  pr_Line lines[MAX_LINES];
} Printout;

static EcrCtx_s* ctx = NULL;
static unsigned terminalPort = 0;

/* What the reference run in main gave, to compare the exit's run with. */
static Printout reference;
static uint8_t referenceTags[TAGS_SIZE];
static size_t referenceTagsLength = 0;

/* Log lines the host received: the business family's count and last line,
 * and the count of the handler registered at exit. */
static int busLines = 0;
static char lastBusLine[1100];
static int laterBusLines = 0;

static void onBusLine(const char* line) {
  ++busLines;
  strncpy(lastBusLine, line, sizeof lastBusLine - 1);
}
static void onLaterBusLine(const char* line) {
  (void)line;
  ++laterBusLines;
}
static void onOtherLine(const char* line) { (void)line; }
static bool yes(const char* prompt) {
  (void)prompt;
  return true;
}
static void shown(const char* prompt) { (void)prompt; }
static void statusChanged(ecr_terminalStatus status) { (void)status; }


static int connectTerminal(void) {
  int failures = 0;
  CHECK(ecr_setTcpIpLink(ctx, "127.0.0.1", (uint16_t)terminalPort, 5000) == ECR_OK);
  /* Every request names the cash register. */
  CHECK(ecr_setCashRegisterId(ctx, "1", 1) == ECR_OK);
  /* The receipt's header asks for the terminal's general information by
   * the terminal's index. */
  CHECK(ecr_setTerminalIndex(ctx, 1) == ECR_OK);
  return failures;
}

/* A context of its own whose link cannot be opened. */
static int failedLink(void) {
  int failures = 0;
  EcrCtx_s* other = NULL;
  CHECK(ecr_initialize(&other) == ECR_OK);
  ecr_setProtocol(other, 0);
  CHECK(ecr_setTcpIpLink(other, "127.0.0.1", zq_refusedPort(), 1000) == ECR_COMM_ERROR);
  ecr_cleanup(&other);
  CHECK(other == NULL);
  return failures;
}

static int terminalStatus(void) {
  int failures = 0;
  ecr_terminalStatus status = TERMINAL_STATUS_UNRECOGNISED;
  CHECK(ecr_getTerminalStatus(ctx) == ECR_OK);
  CHECK(ecr_readTerminalStatus(ctx, &status) == ECR_OK);
  CHECK((int)status == 0); /* idle */
  return failures;
}

/* The purchase of examples/purchase.script. */
static int purchase(void) {
  int failures = 0;
  ecr_transactionResult result = ECR_TRANSACTION_RESULT_7;
  CHECK(ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE) == ECR_OK);
  CHECK(ecr_setTransactionTitle(ctx, "") == ECR_OK);
  CHECK(ecr_setTransactionAmount(ctx, "1250") == ECR_OK);
  CHECK(ecr_startTransaction(ctx) == ECR_OK);
  CHECK(ecr_readTransactionResult(ctx, &result) == ECR_OK);
  CHECK(result == ECR_TRANSACTION_RESULT_0);
  return failures;
}

/* The merchant copy of the last transaction's receipt, or (`summary`) the
 * start of the full summary. */
static void buildPrintout(Printout* printout, int summary) {
  PrintoutCtx_s* pctx = NULL;
  pr_Line line;
  printout->count = 0;
  printout->status = pr_initPrintoutCtx(&pctx);
  if (printout->status != PRINTOUT_OK) return;
  pr_setNormalLineLen(pctx, 40);
  pr_setBigLineLen(pctx, 20);
  pr_setSmallLineLen(pctx, 48);
  printout->status = summary ? pr_startFullSummary(pctx, ctx) : pr_prepareTransactionPrintout(pctx, ctx, false);
  while (printout->count < MAX_LINES && pr_getNextLine(pctx, &line) == PRINTOUT_OK) {
    printout->lines[printout->count++] = line;
  }
  pr_cleanPrintoutCtx(&pctx);
}

static int samePrintout(const Printout* a, const Printout* b) {
  return a->status == b->status && a->count == b->count &&
         memcmp(a->lines, b->lines, a->count * sizeof a->lines[0]) == 0;
}

static int printoutShows(const Printout* printout, const char* text) {
  uint32_t i;
  for (i = 0; i < printout->count; ++i) {
    if (strstr(printout->lines[i].text, text) != NULL) return 1;
  }
  return 0;
}

static void registerCallbacks(void) {
  cb_setHandleBusLog(onBusLine);
  cb_setHandleDevLog(onOtherLine);
  cb_setHandleCommLog(onOtherLine);
  cb_setHandleStatusChange(statusChanged);
  cb_setShowPromptScreen(shown);
  cb_setShowOkScreen(shown);
  cb_setWaitForCard(yes);
  cb_setWaitForPin(yes);
  cb_setWaitForCardRemoval(shown);
  cb_setSignatureRequest(yes);
  cb_setShowYesNoScreen(yes);
}

static int is(const char* call, const char* name) { return strcmp(call, name) == 0; }

int exitCallPrepare(const char* call, unsigned port) {
  int failures = 0;
  terminalPort = port;
  registerCallbacks();
  CHECK(ecr_initialize(&ctx) == ECR_OK);
  ecr_setProtocol(ctx, 0);
  if (is(call, "close") || is(call, "command") || is(call, "purchase")) {
    failures += connectTerminal();
    failures += terminalStatus();
  } else if (is(call, "result-tags") || is(call, "receipt") || is(call, "dictionary-phrase")) {
    failures += connectTerminal();
    failures += purchase();
    buildPrintout(&reference, 0);
    CHECK(reference.status == PRINTOUT_OK);
    CHECK(reference.count > 0);
    /* After the receipt, whose general information adds to the store. */
    referenceTagsLength = sizeof referenceTags;
    CHECK(ecr_readResultTags(ctx, referenceTags, &referenceTagsLength) == ECR_OK);
    CHECK(referenceTagsLength > 0);
  } else if (is(call, "failed-link")) {
    failures += failedLink();
  } else if (is(call, "full-summary")) {
    buildPrintout(&reference, 1);
    CHECK(reference.count > 0);
  } else if (is(call, "log") || is(call, "callback")) {
    logBusInfo("A line before the exit");
    CHECK(busLines > 0);
  } else if (!is(call, "cleanup")) {
    printf("unknown call %s\n", call);
    ++failures;
  }
  return failures;
}

int exitCallRun(const char* call, int loggersUp) {
  int failures = 0;
  if (is(call, "cleanup")) {
    ecr_cleanup(&ctx);
    CHECK(ctx == NULL);
  } else if (is(call, "close")) {
    CHECK(ecr_closeConnection(ctx) == ECR_OK);
  } else if (is(call, "failed-link")) {
    failures += failedLink();
  } else if (is(call, "command")) {
    failures += terminalStatus();
  } else if (is(call, "purchase")) {
    failures += purchase();
  } else if (is(call, "result-tags")) {
    uint8_t tags[TAGS_SIZE];
    size_t length = sizeof tags;
    CHECK(ecr_readResultTags(ctx, tags, &length) == ECR_OK);
    CHECK(length == referenceTagsLength && memcmp(tags, referenceTags, length) == 0);
  } else if (is(call, "receipt") || is(call, "full-summary")) {
    static Printout printout;
    buildPrintout(&printout, is(call, "full-summary"));
    CHECK(samePrintout(&printout, &reference));
  } else if (is(call, "dictionary-phrase")) {
    static Printout printout;
    pr_setDictionaryPhrase(PR_DICT_MERCHANT_RECEIPT, "EXIT COPY");
    buildPrintout(&printout, 0);
    CHECK(printout.status == PRINTOUT_OK);
    CHECK(printoutShows(&printout, "EXIT COPY"));
    CHECK(!printoutShows(&reference, "EXIT COPY"));
  } else if (is(call, "log")) {
    const int before = busLines;
    logBusInfo("A line at the exit");
    CHECK(busLines - before == (loggersUp ? 1 : 0));
    if (loggersUp) CHECK(strstr(lastBusLine, "- A line at the exit\n") != NULL);
  } else if (is(call, "callback")) {
    cb_setHandleBusLog(onLaterBusLine);
    logBusInfo("A line for the handler registered at the exit");
    CHECK(laterBusLines == (loggersUp ? 1 : 0));
  }
  /* The host's own tidying up, at the exit as well. */
  if (ctx != NULL) {
    ecr_closeConnection(ctx);
    ecr_cleanup(&ctx);
    CHECK(ctx == NULL);
  }
  return failures;
}

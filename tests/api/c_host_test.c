/* A host written in C, built as C99 against the public headers only and
 * linked with the shared library: the life cycle of a terminal context as
 * such a host sees it. Prints each failed check and exits 1 if any. */
/* For the socket functions under strict C99. */
#define _POSIX_C_SOURCE 200112L

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

#include "../support/RefusedPort.h"

#include "zumbra_callbacks.h"
#include "zumbra_ecr.h"

static int failures = 0;

#define CHECK(condition)                                           \
  do {                                                             \
    if (!(condition)) {                                            \
      printf("%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                  \
    }                                                              \
  } while (0)


static int busLines = 0;
static void onBusLog(const char* line) {
  (void)line;
  ++busLines;
}

int main(void) {
  EcrCtx_s* ctx = NULL;
  uint32_t code = 0xFFFFFFFFu;

  cb_setHandleBusLog(onBusLog);
  CHECK(strcmp(ecr_getVersion(), "1.6.0.0") == 0);
  CHECK(busLines > 0); /* the host's log callback is called from C */

  CHECK(ecr_initialize(&ctx) == ECR_OK);
  CHECK(ctx != NULL);
  /* Neither protocol nor link: the guard refuses. */
  CHECK(ecr_getTerminalStatus(ctx) == ECR_NOT_INITIALIZED);
  ecr_setProtocol(ctx, 0);
  CHECK(ecr_getTerminalStatus(ctx) == ECR_NOT_INITIALIZED);

  /* A refused connection answers 3, and the context then counts as set up. */
  CHECK(ecr_setTcpIpLink(ctx, "127.0.0.1", zq_refusedPort(), 300) == ECR_COMM_ERROR);
  ecr_getLastReturnCode(ctx, &code);
  CHECK(code == 0);
  CHECK(ecr_closeConnection(ctx) == ECR_OK);

  /* Bad input from the host is refused, not a crash. */
  CHECK(ecr_setTcpIpLink(NULL, "127.0.0.1", 1, 300) == ECR_NOT_INITIALIZED);
  CHECK(ecr_closeConnection(NULL) == ECR_NOT_INITIALIZED);
  /* C lets a host pass any int as an enumeration; the library looks at it as
   * the number it is and refuses it. */
  CHECK(ecr_setTransactionType(ctx, (ecr_transactionType)-1) == ECR_INVALID_ARGUMENT);
  CHECK(ecr_setTransactionType(ctx, (ecr_transactionType)16) == ECR_INVALID_ARGUMENT);
  CHECK(sizeof(ecr_transactionType) == 4 && sizeof(ecr_status) == 4 &&
        sizeof(ecr_terminalStatus) == 4 && sizeof(ecr_transactionResult) == 4);
  CHECK(ecr_setSerialLink(ctx, "/dev/zq-no-such-serial-port", COMM_8N1, COMM_BAUD_9600, 300) ==
        ECR_ERROR);

  ecr_cleanup(&ctx);
  CHECK(ctx == NULL);
  CHECK(ecr_getTerminalStatus(ctx) == ECR_NOT_INITIALIZED);

  if (failures == 0) printf("C host checks passed\n");
  return failures == 0 ? 0 : 1;
}

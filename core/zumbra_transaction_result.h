/* The terminal's transaction return code as the readers hand it to the host.
 * The enumerators carry the terminal's own numbers; no other value is ever
 * handed out. */
#ifndef ZUMBRA_TRANSACTION_RESULT_H
#define ZUMBRA_TRANSACTION_RESULT_H

#include "zumbra_export.h"

typedef enum ecr_transactionResult ZQ_ENUM_INT {
  ECR_TRANSACTION_RESULT_0 = 0, /* the transaction succeeded */
  ECR_TRANSACTION_RESULT_1 = 1,
  ECR_TRANSACTION_RESULT_2 = 2, /* interrupted by connection problems */
  ECR_TRANSACTION_RESULT_7 = 7
} ecr_transactionResult;

#endif

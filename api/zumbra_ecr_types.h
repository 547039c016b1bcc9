/* Types of the terminal functions: the return codes, the opaque terminal
 * context and the values the readers hand to the host. All enumerations are
 * 32-bit. */
#ifndef ZUMBRA_ECR_TYPES_H
#define ZUMBRA_ECR_TYPES_H

#include "zumbra_export.h"

/* The terminal context: the link to the terminal, the terminal protocol and
 * the outcome of the last command. Created by ecr_initialize, destroyed by
 * ecr_cleanup; the host only ever holds a pointer to it. */
typedef struct EcrCtx_s EcrCtx_s;

/* Return code of the ecr_ functions. 2 is never returned.
 *
 * A context serves one call at a time. While a call runs on it (a command
 * with its callbacks, a printout reading it, or any call on another
 * thread), every call that would disturb it is refused with
 * ECR_INVALID_ARGUMENT and the business line "ECR context busy, call
 * refused": a second command, the link and protocol setters,
 * ecr_closeConnection and ecr_cleanup, and from another thread every
 * function on that context. Nothing is done and the last return code
 * is kept. Setters and readers called from a callback of the running command
 * keep working: that is how a host looks at data mid-transaction. The code
 * is that of a refused argument because the context itself is what is
 * refused; a command that did run never answers it (only ecr_cmdExchange,
 * for a NULL buffer), so it cannot be taken for a terminal's outcome. */
typedef enum ZQ_ENUM_INT {
  ECR_OK = 0,               /* done */
  ECR_ERROR = 1,            /* processing error: a protocol result without its own code, malformed
                               data in the context, a serial port not opened, an ecr_cmdExchange
                               reply longer than the response buffer */
  ECR_COMM_ERROR = 3,       /* TCP connection not opened, communication failure, a terminal reply
                               that is malformed or fails its check */
  ECR_INVALID_ARGUMENT = 4, /* argument refused, NULL output, reader's output buffer too short,
                               context busy (see above) */
  ECR_NO_DATA = 5,          /* the requested data is not in the context */
  ECR_NOT_INITIALIZED = 6,  /* context NULL, loggers down, or link or protocol not set */
  ECR_NOT_IMPLEMENTED = 7,  /* operation without an implementation */
  ECR_LOGGER_ERROR = 8,     /* the loggers failed to start */
  ECR_EMPTY = 9             /* empty report, missing or corrupted report entry */
} ecr_status;

/* The host's transaction kinds; the terminal's own number is in brackets.
 * The host sets 0 to 12; NONE is only ever read back. */
typedef enum ZQ_ENUM_INT {
  ECR_TRANSACTION_PURCHASE = 0,            /* 1 */
  ECR_TRANSACTION_CASHBACK = 1,            /* 3 */
  ECR_TRANSACTION_PREAUTH = 2,             /* 4 */
  ECR_TRANSACTION_COMPLETION = 3,          /* 5 */
  ECR_TRANSACTION_REFUND = 4,              /* 6 */
  ECR_TRANSACTION_REVERSAL = 5,            /* 10 */
  ECR_TRANSACTION_GIFTCARD_ACTIVATION = 6, /* 42 */
  ECR_TRANSACTION_GIFTCARD_BALANCE = 7,    /* 43 */
  ECR_TRANSACTION_RECONCILIATION = 8,      /* 31 */
  ECR_TRANSACTION_CONNECTION_TEST = 9,     /* 33 */
  ECR_TRANSACTION_CONNECT_TO_TMS = 10,     /* 40 */
  ECR_TRANSACTION_GIFTCARD_TOPUP = 11,     /* 44 */
  ECR_TRANSACTION_PURCHASE_EVOUCHER = 12,  /* 11 */
  ECR_TRANSACTION_NONE = 13
} ecr_transactionType;

/* The card reader the terminal used. */
typedef enum ZQ_ENUM_INT {
  CARD_READER_CONTACTLESS = 0, /* 'B' */
  CARD_READER_MAGSTRIPE = 1,   /* 'M' */
  CARD_READER_CHIP = 2,        /* 'C' */
  CARD_READER_MANUAL = 3,      /* 'P' */
  CARD_READER_UNKNOWN = 4      /* '?' or unreadable */
} CardReaderType;

/* The terminal's authorisation type character. */
typedef enum ZQ_ENUM_INT {
  AUTHORIZATION_TYPE_NONE = 0,
  AUTHORIZATION_TYPE_1 = 1, /* '1' */
  AUTHORIZATION_TYPE_3 = 2, /* '3' */
  AUTHORIZATION_TYPE_4 = 3  /* '4' */
} AuthorizationType;

/* Cardholder verification. 0 is what a printout assumes when nothing could be read. */
typedef enum ZQ_ENUM_INT {
  AUTHORIZATION_METHOD_UNKNOWN = 0,
  AUTHORIZATION_METHOD_PIN = 1,
  AUTHORIZATION_METHOD_SIGNATURE = 2,
  AUTHORIZATION_METHOD_PIN_AND_SIGNATURE = 3,
  AUTHORIZATION_METHOD_NONE = 4,
  AUTHORIZATION_METHOD_SIGNATURE_ON_FILE = 5,
  AUTHORIZATION_METHOD_CONSUMER_DEVICE = 6
} AuthorizationMethod;

/* The kind of application cryptogram the card produced. */
typedef enum ZQ_ENUM_INT {
  EMV_CRYPTOGRAM_AAC = 0,  /* 0x00 */
  EMV_CRYPTOGRAM_TC = 1,   /* 0x40 */
  EMV_CRYPTOGRAM_ARQC = 2, /* 0x80 */
  EMV_CRYPTOGRAM_NONE = 3
} EmvCryptogramType;

/* Batch status as the terminal reports it (0 to 3), 4 when it cannot be read. */
typedef enum ZQ_ENUM_INT {
  ECR_BATCH_STATUS_0 = 0,
  ECR_BATCH_STATUS_1 = 1,
  ECR_BATCH_STATUS_2 = 2,
  ECR_BATCH_STATUS_3 = 3,
  ECR_BATCH_STATUS_UNKNOWN = 4
} ecr_batchStatus;

#endif

/* Values the protocol context hands to the terminal API, which passes them to
 * the host unchanged. Plain C enumerations (32-bit) so that the public header
 * of the terminal functions can take them over as they are. */
#ifndef ZQ_PROTOCOL_TALVOREN_ENUMS_H
#define ZQ_PROTOCOL_TALVOREN_ENUMS_H

/* The host's transaction kinds; the terminal's own number is in brackets. */
typedef enum {
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
  ECR_TRANSACTION_EVOUCHER_PURCHASE = 12,  /* 11 */
  ECR_TRANSACTION_NONE = 13
} ecr_transactionType;

/* The card reader the terminal used. */
typedef enum {
  CARD_READER_CONTACTLESS = 0, /* 'B' */
  CARD_READER_MAGSTRIPE = 1,   /* 'M' */
  CARD_READER_CHIP = 2,        /* 'C' */
  CARD_READER_MANUAL = 3,      /* 'P' */
  CARD_READER_UNKNOWN = 4      /* '?' or unreadable */
} CardReaderType;

typedef enum {
  AUTHORIZATION_TYPE_NONE = 0,
  AUTHORIZATION_TYPE_1 = 1, /* '1' */
  AUTHORIZATION_TYPE_3 = 2, /* '3' */
  AUTHORIZATION_TYPE_4 = 3  /* '4' */
} AuthorizationType;

/* Cardholder verification. 0 is what a reader answers when nothing could be read. */
typedef enum {
  AUTHORIZATION_METHOD_UNKNOWN = 0,
  AUTHORIZATION_METHOD_PIN = 1,
  AUTHORIZATION_METHOD_SIGNATURE = 2,
  AUTHORIZATION_METHOD_PIN_AND_SIGNATURE = 3,
  AUTHORIZATION_METHOD_NONE = 4,
  AUTHORIZATION_METHOD_SIGNATURE_ON_FILE = 5,
  AUTHORIZATION_METHOD_CONSUMER_DEVICE = 6
} AuthorizationMethod;

typedef enum {
  EMV_CRYPTOGRAM_AAC = 0,  /* 0x00 */
  EMV_CRYPTOGRAM_TC = 1,   /* 0x40 */
  EMV_CRYPTOGRAM_ARQC = 2, /* 0x80 */
  EMV_CRYPTOGRAM_NONE = 3
} EmvCryptogramType;

/* Batch status as the terminal reports it (0 to 3), 4 when it cannot be read. */
typedef enum {
  ECR_BATCH_STATUS_0 = 0,
  ECR_BATCH_STATUS_1 = 1,
  ECR_BATCH_STATUS_2 = 2,
  ECR_BATCH_STATUS_3 = 3,
  ECR_BATCH_STATUS_UNKNOWN = 4
} ecr_batchStatus;

#endif

/* The terminal functions: one payment terminal driven through one terminal
 * context.
 *
 * Order of calls: ecr_initialize; ecr_setProtocol(ctx, 0) and a link setter
 * (either order, both needed); host callbacks; parameter setters, one
 * command, then readers; ecr_closeConnection; ecr_cleanup.
 *
 * Every function except the life-cycle ones answers ECR_NOT_INITIALIZED
 * while the context is NULL or lacks its link or its protocol. Output
 * buffers belong to the caller. Where a function takes a size_t* length
 * with a buffer, it holds the buffer's size on entry and receives the number
 * of bytes written; raw outputs carry no terminating NUL. Text outputs
 * without a length are NUL-terminated and the caller provides room for the
 * longest text (given with each reader).
 *
 * Threads: a context serves one thread at a time, and the host serialises
 * the calls on it; callbacks run on the thread of the call that raised them.
 * A call that arrives while another runs on the same context is refused with
 * ECR_INVALID_ARGUMENT, as zumbra_ecr_types.h describes; different contexts
 * may be used on different threads at once. A function holds its context
 * from before its first log line, so a callback on that line already finds
 * it in use. A printout (zumbra_printout.h) holds the terminal context it
 * reads for its whole call: from its callbacks, or from another thread,
 * ecr_cleanup, ecr_closeConnection, the link and protocol setters and
 * commands are refused; only the one command the printout runs itself (the
 * terminal's general information) goes through. */
#ifndef ZUMBRA_ECR_H
#define ZUMBRA_ECR_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "zumbra_comm.h"
#include "zumbra_ecr_types.h"
#include "zumbra_export.h"
#include "zumbra_terminal_status.h"
#include "zumbra_tlv_types.h"
#include "zumbra_transaction_result.h"

ZQ_BEGIN_DECLS

/* ---- Context, protocol and link ---- */

/* Creates a context in *ctx (a non-NULL *ctx is overwritten, not freed).
 * ECR_LOGGER_ERROR when the loggers cannot start. */
ZQ_API ecr_status ecr_initialize(EcrCtx_s** ctx);
/* Destroys *ctx (closing its link) and sets it to NULL. While a call runs on
 * the context (called from one of its callbacks, or from another thread) it
 * logs "ECR context busy, call refused" and leaves context and handle alone. */
ZQ_API void ecr_cleanup(EcrCtx_s** ctx);
/* Protocol 0 (Talvoren) only; any other id leaves the context unchanged.
 * Setting the protocol again discards all terminal data of the context.
 * Refused (logged, context unchanged) while a call runs on the context. */
ZQ_API void ecr_setProtocol(EcrCtx_s* ctx, uint32_t protocolId);
/* Builds and opens a TCP link to a dotted IPv4 address. A failed open
 * answers ECR_COMM_ERROR and leaves the new, closed link in the context.
 * ECR_INVALID_ARGUMENT, old link kept, while a call runs on the context. */
ZQ_API ecr_status ecr_setTcpIpLink(EcrCtx_s* ctx, const char* address, uint16_t port,
                                   uint32_t timeoutMs);
/* Builds and opens a serial link. A failed open answers ECR_ERROR and leaves
 * the new, closed link in the context. ECR_INVALID_ARGUMENT, old link kept,
 * while a call runs on the context. */
ZQ_API ecr_status ecr_setSerialLink(EcrCtx_s* ctx, const char* portName,
                                    comm_SerialDataMode dataMode,
                                    comm_SerialBaudrate baudrate, uint32_t timeoutMs);
/* Closes the link (EOT first when open); the link stays in the context.
 * ECR_INVALID_ARGUMENT while a call runs on the context. */
ZQ_API ecr_status ecr_closeConnection(EcrCtx_s* ctx);
/* The library version as text, valid until the process ends. */
ZQ_API const char* ecr_getVersion(void);
/* The protocol status of the last command (0 success, 1 communication
 * error, 2 argument missing, ...). Left untouched on failure. */
ZQ_API void ecr_getLastReturnCode(EcrCtx_s* ctx, uint32_t* code);

/* ---- Transaction parameters ---- */

/* 0 to 12; any other number answers ECR_INVALID_ARGUMENT. */
ZQ_API ecr_status ecr_setTransactionType(EcrCtx_s* ctx, ecr_transactionType type);
/* 1 to 12 decimal digits. */
ZQ_API ecr_status ecr_setTransactionAmount(EcrCtx_s* ctx, const char* amount);
/* At most 46 bytes. Texts that go into a request never hold the link's
 * control bytes STX, ETX, EOT, ACK, NAK or FS: such a text answers
 * ECR_INVALID_ARGUMENT (title, additional printout data, the numbers of the
 * transaction to complete or reverse, the cash register id). */
ZQ_API ecr_status ecr_setTransactionTitle(EcrCtx_s* ctx, const char* title);
/* Digits only, not empty. */
ZQ_API ecr_status ecr_setTransactionBlikCode(EcrCtx_s* ctx, const char* code);
/* At most 64 bytes, no control byte of the link. */
ZQ_API ecr_status ecr_setAdditionalPrintoutData(EcrCtx_s* ctx, const char* data);
/* 1 to 13 decimal digits. */
ZQ_API ecr_status ecr_setEvoucherEan(EcrCtx_s* ctx, const char* ean);
ZQ_API ecr_status ecr_setNumberOfTransactionToComplete(EcrCtx_s* ctx, const char* number);
ZQ_API ecr_status ecr_setNumberOfTransactionToReverse(EcrCtx_s* ctx, const char* number);
/* Below 100000000. */
ZQ_API ecr_status ecr_setTransactionId(EcrCtx_s* ctx, uint32_t id);
/* Below 100. */
ZQ_API ecr_status ecr_setCardsetId(EcrCtx_s* ctx, uint32_t id);
/* Below 1000. */
ZQ_API ecr_status ecr_setCurrencyId(EcrCtx_s* ctx, uint32_t id);
/* Below 10. */
ZQ_API ecr_status ecr_setTerminalIndex(EcrCtx_s* ctx, uint8_t index);
ZQ_API ecr_status ecr_setEvoucherOperationType(EcrCtx_s* ctx, uint8_t type);
ZQ_API ecr_status ecr_setTransactionTokenGenerationEnabled(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_setResetReport(EcrCtx_s* ctx, bool reset);
/* 0 and 1 as given; any other mode is stored as 2. */
ZQ_API ecr_status ecr_setHandleTerminalRequests(EcrCtx_s* ctx, uint32_t mode);
/* Exactly one byte, not a control byte of the link. */
ZQ_API ecr_status ecr_setCashRegisterId(EcrCtx_s* ctx, const char* id, size_t length);
ZQ_API ecr_status ecr_setTag(EcrCtx_s* ctx, TlvTag tag, const uint8_t* value, size_t length);
ZQ_API ecr_status ecr_setTagToEmpty(EcrCtx_s* ctx, TlvTag tag);
ZQ_API ecr_status ecr_addFleetCardProductData(EcrCtx_s* ctx, const uint8_t* data, size_t length);

/* ---- Terminal commands ---- */

ZQ_API ecr_status ecr_startTransaction(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_continueTransaction(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_startEvoucherTransaction(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_getLastTransactionData(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_getBatchSummary(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_getSingleTransactionFromBatch(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_getTerminalStatus(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_readTerminalInformationData(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_generateReport(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_getReportCardsetSummary(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_getReportTotalSummary(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_generateDccAnalysis(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_getTransactionDccAnalysisCurrencySummary(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_getTransactionDccAnalysisTotalSummary(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_generateTransactionAnalysis(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_getTransactionAnalysisDetails(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_getTransactionAnalysisSummary(EcrCtx_s* ctx);
/* Sends the request bytes as they are and returns the terminal's whole reply.
 * A reply longer than *responseLength answers ECR_ERROR and leaves buffer
 * and length as they were; a malformed reply or a failed exchange answers
 * ECR_COMM_ERROR; a NULL request or response (with a length) answers
 * ECR_INVALID_ARGUMENT before anything is sent. */
ZQ_API ecr_status ecr_cmdExchange(EcrCtx_s* ctx, const uint8_t* request, size_t requestLength,
                                  uint8_t* response, size_t* responseLength);
ZQ_API ecr_status ecr_cancelTransaction(EcrCtx_s* ctx);
ZQ_API ecr_status ecr_waitForStatusChange(EcrCtx_s* ctx);

/* ---- Result readers: typed values ---- */

ZQ_API ecr_status ecr_readTransactionType(EcrCtx_s* ctx, ecr_transactionType* type);
ZQ_API ecr_status ecr_readOriginalTransactionType(EcrCtx_s* ctx, ecr_transactionType* type);
ZQ_API ecr_status ecr_readUsedCardReaderType(EcrCtx_s* ctx, CardReaderType* type);
ZQ_API ecr_status ecr_readAuthorizationType(EcrCtx_s* ctx, AuthorizationType* type);
ZQ_API ecr_status ecr_readAuthorizationMethod(EcrCtx_s* ctx, AuthorizationMethod* method);
ZQ_API ecr_status ecr_readEmvCryptogramType(EcrCtx_s* ctx, EmvCryptogramType* type);
ZQ_API ecr_status ecr_readIfTerminalMadePrinout(EcrCtx_s* ctx, bool* printed);
ZQ_API ecr_status ecr_readIfMultilanguagePrintoutIsRequired(EcrCtx_s* ctx, bool* required);
ZQ_API ecr_status ecr_readIfReversalWasManual(EcrCtx_s* ctx, bool* manual);
ZQ_API ecr_status ecr_readIfTransactionWasReversal(EcrCtx_s* ctx, bool* reversal);
ZQ_API ecr_status ecr_readBatchStatus(EcrCtx_s* ctx, ecr_batchStatus* status);
ZQ_API ecr_status ecr_readTerminalStatus(EcrCtx_s* ctx, ecr_terminalStatus* status);

/* ---- Result readers: texts (room the caller provides, NUL included) ---- */

/* Each ECR_..._SIZE is the room its readers need: the longest text they
 * write and its NUL. */

/* "YYYY-MM-DD". */
#define ECR_TRANSACTION_DATE_SIZE 11
ZQ_API ecr_status ecr_readTransactionDate(EcrCtx_s* ctx, char* date);
/* "hh:mm:ss". */
#define ECR_TRANSACTION_TIME_SIZE 9
ZQ_API ecr_status ecr_readTransactionTime(EcrCtx_s* ctx, char* time);
/* Hexadecimal texts, two digits a byte: a cryptogram of 8 bytes, a counter
 * of 2, a TVR of 5, a TSI of 2, an AID of 16. */
#define ECR_CRYPTOGRAM_SIZE 17
#define ECR_TRANSACTION_COUNTER_SIZE 5
#define ECR_TVR_SIZE 11
#define ECR_TSI_SIZE 5
#define ECR_AID_SIZE 33
ZQ_API ecr_status ecr_readTransactionCryptogram(EcrCtx_s* ctx, char* cryptogram);
ZQ_API ecr_status ecr_readTransactionCounter(EcrCtx_s* ctx, char* counter);
ZQ_API ecr_status ecr_readTransactionTvr(EcrCtx_s* ctx, char* tvr);
ZQ_API ecr_status ecr_readTransactionTsi(EcrCtx_s* ctx, char* tsi);
ZQ_API ecr_status ecr_readTransactionAid(EcrCtx_s* ctx, char* aid);
/* Amount digits without leading zeros, at most 12, ECR_AMOUNT_SIZE bytes each. */
#define ECR_AMOUNT_SIZE 13
ZQ_API ecr_status ecr_readTransactionAmount(EcrCtx_s* ctx, char* amount);
ZQ_API ecr_status ecr_readTransactionAmountInTerminalCurrency(EcrCtx_s* ctx, char* amount);
ZQ_API ecr_status ecr_readTransactionCashback(EcrCtx_s* ctx, char* amount);
ZQ_API ecr_status ecr_readAosa(EcrCtx_s* ctx, char* amount);
ZQ_API ecr_status ecr_readTransactionAmountOfTip(EcrCtx_s* ctx, char* amount);
/* At most 64 bytes of text, as much as the host may set; a longer text from
 * the terminal is cut to them. */
#define ECR_ADDITIONAL_PRINTOUT_DATA_MAX_LEN 64
#define ECR_ADDITIONAL_PRINTOUT_DATA_SIZE (ECR_ADDITIONAL_PRINTOUT_DATA_MAX_LEN + 1)
ZQ_API ecr_status ecr_readAdditionalPrintoutData(EcrCtx_s* ctx, char* data);
/* Three-letter labels; empty for a code the library does not know. */
#define ECR_CURRENCY_LABEL_SIZE 4
ZQ_API ecr_status ecr_readTransactionCurrencyLabel(EcrCtx_s* ctx, char* label);
ZQ_API ecr_status ecr_readTerminalCurrencyLabel(EcrCtx_s* ctx, char* label);
/* The BCD currency code as a number (0x0985 for 985). */
ZQ_API ecr_status ecr_readTransactionCurrencyCode(EcrCtx_s* ctx, uint16_t* code);
ZQ_API ecr_status ecr_readTerminalCurrencyCode(EcrCtx_s* ctx, uint16_t* code);
/* One digit character, no NUL. */
ZQ_API ecr_status ecr_readCurrencyExponent(EcrCtx_s* ctx, char* exponent);

/* ---- Result readers: raw bytes ---- */

ZQ_API ecr_status ecr_readTag(EcrCtx_s* ctx, TlvTag tag, uint8_t* buffer, size_t* length);
ZQ_API ecr_status ecr_readTerminalId(EcrCtx_s* ctx, uint8_t* buffer, size_t* length);
ZQ_API ecr_status ecr_readMerchantId(EcrCtx_s* ctx, uint8_t* buffer, size_t* length);
ZQ_API ecr_status ecr_readTerminalAddress(EcrCtx_s* ctx, uint8_t* line1, size_t* length1,
                                          uint8_t* line2, size_t* length2, uint8_t* line3,
                                          size_t* length3);
/* The transaction's result tags as one BER-TLV image. */
ZQ_API ecr_status ecr_readResultTags(EcrCtx_s* ctx, uint8_t* buffer, size_t* length);

/* ---- Result readers: reports ---- */

ZQ_API ecr_status ecr_readReportTitle(EcrCtx_s* ctx, uint8_t* title, size_t* length);
/* Entries are counted from 1. */
ZQ_API ecr_status ecr_readReportEntry(EcrCtx_s* ctx, size_t id, uint8_t* name, size_t* nameLength,
                                      uint32_t* count, int64_t* amount);
/* As ecr_readReportEntry; valid (may be NULL) tells whether the entry
 * carried its amount. */
ZQ_API ecr_status ecr_readReportEntryValid(EcrCtx_s* ctx, size_t id, uint8_t* name,
                                           size_t* nameLength, uint32_t* count, int64_t* amount,
                                           bool* valid);

/* ---- Result readers: fleet cards ---- */

ZQ_API ecr_status ecr_readFleetCardData(EcrCtx_s* ctx, TlvTag subTag, uint8_t* buffer,
                                        size_t* length);
/* Product items are counted from 1. */
ZQ_API ecr_status ecr_readFleetCardProductData(EcrCtx_s* ctx, uint8_t index, uint8_t* buffer,
                                               size_t* length);
ZQ_API ecr_status ecr_readIfIsFleetCardIndicator(EcrCtx_s* ctx, bool* indicator);
ZQ_API ecr_status ecr_readIfIsFleetCardSignature(EcrCtx_s* ctx, bool* signature);
/* Writes at most outputSize - 1 bytes of the name and a NUL. */
ZQ_API ecr_status ecr_readFleetCardProductName(EcrCtx_s* ctx, const char* id, char* output,
                                               size_t outputSize);

/* ---- Result readers: transaction result ---- */

ZQ_API ecr_status ecr_readTransactionResult(EcrCtx_s* ctx, ecr_transactionResult* result);

ZQ_END_DECLS

#endif

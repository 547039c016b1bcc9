/* The printout functions: receipts and reports built as print lines on a
 * printout context, from the data of a terminal context.
 *
 * Order of calls: pr_initPrintoutCtx; optionally the line lengths, the
 * dictionary, the fiscal line table and the two switches (the last three are
 * process-wide and may be set before any context exists); one printout (a
 * receipt or short report in one call, a long report as start, entries,
 * finish, a closing day as start, one add per transaction, finish); then
 * pr_getNumberOfLines and pr_getNextLine until it answers
 * PRINTOUT_NO_MORE_LINES; further
 * printouts on the same context; pr_cleanPrintoutCtx.
 *
 * The library serves one printout context at a time, the most recently
 * created one. Printouts read the terminal context only through the ecr_
 * readers; building one may run one terminal command (the terminal's general
 * information, when its IDs or address are not known yet), and the closing
 * day writes its receipt-number range into the terminal context.
 *
 * Threads: a printout holds its printout context and its terminal context
 * for its whole call. From a callback it raises (the log lines of its reads
 * and of its own terminal command), or from another thread meanwhile,
 * pr_cleanPrintoutCtx leaves the printout context and the handle alone, the
 * other functions on that printout context answer 1 (pr_getNumberOfLines 0)
 * without touching it, and so does any other printout, since one printout
 * is built at a time; each logs "Printout context busy, call refused".
 * ecr_cleanup, ecr_closeConnection, the link and protocol setters and
 * commands on the terminal context are refused with "ECR context busy, call
 * refused" (zumbra_ecr.h); its readers and setters work. A printout started
 * from a callback of a running command only reads: the terminal command it
 * would run is refused, and it prints what the terminal context holds.
 *
 * The functions that answer a code answer a pr_Status value (below) as a
 * uint32_t. */
#ifndef ZUMBRA_PRINTOUT_H
#define ZUMBRA_PRINTOUT_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "zumbra_ecr_types.h"
#include "zumbra_export.h"
#include "zumbra_printout_types.h"

ZQ_BEGIN_DECLS

/* Codes of the functions that answer one; 2 is never answered. */
typedef PR_ENUM_U32(pr_Status) {
  PRINTOUT_OK = 0,                  /* done */
  PRINTOUT_NULL_CTX = 1,            /* a NULL printout or terminal context; a context in use
                                       by another call (see Threads); a closing-day add or
                                       finish without an opened closing day */
  PRINTOUT_VALUE_REFUSED = 3,       /* a value refused: a line length above 64, dictionary
                                       arrays of different lengths */
  PRINTOUT_CLOSING_DAY_REFUSED = 4, /* a closing day already opened on the context; a
                                       transaction the closing day refuses */
  PRINTOUT_NO_MORE_LINES = 5        /* no line left to read */
} pr_Status;

/* ---- Context, settings and lines ---- */

/* Creates a context (line lengths 64, no lines) in *ctx; a non-NULL *ctx is
 * overwritten, not freed. Answers PRINTOUT_OK. */
ZQ_API uint32_t pr_initPrintoutCtx(PrintoutCtx_s** ctx);
/* Destroys *ctx with its lines and any closing day, and sets it to NULL;
 * while a call uses the context (see Threads) both stay as they are. */
ZQ_API void pr_cleanPrintoutCtx(PrintoutCtx_s** ctx);

/* Stores a copy of text (NUL-terminated Windows-1250) as the phrase of id. */
ZQ_API void pr_setDictionaryPhrase(pr_Dictionary id, const char* text);
/* pr_setDictionaryPhrase for each pair; PRINTOUT_VALUE_REFUSED and nothing
 * set when the counts differ. */
ZQ_API uint32_t pr_setupDictionary(const pr_Dictionary* ids, size_t idCount, const char* const* texts,
                                   size_t textCount);
/* Stores the printer line number and longest text of a fiscal line id. */
ZQ_API void pr_setFiscalFormatLine(pr_FiscalFormatId id, pr_FiscalFormatLine line);

/* Line widths in characters, at most 64 (PRINTOUT_VALUE_REFUSED above it,
 * nothing changed). */
ZQ_API uint32_t pr_setNormalLineLen(PrintoutCtx_s* ctx, uint32_t len);
ZQ_API uint32_t pr_setSmallLineLen(PrintoutCtx_s* ctx, uint32_t len);
ZQ_API uint32_t pr_setBigLineLen(PrintoutCtx_s* ctx, uint32_t len);

/* Process-wide: printouts leave out the terminal's address lines. */
ZQ_API void pr_setHidingAddress(bool hide);
/* Process-wide: customer copies print the signature-verified line. */
ZQ_API void pr_setUsingSignatureVerifiedLine(bool use);

/* The number of lines of the current printout; 0 for a NULL context. */
ZQ_API uint32_t pr_getNumberOfLines(PrintoutCtx_s* ctx);
/* Copies the next line into *line and advances; PRINTOUT_NO_MORE_LINES when
 * none is left. */
ZQ_API uint32_t pr_getNextLine(PrintoutCtx_s* ctx, pr_Line* line);

/* ---- Transaction receipts ---- */

/* The last transaction's receipt: the customer copy when customerCopy is
 * true, else the merchant copy. */
ZQ_API uint32_t pr_prepareTransactionPrintout(PrintoutCtx_s* ctx, EcrCtx_s* ecr, bool customerCopy);
ZQ_API uint32_t pr_prepareTransactionFiscalPrintout(PrintoutCtx_s* ctx, EcrCtx_s* ecr,
                                                    bool customerCopy);

/* ---- Reports in one call: the report section the terminal context holds ---- */

ZQ_API uint32_t pr_prepareShortSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_prepareShortTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_prepareFiscalShortSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_prepareFiscalShortTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr);

/* ---- Reports over several calls: start, entries, finish ---- */

/* Each add prints the report section the terminal context holds now. */
ZQ_API uint32_t pr_startFullSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_addFullSummaryEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_finishFullSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_startFiscalFullSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_addFiscalFullSummaryEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_finishFiscalFullSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr);

/* An entry prints the transaction the terminal context holds, a summary the
 * report section it holds. */
ZQ_API uint32_t pr_startTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_addFullTransactionAnalysisEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_addFullTransactionAnalysisSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_finishTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_startFiscalTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_addFiscalFullTransactionAnalysisEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_addFiscalFullTransactionAnalysisSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_finishFiscalTransactionAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr);

ZQ_API uint32_t pr_startDccAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_addDccAnalysisEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_finishDccAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_startFiscalDccAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_addFiscalDccAnalysisEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_finishFiscalDccAnalysis(PrintoutCtx_s* ctx, EcrCtx_s* ecr);

/* ---- Closing day ---- */

/* Start opens the closing day on the printout context and prints nothing
 * (PRINTOUT_CLOSING_DAY_REFUSED when one is open already: a further closing
 * day needs a new context). Each add counts the transaction the terminal
 * context holds, all or nothing (PRINTOUT_CLOSING_DAY_REFUSED when refused).
 * Finish writes the receipt-number range into the terminal context and
 * prints the report; the closing day stays open. The standard and fiscal
 * functions work on the same closing day. */
ZQ_API uint32_t pr_startClosingDay(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_addClosingDayTransaction(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_finishClosingDay(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_startFiscalClosingDay(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_addFiscalClosingDayTransaction(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
ZQ_API uint32_t pr_finishFiscalClosingDay(PrintoutCtx_s* ctx, EcrCtx_s* ecr);

ZQ_END_DECLS

#endif

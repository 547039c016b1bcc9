package zumbra.terminal;

import zumbra.api.EcrPrintoutLine;
import zumbra.api.EcrReportEntry;

// The payment terminal as the library drives it: one terminal context and
// one printout context per process. Status answers are the library's codes (0 done, 1 error, 3
// communication error, 4 invalid argument, 5 no data, 6 not initialised,
// 7 not implemented, 8 logger error, 9 empty); -1 means a Java argument could
// not be read. Readers answer -1, 0 or null when there is nothing to read.
// Texts for people are Windows-1250 bytes; codes, amounts and dates are
// Strings. The printout methods answer their own codes: 0 done, 1 no
// printout or terminal context (or a closing day that was not started), 3 a
// value refused, 4 a closing day already started or a transaction it
// refuses, 5 no line left. Any Java thread may call any method: a call keeps
// the contexts it works on for its whole call, and initialize, cleanup,
// initializePrintout and cleanupPrintout are refused as busy (4, or 1 for
// initializePrintout) while a call of any thread holds that context.
public final class NativeEcrPaymentTerminal {
    static { System.loadLibrary("zumbrajni"); }

    private NativeEcrPaymentTerminal() {}

    // Life cycle and link.
    public static native int initialize();
    public static native void cleanup();
    public static native void setProtocol(int id);
    public static native int setTcpIpLink(String address, int port, int timeoutMs);
    public static native int setSerialLink(String port, int dataMode, int baudrate, int timeoutMs);
    public static native int closeConnection();
    public static native String getLibVersion();

    // Setters: the parameters of the next command.
    public static native int setTransactionAmount(String amount);
    public static native int setTransactionTitle(String title);
    public static native int setTransactionBlikCode(String code);
    public static native int setAdditionalPrintoutData(String data);
    public static native int setNumberOfTransactionToComplete(String number);
    public static native int setNumberOfTransactionToReverse(String number);
    public static native int setEvoucherEan(String ean);
    public static native int setCashRegisterId(String id);
    public static native int setTransactionType(int type);
    public static native int setTagToEmpty(int tag);
    public static native int setTransactionId(int id);
    public static native int setCardsetId(int id);
    public static native int setCurrencyId(int id);
    public static native int setTerminalIndex(int index);
    public static native int setEvoucherOperationType(int type);
    public static native int setHandleTerminalRequests(int mode);
    public static native int setResetReport(boolean reset);
    public static native int setTransactionTokenGenerationEnabled();
    public static native int addFleetCardData(byte[] data);
    public static native int setTag(int tag, byte[] value);

    // Readers of numbers, enumerations and flags (1 or 0).
    public static native int readTransactionResult();
    public static native int readTransactionType();
    public static native int readOriginalTransactionType();
    public static native int readUsedCardReaderType();
    public static native int readAuthorizationType();
    public static native int readAuthorizationMethod();
    public static native int readEmvCryptogramType();
    public static native int readTerminalStatus();
    public static native int readBatchStatus();
    public static native int readTransactionCurrencyCode();
    public static native int readTerminalCurrencyCode();
    public static native int readIfTerminalMadePrinout();
    public static native int readIfMultilanguagePrintoutIsRequired();
    public static native int readIfReversalWasManual();
    public static native int readIfTransactionWasReversal();
    public static native int readIfIsFleetCardIndicator();
    public static native int readIfIsFleetCardSignature();
    public static native int getLastReturnCode();
    public static native char readCurrencyExponent();

    // Readers of texts.
    public static native String readTransactionDate();
    public static native String readTransactionTime();
    public static native String readTransactionCryptogram();
    public static native String readTransactionCounter();
    public static native String readTransactionTvr();
    public static native String readTransactionTsi();
    public static native String readTransactionAid();
    public static native String readTransactionCurrencyLabel();
    public static native String readTerminalCurrencyLabel();
    public static native String readTransactionAmount();
    public static native String readTransactionAmountInTerminalCurrency();
    public static native String readTransactionCashback();
    public static native String readTransactionAmountOfTip();
    public static native String readAosa();
    public static native String readAdditionalPrintoutData();
    public static native String readFleetCardProductName(String id);
    public static native String readTerminalId();
    public static native String readMerchantId();

    // Readers of raw bytes.
    public static native byte[] readTag(int tag);
    public static native byte[] readFleetCardData(int tag);
    public static native byte[] readFleetCardProductData(int index);
    public static native byte[] readResultTags();
    public static native byte[] readReportTitle();
    public static native byte[] cmdExchange(byte[] request);
    public static native byte[][] readTerminalAddress();

    // Report entries, counted from 1.
    public static native EcrReportEntry readReportEntry(int id);

    // Commands: each talks to the terminal and answers its status.
    public static native int startTransaction();
    public static native int continueTransaction();
    public static native int cancelTransaction();
    public static native int waitForStatusChange();
    public static native int getLastTransactionData();
    public static native int generateReport();
    public static native int getReportCardsetSummary();
    public static native int getReportTotalSummary();
    public static native int generateDccAnalysis();
    public static native int getTransactionDccAnalysisCurrencySummary();
    public static native int getTransactionDccAnalysisTotalSummary();
    public static native int generateTransactionAnalysis();
    public static native int getTransactionAnalysisDetails();
    public static native int getTransactionAnalysisSummary();
    public static native int getSingleTransactionFromBatch();
    public static native int getBatchSummary();
    public static native int getTerminalStatus();
    public static native int readTerminalInformationData();
    public static native int startEvoucherTransaction();

    // Printouts: the printout context and its settings. Dictionary phrases
    // are Windows-1250 bytes ending with a 0 byte; an array without it is
    // refused.
    public static native int initializePrintout();
    public static native void cleanupPrintout();
    public static native void setDictionaryPhrase(int id, byte[] text);
    public static native int setupDictionary(int[] ids, byte[][] texts);
    public static native void setFiscalFormatLine(int formatId, int printerLine, int length);
    public static native int setNormalLineLength(int length);
    public static native int setSmallLineLength(int length);
    public static native int setBigLineLength(int length);
    public static native void setHidingAddress(boolean hide);
    public static native void setUsingSignatureVerifiedLine(boolean use);

    // The last transaction's receipt, the merchant's or the customer's copy.
    public static native int prepareTransactionPrintout(boolean customerCopy);
    public static native int prepareTransactionFiscalPrintout(boolean customerCopy);

    // Reports of the data the last report command fetched: in one call, or
    // as start, entries (one per command) and finish.
    public static native int prepareShortSummary();
    public static native int startFullSummary();
    public static native int addFullSummaryEntry();
    public static native int finishFullSummary();
    public static native int prepareShortTransactionAnalysis();
    public static native int startTransactionAnalysis();
    public static native int addFullTransactionAnalysisEntry();
    public static native int addFullTransactionAnalysisSummary();
    public static native int finishTransactionAnalysis();
    public static native int startDccAnalysis();
    public static native int addDccAnalysisEntry();
    public static native int finishDccAnalysis();
    public static native int prepareFiscalShortSummary();
    public static native int startFiscalFullSummary();
    public static native int addFiscalFullSummaryEntry();
    public static native int finishFiscalFullSummary();
    public static native int prepareFiscalShortTransactionAnalysis();
    public static native int startFiscalTransactionAnalysis();
    public static native int addFiscalFullTransactionAnalysisEntry();
    public static native int addFiscalFullTransactionAnalysisSummary();
    public static native int finishFiscalTransactionAnalysis();
    public static native int startFiscalDccAnalysis();
    public static native int addFiscalDccAnalysisEntry();
    public static native int finishFiscalDccAnalysis();

    // The closing day: start, one add per transaction of the day, finish.
    // One closing day per printout context.
    public static native int startClosingDay();
    public static native int addClosingDayTransaction();
    public static native int finishClosingDay();
    public static native int startFiscalClosingDay();
    public static native int addFiscalClosingDayTransaction();
    public static native int finishFiscalClosingDay();

    // The lines of the current printout, one by one; null when none is left.
    public static native int getNumberOfLines();
    public static native EcrPrintoutLine getNextLine();
}

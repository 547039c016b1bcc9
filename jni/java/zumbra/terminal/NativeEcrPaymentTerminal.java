package zumbra.terminal;

import zumbra.api.EcrReportEntry;

// The payment terminal as the library drives it: one terminal context per
// process. Status answers are the library's codes (0 done, 1 error, 3
// communication error, 4 invalid argument, 5 no data, 6 not initialised,
// 7 not implemented, 8 logger error, 9 empty); -1 means a Java argument could
// not be read. Readers answer -1, 0 or null when there is nothing to read.
// Texts for people are Windows-1250 bytes; codes, amounts and dates are
// Strings.
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
}

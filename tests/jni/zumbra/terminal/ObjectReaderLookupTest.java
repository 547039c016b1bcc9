package zumbra.terminal;

import static zumbra.terminal.Checks.check;
import static zumbra.terminal.Checks.checkEquals;
import static zumbra.terminal.TerminalScript.fields;

import java.util.function.Supplier;

// The object readers when the class they build cannot be had: the classes
// of zumbra.api are missing from the class path, or their constructors have
// another signature. ZQ_EXPECTED_ERROR names the error the virtual machine
// raises. The binding must answer before it asks the library: the library's
// log lines would call Java with that error pending, and a print line taken
// would be lost.
public final class ObjectReaderLookupTest {
    private static final RecordingCallbacks host = new RecordingCallbacks();

    // Calls the reader, which must raise the expected error before the
    // library logs `libraryLine`, its first line once asked.
    private static void raisesBeforeTheLibrary(String what, Supplier<Object> reader, String libraryLine) {
        int linesBefore = host.busLines.size();
        Throwable raised = null;
        try {
            Object answer = reader.get();
            check(false, what + " answered " + answer + " without an error");
        } catch (Throwable t) {
            raised = t;
        }
        checkEquals(System.getenv("ZQ_EXPECTED_ERROR"), raised == null ? null : raised.getClass().getName(),
                    what + ": error raised");
        for (String line : host.busLines.subList(linesBefore, host.busLines.size())) {
            check(!line.contains(libraryLine), what + ": the library was asked: " + line);
        }
    }

    public static void main(String[] args) {
        checkEquals(0, host.register(), "register");

        int port = new TerminalScript()
                .step(fields("32", "1"), fields("32", "0", "TOTALS,SALE|3|3750"))
                .start();
        checkEquals(0, NativeEcrPaymentTerminal.initialize(), "initialize");
        NativeEcrPaymentTerminal.setProtocol(0);
        checkEquals(0, NativeEcrPaymentTerminal.setTcpIpLink("127.0.0.1", port, 300), "link");
        checkEquals(0, NativeEcrPaymentTerminal.setCashRegisterId("1"), "cash register");
        checkEquals(0, NativeEcrPaymentTerminal.getReportTotalSummary(), "a report with one entry");
        checkEquals("", NativeTestHooks.stopTerminal(), "terminal saw the summary request");

        raisesBeforeTheLibrary("readReportEntry", () -> NativeEcrPaymentTerminal.readReportEntry(1),
                               "Read report entry");
        check(NativeEcrPaymentTerminal.readReportTitle() != null, "the binding goes on working");

        checkEquals(0, NativeEcrPaymentTerminal.initializePrintout(), "initializePrintout");
        checkEquals(0, NativeEcrPaymentTerminal.prepareShortSummary(), "a printout to read");
        int lines = NativeEcrPaymentTerminal.getNumberOfLines();
        check(lines > 0, "the printout has lines");
        raisesBeforeTheLibrary("getNextLine", () -> NativeEcrPaymentTerminal.getNextLine(), "Extracting printing line");
        checkEquals(lines, NativeEcrPaymentTerminal.getNumberOfLines(), "the printout is still there");
        NativeEcrPaymentTerminal.cleanupPrintout();

        NativeEcrPaymentTerminal.cleanup();
        Checks.finish();
    }
}

package zumbra.terminal;

import static zumbra.terminal.Checks.check;
import static zumbra.terminal.Checks.checkEquals;
import static zumbra.terminal.TerminalScript.fields;

// readReportEntry when zumbra.api.EcrReportEntry cannot be had: the class is
// missing from the class path, or its constructor has another signature.
// ZQ_EXPECTED_ERROR names the error the virtual machine raises. The binding
// must answer before it asks the library: the library's log lines would call
// Java with that error pending.
public final class ObjectReaderLookupTest {
    public static void main(String[] args) {
        String expected = System.getenv("ZQ_EXPECTED_ERROR");
        RecordingCallbacks host = new RecordingCallbacks();
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

        int linesBefore = host.busLines.size();
        Throwable raised = null;
        try {
            Object entry = NativeEcrPaymentTerminal.readReportEntry(1);
            check(false, "readReportEntry answered " + entry + " without an error");
        } catch (Throwable t) {
            raised = t;
        }
        checkEquals(expected, raised == null ? null : raised.getClass().getName(), "error raised");
        for (String line : host.busLines.subList(linesBefore, host.busLines.size())) {
            check(!line.contains("Read report entry"), "the library was asked for the entry: " + line);
        }
        check(NativeEcrPaymentTerminal.readReportTitle() != null, "the binding goes on working");

        NativeEcrPaymentTerminal.cleanup();
        Checks.finish();
    }
}

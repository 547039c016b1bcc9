package zumbra.terminal;

import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import java.util.Queue;
import java.util.concurrent.ConcurrentLinkedQueue;
import java.util.function.Consumer;

// The callback object of the tests that call the binding from several Java
// threads at once. A callback runs on the thread of the call that raised it,
// so each thread keeps the business lines of its own calls: a thread can tell
// whether the call it just made was refused as busy. The other callbacks
// give fixed answers that let a purchase go through.
class PerThreadLines extends NativeEcrCallbacks {
    static final String ECR_BUSY = "ECR context busy, call refused";
    static final String PRINTOUT_BUSY = "Printout context busy, call refused";

    private final ThreadLocal<List<String>> lines = ThreadLocal.withInitial(ArrayList::new);
    // Run on every business line, on the thread that logged it.
    volatile Consumer<String> onBusLine;
    // Run from the card prompt of a purchase.
    volatile Runnable onWaitForCard;

    // What went wrong on any thread; the main thread reports it at the end.
    static final Queue<String> failures = new ConcurrentLinkedQueue<>();

    static void expect(boolean ok, String what) {
        if (!ok) failures.add(Thread.currentThread().getName() + ": " + what);
    }

    // Reports what went wrong on the threads, at most the first 20 entries.
    static void reportFailures() {
        int shown = 0;
        for (String failure : failures) {
            if (shown++ == 20) break;
            Checks.check(false, failure);
        }
        Checks.checkEquals(0, failures.size(), "failures on the threads");
    }

    // A card purchase of 12.50 on the simulated terminal, registered with
    // this object, then the terminal's general information a receipt asks
    // for: readers and receipts have data, and the terminal is stopped.
    void purchase() {
        int port = TerminalScript.purchase()
                .step(TerminalScript.fields("26", "1", "1"), TerminalScript.fields("26", "0",
                        "SKLEP POD LIPAMI,UL. D\\xA3UGA 1,00-001 WARSZAWA,000000000123456,12345678"))
                .start();
        Checks.checkEquals(0, register(), "register");
        Checks.checkEquals(0, NativeEcrPaymentTerminal.initialize(), "initialize");
        NativeEcrPaymentTerminal.setProtocol(0);
        Checks.checkEquals(0, NativeEcrPaymentTerminal.setTcpIpLink("127.0.0.1", port, 2000), "link");
        Checks.checkEquals(0, NativeEcrPaymentTerminal.setCashRegisterId("1"), "cash register");
        Checks.checkEquals(0, NativeEcrPaymentTerminal.setTransactionType(0), "purchase");
        Checks.checkEquals(0, NativeEcrPaymentTerminal.setTransactionAmount("1250"), "amount");
        Checks.checkEquals(0, NativeEcrPaymentTerminal.startTransaction(), "startTransaction");
        Checks.checkEquals(0, NativeEcrPaymentTerminal.setTerminalIndex(1), "terminal index");
    }

    // Forgets this thread's lines so far.
    void forget() { lines.get().clear(); }

    // Whether a call of this thread logged the message since the last forget.
    boolean logged(String message) {
        for (String line : lines.get()) {
            if (line.strip().endsWith("- " + message)) return true;
        }
        return false;
    }

    public void cb_DevLog(byte[] line) {}
    public void cb_CommLog(byte[] line) {}
    public void cb_BusLog(byte[] line) {
        String text = new String(line, StandardCharsets.ISO_8859_1);
        lines.get().add(text);
        Consumer<String> hook = onBusLine;
        if (hook != null) hook.accept(text);
    }
    public void cb_ShowPromptScreen(byte[] prompt) {}
    public void cb_ShowOkScreen(byte[] prompt) {}
    public boolean cb_SignatureRequest(byte[] prompt) { return true; }
    public boolean cb_CopyRequest(byte[] prompt) { return true; }
    public boolean cb_WaitForCard(byte[] prompt) {
        Runnable hook = onWaitForCard;
        if (hook != null) hook.run();
        return true;
    }
    public boolean cb_WaitForPin(byte[] prompt) { return true; }
    public void cb_WaitForCardRemoval(byte[] prompt) {}
    public void cb_StatusChange(int status) {}
    public int cb_AskForCurrency(String[] labels) { return 1; }
    public int cb_AskForSelection(byte[][] options, byte[] title) { return 1; }
    public boolean cb_ShowYesNoScreen(byte[] prompt) { return true; }
    public String cb_GetCashbackAmount(byte[] prompt, int minLength, int maxLength) { return "100"; }
    public String cb_GetAuthorizationCode(byte[] prompt, int minLength, int maxLength) { return "A1"; }
    public String cb_GetUserData(byte[] prompt, int minLength, int maxLength) { return "1"; }
    public String cb_GetAmount(byte[] prompt, int minLength, int maxLength) { return "100"; }
}

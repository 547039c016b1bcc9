package zumbra.terminal;

import static zumbra.terminal.Checks.check;
import static zumbra.terminal.Checks.checkEquals;
import static zumbra.terminal.NativeEcrPaymentTerminal.*;
import static zumbra.terminal.PerThreadLines.expect;

import java.util.ArrayList;
import java.util.List;
import zumbra.api.EcrPrintoutLine;

// Threads (ZQ_THREADS of them) that each build and read receipts on the
// binding's one printout context, with their own initializePrintout and
// cleanupPrintout: a thread's call may find the context busy or gone (another
// thread cleaned it up), never freed under it. Every answer must be one of
// those, every line handed out a line of the receipt, and the virtual
// machine must end by itself.
public final class PrintoutThreadsTest {
    private static final int OK = 0, PR_NO_CONTEXT = 1;
    private static final int ROUNDS = 300;
    // Each thread stops after this long even if its rounds are not done.
    private static final long MAX_MILLIS = 3000;

    private static final PerThreadLines host = new PerThreadLines();

    // One thread's rounds against a receipt of `lines` lines.
    private static void rounds(int lines) {
        long end = System.currentTimeMillis() + MAX_MILLIS;
        for (int round = 0; round < ROUNDS && System.currentTimeMillis() < end; round++) {
            host.forget();
            int init = initializePrintout();
            expect(init == OK || (init == PR_NO_CONTEXT && host.logged(PerThreadLines.PRINTOUT_BUSY)),
                   "initializePrintout answered " + init);
            // 1: another thread's printout or clean-up holds a context, or
            // the context is gone.
            int built = prepareTransactionPrintout(false);
            expect(built == OK || built == PR_NO_CONTEXT, "prepareTransactionPrintout answered " + built);
            int count = getNumberOfLines();
            expect(count == 0 || count == lines, "getNumberOfLines answered " + count);
            // Other threads read and rebuild the same context meanwhile: the
            // lines are counted only to bound the loop.
            int read = 0;
            for (EcrPrintoutLine line = getNextLine(); line != null && read <= 2 * lines;
                 line = getNextLine(), read++) {
                expect(line.id >= 0 && line.id < lines, "line id " + line.id);
                expect(line.fontSize >= EcrPrintoutLine.FONT_NORMAL && line.fontSize <= EcrPrintoutLine.FONT_BIG,
                       "font " + line.fontSize);
                expect(line.text != null && line.text.length > 0 && line.text.length <= 64,
                       "text of " + (line.text == null ? "null" : line.text.length + " bytes"));
            }
            cleanupPrintout();
        }
    }

    public static void main(String[] args) throws Exception {
        int threads = Integer.parseInt(System.getenv().getOrDefault("ZQ_THREADS", "2"));
        host.purchase();
        // The first receipt asks the terminal for its general information;
        // afterwards a receipt only reads.
        checkEquals(OK, initializePrintout(), "initializePrintout");
        checkEquals(OK, prepareTransactionPrintout(false), "the first receipt");
        int lines = getNumberOfLines();
        check(lines > 2, "a receipt of " + lines + " lines");
        cleanupPrintout();
        checkEquals("", NativeTestHooks.stopTerminal(), "terminal saw exactly its script");

        List<Thread> workers = new ArrayList<>();
        for (int i = 0; i < threads; i++) {
            Thread worker = new Thread(() -> rounds(lines), "printer-" + i);
            workers.add(worker);
            worker.start();
        }
        for (Thread worker : workers) worker.join();
        PerThreadLines.reportFailures();

        // What the threads left behind is a context or none: cleaned up, the
        // binding answers as before initializePrintout, and a receipt built
        // alone is whole.
        cleanupPrintout();
        checkEquals(null, getNextLine(), "getNextLine after the threads' last cleanupPrintout");
        checkEquals(OK, initializePrintout(), "initializePrintout after the threads");
        checkEquals(OK, prepareTransactionPrintout(false), "a receipt after the threads");
        checkEquals(lines, getNumberOfLines(), "its lines");
        cleanupPrintout();
        cleanup();
        Checks.finish();
    }
}

package zumbra.terminal;

import static zumbra.terminal.Checks.check;
import static zumbra.terminal.Checks.checkEquals;
import static zumbra.terminal.NativeEcrPaymentTerminal.*;

import java.util.ArrayList;
import java.util.List;
import java.util.function.IntSupplier;

// The four lifecycle methods called from a callback of a running call: the
// call holds its contexts on the callback's own thread, so each is refused
// with the busy answer and the library's line, and the running call goes on
// with the contexts it started with.
public final class LifecycleFromCallbackTest {
    private static final int OK = 0, BUSY = 4, PR_NO_CONTEXT = 1, NOT_INITIALIZED = 6;
    // The answer of a void method.
    private static final int NONE = Integer.MIN_VALUE;

    private static final PerThreadLines host = new PerThreadLines();

    static final class Case {
        final String name;
        final IntSupplier call;
        final int answer;
        final String line;
        int answered = NONE;
        boolean logged;

        Case(String name, IntSupplier call, int answer, String line) {
            this.name = name;
            this.call = call;
            this.answer = answer;
            this.line = line;
        }
    }

    private static Case of(String name, IntSupplier call, int answer, String line) {
        return new Case(name, call, answer, line);
    }

    private static IntSupplier voidCall(Runnable call) {
        return () -> {
            call.run();
            return NONE;
        };
    }

    // Runs each case once, from inside whichever callback calls this first.
    private static void runCases(List<Case> cases) {
        for (Case c : cases) {
            host.forget();
            c.answered = c.call.getAsInt();
            c.logged = host.logged(c.line);
        }
    }

    private static void checkCases(String inside, List<Case> cases) {
        for (Case c : cases) {
            checkEquals(c.answer, c.answered, c.name + " from a callback of " + inside);
            check(c.logged, c.name + " from a callback of " + inside + " logs \"" + c.line + "\"");
        }
    }

    private static List<Case> lifecycleCases() {
        List<Case> cases = new ArrayList<>();
        cases.add(of("cleanup", voidCall(NativeEcrPaymentTerminal::cleanup), NONE, PerThreadLines.ECR_BUSY));
        cases.add(of("initialize", NativeEcrPaymentTerminal::initialize, BUSY, PerThreadLines.ECR_BUSY));
        return cases;
    }

    public static void main(String[] args) {
        // The card prompt of a purchase: the purchase holds the terminal context.
        List<Case> inPurchase = lifecycleCases();
        host.onWaitForCard = () -> {
            host.onWaitForCard = null;
            runCases(inPurchase);
        };
        host.purchase();
        checkCases("a purchase", inPurchase);
        checkEquals("1250", readTransactionAmount(), "the purchase's amount on the context it ran on");

        // The first line of a receipt: the receipt holds both contexts.
        List<Case> inReceipt = lifecycleCases();
        inReceipt.add(of("cleanupPrintout", voidCall(NativeEcrPaymentTerminal::cleanupPrintout), NONE,
                         PerThreadLines.PRINTOUT_BUSY));
        inReceipt.add(of("initializePrintout", NativeEcrPaymentTerminal::initializePrintout, PR_NO_CONTEXT,
                         PerThreadLines.PRINTOUT_BUSY));
        checkEquals(OK, initializePrintout(), "initializePrintout");
        host.onBusLine = line -> {
            host.onBusLine = null;
            runCases(inReceipt);
        };
        checkEquals(OK, prepareTransactionPrintout(false), "the receipt");
        host.onBusLine = null;
        checkCases("a receipt", inReceipt);
        int lines = getNumberOfLines();
        check(lines > 2, "the receipt's " + lines + " lines are on the context it was built on");
        int read = 0;
        while (getNextLine() != null) read++;
        checkEquals(lines, read, "its lines read");
        checkEquals("", NativeTestHooks.stopTerminal(), "terminal saw exactly its script");

        // Outside any call both go.
        cleanupPrintout();
        checkEquals(0, getNumberOfLines(), "no printout context after cleanupPrintout");
        cleanup();
        checkEquals(NOT_INITIALIZED, setTransactionAmount("1"), "no terminal context after cleanup");
        Checks.finish();
    }
}

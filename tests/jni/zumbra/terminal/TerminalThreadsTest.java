package zumbra.terminal;

import static zumbra.terminal.Checks.checkEquals;
import static zumbra.terminal.NativeEcrPaymentTerminal.*;
import static zumbra.terminal.PerThreadLines.expect;

import java.util.ArrayList;
import java.util.List;
import java.util.function.IntSupplier;

// One thread makes and destroys the binding's terminal context over and
// over (initialize, setProtocol, a link to the simulated terminal, cleanup)
// while one thread calls setters and readers and another a command on it.
// Every call must meet a context that lives for its whole call or none: its
// answer is success, busy (with the library's line, on the caller's own
// thread), or the answer without a context; nothing else, and the virtual
// machine ends by itself.
public final class TerminalThreadsTest {
    private static final int OK = 0, BUSY = 4, NO_DATA = 5, NOT_INITIALIZED = 6, NO_VALUE = -1;
    private static final int CYCLES = 5000, CALLS = 20000, COMMANDS = 200;
    // Each thread stops after this long even if its rounds are not done.
    private static final long MAX_MILLIS = 3000;
    private static final long GIVE_UP_MILLIS = 30000;
    private static final String IDLE = TerminalScript.fields("20", "0", "0");

    private static final PerThreadLines host = new PerThreadLines();

    // A status answer that may come from a call on a context, busy or none.
    private static void expectStatus(int answer, String call) {
        expect(answer == OK || answer == NOT_INITIALIZED || (answer == BUSY && host.logged(PerThreadLines.ECR_BUSY)),
               call + " answered " + answer);
    }

    // The call, made again while it is refused as busy (another thread's
    // call holds the context); the answer of the first call not refused.
    // The other threads stop after MAX_MILLIS, so it is refused for good only
    // if the context is never released.
    private static int untilNotBusy(IntSupplier call, String name) {
        long giveUp = System.currentTimeMillis() + MAX_MILLIS + GIVE_UP_MILLIS;
        while (System.currentTimeMillis() < giveUp) {
            host.forget();
            int answer = call.getAsInt();
            if (!host.logged(PerThreadLines.ECR_BUSY)) return answer;
            Thread.yield();
        }
        expect(false, name + " refused every time");
        return BUSY;
    }

    private static void cycle(int port) {
        long end = System.currentTimeMillis() + MAX_MILLIS;
        for (int i = 0; i < CYCLES && System.currentTimeMillis() < end; i++) {
            host.forget();
            int made = initialize();
            expect(made == OK || (made == BUSY && host.logged(PerThreadLines.ECR_BUSY)),
                   "initialize answered " + made);
            if (made != OK) continue;
            // Each step is tried again while refused, so that a context given
            // a link is complete for the command, and every context is gone
            // before the next initialize (which would overwrite it).
            untilNotBusy(() -> {
                setProtocol(0);
                return OK;
            }, "setProtocol");
            // Most contexts get no link: the cycle is then short, and the
            // other threads' calls meet many clean-ups.
            if (i % 8 == 0) link(port);
            untilNotBusy(() -> {
                cleanup();
                return OK;
            }, "cleanup");
        }
    }

    private static void link(int port) {
        int link = untilNotBusy(() -> setTcpIpLink("127.0.0.1", port, 2000), "setTcpIpLink");
        expect(link == OK, "setTcpIpLink answered " + link);
        int id = untilNotBusy(() -> setCashRegisterId("1"), "setCashRegisterId");
        expect(id == OK, "setCashRegisterId answered " + id);
    }

    private static void setAndRead() {
        long end = System.currentTimeMillis() + MAX_MILLIS;
        for (int i = 0; i < CALLS && System.currentTimeMillis() < end; i++) {
            host.forget();
            expectStatus(setTransactionAmount("100"), "setTransactionAmount");
            host.forget();
            expectStatus(setCashRegisterId("1"), "setCashRegisterId");
            String amount = readTransactionAmount();
            expect(amount == null || amount.equals("100"), "readTransactionAmount answered " + amount);
            int status = readTerminalStatus();
            expect(status >= NO_VALUE, "readTerminalStatus answered " + status);
            int code = getLastReturnCode();
            expect(code >= NO_VALUE, "getLastReturnCode answered " + code);
        }
    }

    private static void command() {
        long end = System.currentTimeMillis() + MAX_MILLIS;
        for (int i = 0; i < COMMANDS && System.currentTimeMillis() < end; i++) {
            host.forget();
            int answer = getTerminalStatus();
            // 5: a context whose link is set and whose cash register id is
            // not yet, which a request needs.
            if (answer != NO_DATA) expectStatus(answer, "getTerminalStatus");
        }
    }

    public static void main(String[] args) throws Exception {
        // A status reply for every command the threads may send, and one for
        // the command made alone at the end.
        TerminalScript script = new TerminalScript();
        for (int i = 0; i <= COMMANDS; i++) script.anyRequest(IDLE);
        int port = script.start();
        checkEquals(0, host.register(), "register");

        List<Thread> threads = new ArrayList<>();
        threads.add(new Thread(() -> cycle(port), "cycler"));
        threads.add(new Thread(TerminalThreadsTest::setAndRead, "setter-1"));
        threads.add(new Thread(TerminalThreadsTest::setAndRead, "setter-2"));
        threads.add(new Thread(TerminalThreadsTest::command, "commander"));
        for (Thread t : threads) t.start();
        for (Thread t : threads) t.join();
        PerThreadLines.reportFailures();

        // The cycler left no context; one made alone works.
        checkEquals(NOT_INITIALIZED, setTransactionAmount("100"), "a setter after the last cleanup");
        checkEquals(OK, initialize(), "initialize after the threads");
        setProtocol(0);
        checkEquals(OK, setTcpIpLink("127.0.0.1", port, 2000), "link after the threads");
        checkEquals(OK, setCashRegisterId("1"), "cash register after the threads");
        checkEquals(OK, getTerminalStatus(), "a command after the threads");
        cleanup();
        checkEquals(NOT_INITIALIZED, getTerminalStatus(), "a command after cleanup");
        NativeTestHooks.stopTerminal();
        Checks.finish();
    }
}

package zumbra.terminal;

import static zumbra.terminal.Checks.ascii;
import static zumbra.terminal.Checks.check;
import static zumbra.terminal.Checks.checkEquals;

import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.Queue;
import java.util.concurrent.ConcurrentLinkedQueue;
import java.util.concurrent.atomic.AtomicBoolean;

// One thread registers callback objects of two unrelated classes in turn
// while other threads' calls raise callbacks: each callback must reach the
// method it is for, on an object that was registered, and none may be lost.
public final class RegisterRaceTest {
    private static final int LINES = 3000;
    private static final int PURCHASES = 2;
    private static final String PREFIX = "race ";

    // What every callback object received: "class method text".
    private static final Queue<String> received = new ConcurrentLinkedQueue<>();

    private static void note(Object receiver, String method, byte[] text) {
        received.add(receiver.getClass().getSimpleName() + " " + method + " "
                + new String(text, StandardCharsets.ISO_8859_1));
    }

    // The callbacks in the order register looks them up.
    static final class Forward extends NativeEcrCallbacks {
        public void cb_DevLog(byte[] line) { note(this, "cb_DevLog", line); }
        public void cb_CommLog(byte[] line) { note(this, "cb_CommLog", line); }
        public void cb_BusLog(byte[] line) { note(this, "cb_BusLog", line); }
        public void cb_ShowPromptScreen(byte[] prompt) { note(this, "cb_ShowPromptScreen", prompt); }
        public void cb_ShowOkScreen(byte[] prompt) { note(this, "cb_ShowOkScreen", prompt); }
        public boolean cb_SignatureRequest(byte[] prompt) { return true; }
        public boolean cb_CopyRequest(byte[] prompt) { return true; }
        public boolean cb_WaitForCard(byte[] prompt) { note(this, "cb_WaitForCard", prompt); return true; }
        public boolean cb_WaitForPin(byte[] prompt) { note(this, "cb_WaitForPin", prompt); return true; }
        public void cb_WaitForCardRemoval(byte[] prompt) { note(this, "cb_WaitForCardRemoval", prompt); }
        public void cb_StatusChange(int status) {}
        public int cb_AskForCurrency(String[] labels) { return 1; }
        public int cb_AskForSelection(byte[][] options, byte[] title) { return 1; }
        public boolean cb_ShowYesNoScreen(byte[] prompt) { return true; }
        public String cb_GetCashbackAmount(byte[] prompt, int minLength, int maxLength) { return "100"; }
        public String cb_GetAuthorizationCode(byte[] prompt, int minLength, int maxLength) { return "A1"; }
        public String cb_GetUserData(byte[] prompt, int minLength, int maxLength) { return "1"; }
        public String cb_GetAmount(byte[] prompt, int minLength, int maxLength) { return "100"; }
    }

    // Another layout: methods of its own first, then the callbacks in reverse
    // order, so that its method ids name other slots than Forward's.
    static final class Backward extends NativeEcrCallbacks {
        int calls;
        public void counted() { calls++; }
        public String describe() { return "backward " + calls; }
        public String cb_GetAmount(byte[] prompt, int minLength, int maxLength) { return "100"; }
        public String cb_GetUserData(byte[] prompt, int minLength, int maxLength) { return "1"; }
        public String cb_GetAuthorizationCode(byte[] prompt, int minLength, int maxLength) { return "A1"; }
        public String cb_GetCashbackAmount(byte[] prompt, int minLength, int maxLength) { return "100"; }
        public boolean cb_ShowYesNoScreen(byte[] prompt) { return true; }
        public int cb_AskForSelection(byte[][] options, byte[] title) { return 1; }
        public int cb_AskForCurrency(String[] labels) { return 1; }
        public void cb_StatusChange(int status) {}
        public void cb_WaitForCardRemoval(byte[] prompt) { note(this, "cb_WaitForCardRemoval", prompt); }
        public boolean cb_WaitForPin(byte[] prompt) { note(this, "cb_WaitForPin", prompt); return true; }
        public boolean cb_WaitForCard(byte[] prompt) { note(this, "cb_WaitForCard", prompt); return true; }
        public boolean cb_CopyRequest(byte[] prompt) { return true; }
        public boolean cb_SignatureRequest(byte[] prompt) { return true; }
        public void cb_ShowOkScreen(byte[] prompt) { note(this, "cb_ShowOkScreen", prompt); }
        public void cb_ShowPromptScreen(byte[] prompt) { note(this, "cb_ShowPromptScreen", prompt); }
        public void cb_BusLog(byte[] line) { note(this, "cb_BusLog", line); }
        public void cb_CommLog(byte[] line) { note(this, "cb_CommLog", line); }
        public void cb_DevLog(byte[] line) { counted(); note(this, "cb_DevLog", line); }
    }

    // The number a test line carries, or -1 for the library's own lines.
    private static int lineNumber(String text) {
        int at = text.indexOf(PREFIX);
        if (at < 0) return -1;
        String digits = text.substring(at + PREFIX.length()).trim();
        try {
            return Integer.parseInt(digits);
        } catch (NumberFormatException e) {
            return -1;
        }
    }

    public static void main(String[] args) throws Exception {
        NativeTestHooks.startLoggers();
        checkEquals(0, new Forward().register(), "first register");

        AtomicBoolean callersDone = new AtomicBoolean(false);
        List<Integer> registerAnswers = new ArrayList<>();
        Thread registrar = new Thread(() -> {
            for (int i = 0; !callersDone.get(); i++) {
                NativeEcrCallbacks next = i % 2 == 0 ? new Backward() : new Forward();
                int answer = next.register();
                if (answer != 0) registerAnswers.add(answer);
            }
        }, "registrar");

        // Lines logged on this Java thread and on native threads the virtual
        // machine does not know, which the bridge attaches.
        Thread logger = new Thread(() -> {
            for (int i = 0; i < LINES; i++) NativeTestHooks.devLog(ascii(PREFIX + i), i % 2 == 1);
        }, "logger");
        // Purchases: prompts, questions and status changes from the library's
        // own flow.
        List<Integer> purchaseAnswers = new ArrayList<>();
        Thread buyer = new Thread(() -> {
            for (int i = 0; i < PURCHASES; i++) purchaseAnswers.add(NativeTestHooks.runPurchase());
        }, "buyer");

        registrar.start();
        logger.start();
        buyer.start();
        logger.join();
        buyer.join();
        callersDone.set(true);
        registrar.join();

        check(registerAnswers.isEmpty(), "every register answered 0: " + registerAnswers);
        for (int answer : purchaseAnswers) checkEquals(0, answer, "purchase while registering");

        int[] arrivals = new int[LINES];
        Map<String, Integer> cardPrompts = new HashMap<>();
        for (String entry : received) {
            String[] parts = entry.split(" ", 3);
            String method = parts[1];
            String text = parts[2];
            int n = lineNumber(text);
            if (n >= 0 && n < LINES) {
                check(method.equals("cb_DevLog"), "test line reached " + entry);
                arrivals[n]++;
            }
            if (method.equals("cb_WaitForCard")) cardPrompts.merge(text, 1, Integer::sum);
        }
        for (int n = 0; n < LINES; n++) {
            if (arrivals[n] != 1) check(false, "line " + n + " arrived " + arrivals[n] + " times");
        }
        checkEquals(PURCHASES, cardPrompts.getOrDefault("Insert card", 0),
                    "one card prompt per purchase");
        Checks.finish();
    }
}

package zumbra.terminal;

import java.nio.charset.StandardCharsets;
import java.util.Queue;
import java.util.Set;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.ConcurrentLinkedQueue;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.concurrent.atomic.AtomicReference;

// The callback object of the native test host: records, from any number of
// threads at once, every thread a callback arrived on, the card prompts, the
// business log lines and the object the last callback reached. The host
// reads them through the static methods.
public final class ThreadRecordingCallbacks extends NativeEcrCallbacks {
    private static final Set<Thread> threads = ConcurrentHashMap.newKeySet();
    private static final AtomicInteger cardPrompts = new AtomicInteger();
    private static final Queue<String> busLines = new ConcurrentLinkedQueue<>();
    private static final AtomicReference<Object> lastReceiver = new AtomicReference<>();

    private void arrived() {
        threads.add(Thread.currentThread());
        lastReceiver.set(this);
    }

    // Threads callbacks arrived on that are still alive, the caller's aside.
    static int threadsAlive() {
        int alive = 0;
        for (Thread t : threads) {
            if (t != Thread.currentThread() && t.isAlive()) alive++;
        }
        return alive;
    }
    static int threadsSeen() { return threads.size(); }
    static Object lastReceiver() { return lastReceiver.get(); }
    static int cardPrompts() { return cardPrompts.get(); }
    static int busLinesWith(String text) {
        int n = 0;
        for (String line : busLines) {
            if (line.contains(text)) n++;
        }
        return n;
    }

    public void cb_DevLog(byte[] line) { arrived(); }
    public void cb_CommLog(byte[] line) { arrived(); }
    public void cb_BusLog(byte[] line) {
        arrived();
        busLines.add(new String(line, StandardCharsets.ISO_8859_1));
    }
    public void cb_ShowPromptScreen(byte[] prompt) { arrived(); }
    public void cb_ShowOkScreen(byte[] prompt) { arrived(); }
    public boolean cb_SignatureRequest(byte[] prompt) { arrived(); return true; }
    public boolean cb_CopyRequest(byte[] prompt) { arrived(); return true; }
    public boolean cb_WaitForCard(byte[] prompt) {
        arrived();
        cardPrompts.incrementAndGet();
        return true;
    }
    public boolean cb_WaitForPin(byte[] prompt) { arrived(); return true; }
    public void cb_WaitForCardRemoval(byte[] prompt) { arrived(); }
    public void cb_StatusChange(int status) { arrived(); }
    public int cb_AskForCurrency(String[] labels) { arrived(); return 1; }
    public int cb_AskForSelection(byte[][] options, byte[] title) { arrived(); return 1; }
    public boolean cb_ShowYesNoScreen(byte[] prompt) { arrived(); return true; }
    public String cb_GetCashbackAmount(byte[] prompt, int minLength, int maxLength) { arrived(); return "100"; }
    public String cb_GetAuthorizationCode(byte[] prompt, int minLength, int maxLength) { arrived(); return "A1"; }
    public String cb_GetUserData(byte[] prompt, int minLength, int maxLength) { arrived(); return "1"; }
    public String cb_GetAmount(byte[] prompt, int minLength, int maxLength) { arrived(); return "100"; }
}

package zumbra.terminal;

import java.util.ArrayList;
import java.util.List;

// Records every dev log line with the thread it arrived on, the business log
// lines, the card and PIN prompts and the status changes; can be told to
// throw from the dev log, card and status callbacks. The other callbacks
// give fixed answers.
class RecordingCallbacks extends NativeEcrCallbacks {
    final List<byte[]> devLines = new ArrayList<>();
    final List<String> devThreads = new ArrayList<>();
    boolean throwOnDevLog;
    boolean throwOnWaitForCard;
    boolean throwOnStatusChange;
    final List<String> busLines = new ArrayList<>();
    final List<Integer> statuses = new ArrayList<>();
    final List<String> prompts = new ArrayList<>();

    public void cb_DevLog(byte[] line) {
        if (throwOnDevLog) throw new IllegalStateException("host failure inside cb_DevLog");
        devLines.add(line);
        devThreads.add(Thread.currentThread().getName());
    }
    public void cb_CommLog(byte[] line) {}
    public void cb_BusLog(byte[] line) {
        busLines.add(new String(line, java.nio.charset.StandardCharsets.ISO_8859_1));
    }
    public void cb_ShowPromptScreen(byte[] prompt) {}
    public void cb_ShowOkScreen(byte[] prompt) {}
    public boolean cb_SignatureRequest(byte[] prompt) { return true; }
    public boolean cb_CopyRequest(byte[] prompt) { return true; }
    public boolean cb_WaitForCard(byte[] prompt) {
        prompts.add("card:" + new String(prompt, java.nio.charset.StandardCharsets.ISO_8859_1));
        if (throwOnWaitForCard) throw new IllegalStateException("host failure inside cb_WaitForCard");
        return true;
    }
    public boolean cb_WaitForPin(byte[] prompt) {
        prompts.add("pin:" + new String(prompt, java.nio.charset.StandardCharsets.ISO_8859_1));
        return true;
    }
    public void cb_WaitForCardRemoval(byte[] prompt) {}
    public void cb_StatusChange(int status) {
        statuses.add(status);
        if (throwOnStatusChange) throw new IllegalStateException("host failure inside cb_StatusChange");
    }
    public int cb_AskForCurrency(String[] labels) { return 1; }
    public int cb_AskForSelection(byte[][] options, byte[] title) { return 1; }
    public boolean cb_ShowYesNoScreen(byte[] prompt) { return true; }
    public String cb_GetCashbackAmount(byte[] prompt, int minLength, int maxLength) { return "100"; }
    public String cb_GetAuthorizationCode(byte[] prompt, int minLength, int maxLength) { return "A1"; }
    public String cb_GetUserData(byte[] prompt, int minLength, int maxLength) { return "1"; }
    public String cb_GetAmount(byte[] prompt, int minLength, int maxLength) { return "100"; }
}

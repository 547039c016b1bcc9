package zumbra.terminal;

import java.util.ArrayList;
import java.util.List;

// A callback object that stops after cb_WaitForCardRemoval: it has no
// cb_StatusChange and none of the later methods.
class PartialCallbacks extends NativeEcrCallbacks {
    final List<byte[]> devLines = new ArrayList<>();

    public void cb_DevLog(byte[] line) { devLines.add(line); }
    public void cb_CommLog(byte[] line) {}
    public void cb_BusLog(byte[] line) {}
    public void cb_ShowPromptScreen(byte[] prompt) {}
    public void cb_ShowOkScreen(byte[] prompt) {}
    public boolean cb_SignatureRequest(byte[] prompt) { return true; }
    public boolean cb_CopyRequest(byte[] prompt) { return true; }
    public boolean cb_WaitForCard(byte[] prompt) { return true; }
    public boolean cb_WaitForPin(byte[] prompt) { return true; }
    public void cb_WaitForCardRemoval(byte[] prompt) {}
}

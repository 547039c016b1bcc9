package zumbra.terminal;

// Native helpers of the test only: they make the library raise callbacks.
final class NativeTestHooks {
    static { System.loadLibrary("zq_jni_test_hooks"); }

    private NativeTestHooks() {}

    // Starts the library's loggers, as its first terminal call does.
    static native void startLoggers();
    // Logs the bytes as one developer line, on this thread or on a native
    // thread the virtual machine does not know.
    static native void devLog(byte[] text, boolean foreignThread);
    // A card purchase against a scripted terminal; answers the start's status.
    static native int runPurchase();
    // Serves a script in the format of zq_terminal_simulator on loopback;
    // answers the port.
    static native int startTerminal(String script);
    // Stops the terminal; answers its mismatches and unused steps, or "".
    static native String stopTerminal();
}

package zumbra.terminal;

public final class NativeInputValidator {
    static { System.loadLibrary("zumbrajni"); }

    private NativeInputValidator() {}

    public static native boolean native_isAllowed(char c);
}

package zumbra.terminal;

// The object registered here receives the library's callbacks; its class
// declares the cb_ methods.
public class NativeEcrCallbacks {
    static { System.loadLibrary("zumbrajni"); }

    public native int register();
}

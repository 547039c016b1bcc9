package zumbra.terminal;

public final class NativeTlvStorage {
    static { System.loadLibrary("zumbrajni"); }

    private NativeTlvStorage() {}

    public static native void tlvInit();
    public static native void tlvClean();
    public static native int addTag(int tag, byte[] data, int len);
    public static native int forceAddTag(int tag, byte[] data, int len);
    public static native int replaceTag(int tag, byte[] data, int len);
    public static native int removeTag(int tag);
    public static native int findTag(int tag);
    public static native byte[] readTag(int tag);
    public static native int setBuffer(byte[] data, int len);
    public static native int addBuffer(byte[] data, int len);
    public static native int forceAddBuffer(byte[] data, int len);
    public static native byte[] readBuffer();
    public static native int clearStore();
}

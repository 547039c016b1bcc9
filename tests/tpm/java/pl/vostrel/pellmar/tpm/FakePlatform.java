package pl.vostrel.pellmar.tpm;

/** Steers the fake Windows platform that the test build of certmint runs on. */
final class FakePlatform {
    private FakePlatform() {}

    static native void reset();

    /** The first call of that name fails with the code. */
    static native void failAt(String call, int code);

    /** Every platform call so far, one a line. */
    static native String calls();

    static native boolean everythingReleased();
}

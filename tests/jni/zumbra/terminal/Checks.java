package zumbra.terminal;

import java.util.Arrays;
import java.util.Objects;

// The checks of the Java tests: each failed check is printed, and the exit
// status of the virtual machine is the verdict.
final class Checks {
    private static int failures;

    private Checks() {}

    static void check(boolean ok, String what) {
        if (!ok) {
            failures++;
            System.err.println("FAILED: " + what);
        }
    }

    static void checkEquals(Object expected, Object actual, String what) {
        check(Objects.equals(expected, actual), what + ": expected " + expected + ", got " + actual);
    }

    static void checkBytes(byte[] expected, byte[] actual, String what) {
        check(Arrays.equals(expected, actual),
              what + ": expected " + Arrays.toString(expected) + ", got " + Arrays.toString(actual));
    }

    static byte[] bytes(int... values) {
        byte[] out = new byte[values.length];
        for (int i = 0; i < values.length; i++) out[i] = (byte) values[i];
        return out;
    }

    static byte[] ascii(String text) {
        return text.getBytes(java.nio.charset.StandardCharsets.US_ASCII);
    }

    // Ends the test: exit status 1 when a check failed.
    static void finish() {
        if (failures > 0) {
            System.err.println(failures + " check(s) failed");
            System.exit(1);
        }
        System.out.println("all checks passed");
    }
}

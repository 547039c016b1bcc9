package zumbra.terminal;

import static zumbra.terminal.Checks.bytes;
import static zumbra.terminal.Checks.check;
import static zumbra.terminal.Checks.checkBytes;
import static zumbra.terminal.Checks.checkEquals;

import java.util.Arrays;

// Drives the TLV storage, the input validator and the callback bridges in a
// real virtual machine.
public final class BindingTest {
    private static final int TLV_OK = 0, TLV_EMPTY_VALUE = 1, TLV_TAG_MISSING = 2,
            TLV_TAG_PRESENT = 3, TLV_CORRUPTED = 4;
    private static final int UNAVAILABLE = -1;
    private static final int TAG_TYPE = 0x9C, TAG_AMOUNT = 0x9F02;

    private static boolean endsWith(byte[] line, byte[] tail) {
        int n = line.length;
        while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) n--;
        return n >= tail.length
                && Arrays.equals(Arrays.copyOfRange(line, n - tail.length, n), tail);
    }

    // Without a store every method reaches the library with NULL.
    private static void storeMissing(String when) {
        checkEquals(TLV_CORRUPTED, NativeTlvStorage.addTag(TAG_TYPE, bytes(1), 1), when + " addTag");
        checkEquals(TLV_CORRUPTED, NativeTlvStorage.findTag(TAG_TYPE), when + " findTag");
        checkEquals(TLV_CORRUPTED, NativeTlvStorage.clearStore(), when + " clearStore");
        check(NativeTlvStorage.readTag(TAG_TYPE) == null, when + " readTag answers null");
        check(NativeTlvStorage.readBuffer() == null, when + " readBuffer answers null");
    }

    private static void tagRoundTrips() {
        byte[] ten = bytes(1, 2, 3, 4, 5, 6, 7, 8, 9, 10);
        checkEquals(TLV_OK, NativeTlvStorage.addTag(TAG_TYPE, ten, 4), "addTag of 4 of 10 bytes");
        checkBytes(bytes(1, 2, 3, 4), NativeTlvStorage.readTag(TAG_TYPE), "only the first 4 bytes stored");
        checkEquals(TLV_TAG_PRESENT, NativeTlvStorage.addTag(TAG_TYPE, ten, 2), "addTag keeps a present tag");
        checkEquals(TLV_OK, NativeTlvStorage.forceAddTag(TAG_TYPE, ten, 2), "forceAddTag");
        checkBytes(bytes(1, 2), NativeTlvStorage.readTag(TAG_TYPE), "forceAddTag replaced the value");
        checkEquals(TLV_TAG_MISSING, NativeTlvStorage.replaceTag(TAG_AMOUNT, ten, 6), "replaceTag of an absent tag");
        checkEquals(TLV_OK, NativeTlvStorage.replaceTag(TAG_TYPE, ten, 3), "replaceTag of a present tag");
        checkBytes(bytes(1, 2, 3), NativeTlvStorage.readTag(TAG_TYPE), "replaceTag replaced the value");
        checkEquals(TLV_OK, NativeTlvStorage.findTag(TAG_TYPE), "findTag of a present tag");
        checkEquals(TLV_OK, NativeTlvStorage.removeTag(TAG_TYPE), "removeTag");
        checkEquals(TLV_TAG_MISSING, NativeTlvStorage.findTag(TAG_TYPE), "findTag after removeTag");
        check(NativeTlvStorage.readTag(TAG_TYPE) == null, "readTag of a removed tag answers null");
    }

    // Arrays and lengths the binding must refuse before touching the store.
    private static void unusableArguments() {
        byte[] four = bytes(1, 2, 3, 4);
        Object[][] cases = {
            {"null array", null, 0},
            {"len beyond the array", four, 5},
            {"negative len", four, -1},
        };
        for (Object[] c : cases) {
            byte[] data = (byte[]) c[1];
            int len = (Integer) c[2];
            checkEquals(UNAVAILABLE, NativeTlvStorage.addTag(TAG_TYPE, data, len), "addTag, " + c[0]);
            checkEquals(UNAVAILABLE, NativeTlvStorage.forceAddTag(TAG_TYPE, data, len), "forceAddTag, " + c[0]);
            checkEquals(UNAVAILABLE, NativeTlvStorage.replaceTag(TAG_TYPE, data, len), "replaceTag, " + c[0]);
            checkEquals(UNAVAILABLE, NativeTlvStorage.setBuffer(data, len), "setBuffer, " + c[0]);
            checkEquals(UNAVAILABLE, NativeTlvStorage.addBuffer(data, len), "addBuffer, " + c[0]);
            checkEquals(UNAVAILABLE, NativeTlvStorage.forceAddBuffer(data, len), "forceAddBuffer, " + c[0]);
        }
        checkEquals(TLV_TAG_MISSING, NativeTlvStorage.findTag(TAG_TYPE), "nothing stored by a refused call");
        checkEquals(TLV_EMPTY_VALUE, NativeTlvStorage.addTag(TAG_TYPE, new byte[0], 0), "addTag of an empty array");
        checkEquals(TLV_TAG_MISSING, NativeTlvStorage.findTag(TAG_TYPE), "an empty value is not stored");
    }

    private static void bufferRoundTrips() {
        checkEquals(TLV_OK, NativeTlvStorage.clearStore(), "clearStore");
        checkEquals(TLV_OK, NativeTlvStorage.addTag(TAG_TYPE, bytes(0x00), 1), "addTag before readBuffer");
        byte[] image = NativeTlvStorage.readBuffer();
        checkBytes(bytes(0x9C, 0x01, 0x00), image, "readBuffer image");

        byte[] amount = bytes(0x9F, 0x02, 0x02, 0x12, 0x50, 0x9C, 0x01, 0x20, 0xFF);
        checkEquals(TLV_OK, NativeTlvStorage.addBuffer(amount, 8), "addBuffer of 8 of 9 bytes");
        checkBytes(bytes(0x12, 0x50), NativeTlvStorage.readTag(TAG_AMOUNT), "addBuffer added a new tag");
        checkBytes(bytes(0x00), NativeTlvStorage.readTag(TAG_TYPE), "addBuffer kept a present tag");
        checkEquals(TLV_OK, NativeTlvStorage.forceAddBuffer(amount, 8), "forceAddBuffer");
        checkBytes(bytes(0x20), NativeTlvStorage.readTag(TAG_TYPE), "forceAddBuffer replaced a present tag");
        checkEquals(TLV_CORRUPTED, NativeTlvStorage.addBuffer(bytes(0x9C, 0x05, 0x01), 3),
                    "addBuffer of an item longer than its data");

        checkEquals(TLV_OK, NativeTlvStorage.setBuffer(image, image.length), "setBuffer");
        checkBytes(image, NativeTlvStorage.readBuffer(), "setBuffer replaced the content");
        checkEquals(TLV_TAG_MISSING, NativeTlvStorage.findTag(TAG_AMOUNT), "setBuffer dropped the earlier tags");
    }

    // Values and images beyond the readers' 512 bytes come back as null.
    private static void readersTooShort() {
        checkEquals(TLV_OK, NativeTlvStorage.clearStore(), "clearStore");
        checkEquals(TLV_OK, NativeTlvStorage.addTag(TAG_AMOUNT, new byte[512], 510), "addTag of 510 bytes");
        check(NativeTlvStorage.readTag(TAG_AMOUNT) != null, "readTag of 510 bytes");
        check(NativeTlvStorage.readBuffer() == null, "readBuffer of an image above 512 bytes answers null");
        checkEquals(TLV_OK, NativeTlvStorage.forceAddTag(TAG_AMOUNT, new byte[600], 600), "forceAddTag of 600 bytes");
        check(NativeTlvStorage.readTag(TAG_AMOUNT) == null, "readTag of 600 bytes answers null");
        checkEquals(TLV_OK, NativeTlvStorage.findTag(TAG_AMOUNT), "the long value is still stored");
    }

    private static void tlvStorage() {
        storeMissing("before tlvInit");
        NativeTlvStorage.tlvInit();
        tagRoundTrips();
        unusableArguments();
        bufferRoundTrips();
        readersTooShort();
        NativeTlvStorage.tlvClean();
        storeMissing("after tlvClean");
    }

    private static void validatorBeforeAnyPrompt() {
        for (char c : new char[] {'1', 'a', ' ', '\u0105'}) {
            check(!NativeInputValidator.native_isAllowed(c), "no checker yet: '" + c + "' refused");
        }
    }

    private static void callbacks() throws Exception {
        NativeTestHooks.startLoggers();
        RecordingCallbacks host = new RecordingCallbacks();
        checkEquals(0, host.register(), "register");

        // Windows-1250 bytes of a Polish text pass through unchanged.
        byte[] polish = bytes('z', 'a', 0xBF, 0xF3, 0xB3, 0xE6);
        NativeTestHooks.devLog(polish, false);
        check(host.devLines.size() == 1 && endsWith(host.devLines.get(0), polish),
              "dev log line reaches cb_DevLog with its bytes");

        NativeTestHooks.devLog(bytes('t', 'h', 'r', 'e', 'a', 'd'), true);
        check(host.devLines.size() == 2, "a line logged on a native thread reaches Java");
        check(host.devThreads.size() == 2 && !host.devThreads.get(1).equals(Thread.currentThread().getName()),
              "the native thread was attached for the callback");
        NativeTestHooks.devLog(bytes('a', 'g', 'a', 'i', 'n'), true);
        check(host.devLines.size() == 3, "a second native thread attaches again");

        // A callback that throws: printed and cleared, the native method
        // returns normally and the next callback is served.
        host.throwOnDevLog = true;
        for (boolean foreign : new boolean[] {false, true}) {
            try {
                NativeTestHooks.devLog(bytes('x'), foreign);
            } catch (Throwable t) {
                check(false, "exception of a callback reached the Java caller: " + t);
            }
        }
        host.throwOnDevLog = false;
        NativeTestHooks.devLog(bytes('o', 'k'), false);
        check(host.devLines.size() == 4 && endsWith(host.devLines.get(3), bytes('o', 'k')),
              "callbacks go on after an exception");

        // A callback object without cb_StatusChange: the virtual machine's
        // NoSuchMethodError reaches the caller, the first ten stay installed.
        PartialCallbacks partial = new PartialCallbacks();
        try {
            partial.register();
            check(false, "register of a partial object raised no NoSuchMethodError");
        } catch (NoSuchMethodError e) {
            check(String.valueOf(e.getMessage()).contains("cb_StatusChange"),
                  "NoSuchMethodError names cb_StatusChange: " + e.getMessage());
        }
        NativeTestHooks.devLog(bytes('p'), false);
        check(partial.devLines.size() == 1 && host.devLines.size() == 4,
              "after a partial register the dev log reaches the new object only");
        checkEquals(0, host.register(), "register again");
        NativeTestHooks.devLog(bytes('b', 'a', 'c', 'k'), false);
        check(host.devLines.size() == 5, "a new register re-installs every bridge");
    }

    // The library's own transaction flow asks the Java object; a question
    // callback that throws counts as "no" and interrupts the purchase.
    private static void purchaseQuestions() {
        RecordingCallbacks host = new RecordingCallbacks();
        checkEquals(0, host.register(), "register for the purchase");
        checkEquals(0, NativeTestHooks.runPurchase(), "purchase with every question answered yes");
        check(host.prompts.equals(Arrays.asList("card:Insert card", "pin:Enter PIN")),
              "card and PIN questions reach Java with their prompts: " + host.prompts);

        host.prompts.clear();
        host.throwOnWaitForCard = true;
        int status = 0;
        try {
            status = NativeTestHooks.runPurchase();
        } catch (Throwable t) {
            check(false, "exception of cb_WaitForCard reached the Java caller: " + t);
        }
        check(status != 0, "a throwing cb_WaitForCard answers no: the purchase does not succeed");
        check(host.prompts.equals(Arrays.asList("card:Insert card")),
              "no PIN question after the card question failed: " + host.prompts);
    }

    public static void main(String[] args) throws Exception {
        tlvStorage();
        validatorBeforeAnyPrompt();
        callbacks();
        purchaseQuestions();
        Checks.finish();
    }
}

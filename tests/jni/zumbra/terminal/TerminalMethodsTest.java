package zumbra.terminal;

import static zumbra.terminal.Checks.ascii;
import static zumbra.terminal.Checks.bytes;
import static zumbra.terminal.Checks.check;
import static zumbra.terminal.Checks.checkBytes;
import static zumbra.terminal.Checks.checkEquals;
import static zumbra.terminal.NativeEcrPaymentTerminal.*;
import static zumbra.terminal.TerminalScript.fields;

import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Comparator;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import zumbra.api.EcrReportEntry;

// The terminal methods of the binding in a real virtual machine, against the
// simulated terminal on loopback.
public final class TerminalMethodsTest {
    private static final int OK = 0, ERROR = 1, INVALID_ARGUMENT = 4, NOT_INITIALIZED = 6,
            NOT_IMPLEMENTED = 7;
    private static final int TLV_CORRUPTED = 4;
    private static final int UNAVAILABLE = -1, NO_VALUE = -1;
    private static final int TAG_TRANSACTION_TYPE = 0x9C, TAG_HANDLE_REQUESTS = 0x9FCD01,
            TAG_TERMINAL_INDEX = 0x9FCD69, TAG_RESET_REPORT = 0x9FD221, TAG_CARDSET_ID = 0x9FD222,
            TAG_TITLE = 0x9FD407;
    private static final int LINK_TIMEOUT_MS = 300;
    private static final int PR_NO_CONTEXT = 1;
    // The printout methods that answer 1 without a printout or terminal context.
    private static final Set<String> PRINTOUTS_OF_A_CONTEXT = new HashSet<>(Printouts.reportMethods());
    static {
        PRINTOUTS_OF_A_CONTEXT.addAll(Arrays.asList("prepareTransactionPrintout",
                "prepareTransactionFiscalPrintout", "setNormalLineLength", "setSmallLineLength",
                "setBigLineLength"));
    }

    // The natives each class declares, and so the entry points the library
    // must have for them.
    private static final Class<?>[] BINDING = {NativeEcrPaymentTerminal.class,
            NativeTlvStorage.class, NativeEcrCallbacks.class, NativeInputValidator.class};
    private static final int[] NATIVE_METHODS = {135, 13, 1, 1};

    private static List<Method> natives(Class<?> type) {
        List<Method> found = new ArrayList<>();
        for (Method m : type.getDeclaredMethods()) {
            if (Modifier.isNative(m.getModifiers())) found.add(m);
        }
        found.sort(Comparator.comparing(Method::getName));
        return found;
    }

    // Arguments the library would accept once initialised; with `nulls`, a
    // null for every String and array.
    private static Object[] arguments(Method m, boolean nulls) {
        Class<?>[] types = m.getParameterTypes();
        Object[] args = new Object[types.length];
        for (int i = 0; i < types.length; i++) {
            Class<?> t = types[i];
            if (t == int.class) args[i] = 1;
            else if (t == boolean.class) args[i] = true;
            else if (t == char.class) args[i] = '1';
            else if (nulls) args[i] = null;
            else if (t == String.class) args[i] = "1";
            else if (t == byte[].class) args[i] = bytes(1);
            else if (t == int[].class) args[i] = new int[] {1};
            else if (t == byte[][].class) args[i] = new byte[][] {bytes('1', 0)};
            else throw new IllegalArgumentException("no argument for " + t + " of " + m);
        }
        return args;
    }

    private static boolean takesReference(Method m) {
        for (Class<?> t : m.getParameterTypes()) {
            if (!t.isPrimitive()) return true;
        }
        return false;
    }

    // The answer of a method; an UnsatisfiedLinkError or another throwable
    // is returned in its place.
    private static Object invoke(Method m, Object target, Object[] args) {
        try {
            return m.invoke(target, args);
        } catch (InvocationTargetException e) {
            return e.getCause();
        } catch (ReflectiveOperationException e) {
            return e;
        }
    }

    // Before initialize the library sees NULL handles: statuses 6 (4 from the
    // TLV store, 1 from the printouts), readers -1, 0 or null.
    private static Object answerBeforeInitialisation(Method m) {
        Class<?> r = m.getReturnType();
        String name = m.getName();
        if (m.getDeclaringClass() == NativeTlvStorage.class) return r == int.class ? (Object) TLV_CORRUPTED : null;
        if (m.getDeclaringClass() == NativeInputValidator.class) return false;
        if (name.equals("getLibVersion")) return "1.6.0.0";
        if (PRINTOUTS_OF_A_CONTEXT.contains(name)) return PR_NO_CONTEXT;
        // Neither needs a context: no lines, and a dictionary pair set.
        if (name.equals("getNumberOfLines") || name.equals("setupDictionary")) return 0;
        if (r == int.class) {
            // readTerminalInformationData is a command, whatever its name.
            boolean reader = name.startsWith("read") && !name.equals("readTerminalInformationData");
            return reader || name.equals("getLastReturnCode") ? NO_VALUE : NOT_INITIALIZED;
        }
        if (r == char.class) return '\0';
        return null;
    }

    private static void everyMethodLinksAndAnswersBeforeInitialisation() {
        for (int c = 0; c < BINDING.length; c++) {
            List<Method> methods = natives(BINDING[c]);
            checkEquals(NATIVE_METHODS[c], methods.size(), "native methods of " + BINDING[c].getSimpleName());
            for (Method m : methods) {
                String name = m.getName();
                // These create what the others miss; they run last.
                if (name.equals("initialize") || name.equals("tlvInit") || name.equals("initializePrintout")) continue;
                if (name.equals("register")) {
                    // A plain callback object lacks the cb_ methods: the lookup's
                    // NoSuchMethodError comes back, which shows the entry point linked.
                    Object answer = invoke(m, new NativeEcrCallbacks(), new Object[0]);
                    check(answer instanceof NoSuchMethodError, "register links: " + answer);
                    continue;
                }
                Object answer = invoke(m, null, arguments(m, false));
                check(!(answer instanceof Throwable), name + " links and returns: " + answer);
                checkEquals(answerBeforeInitialisation(m), answer, name + " before initialisation");
            }
        }
        NativeTlvStorage.tlvInit();
        NativeTlvStorage.tlvClean();
        checkEquals(OK, initializePrintout(), "initializePrintout");
        checkEquals(null, getNextLine(), "getNextLine of an empty printout");
        checkEquals(PR_NO_CONTEXT, prepareShortSummary(), "a printout without a terminal context");
        cleanupPrintout();
        // The library looks at the context before the number.
        checkEquals(NOT_INITIALIZED, setTransactionType(13), "transaction type 13 before initialisation");
        checkEquals(OK, initialize(), "initialize");
        checkEquals(NOT_INITIALIZED, startTransaction(), "a command with neither protocol nor link");
        cleanup();
    }

    // A null String or array is answered by the binding itself: -1 or null.
    private static void nullArgumentsAreRefused() {
        for (Class<?> type : BINDING) {
            for (Method m : natives(type)) {
                if (!takesReference(m)) continue;
                Object answer = invoke(m, null, arguments(m, true));
                Object expected = m.getReturnType() == int.class ? (Object) UNAVAILABLE : null;
                checkEquals(expected, answer, m.getName() + " with null");
            }
        }
    }

    // ---- A purchase, then what the readers make of present, absent and malformed data ----

    private static void purchase() {
        int port = TerminalScript.purchase().start();
        checkEquals(OK, initialize(), "initialize");
        setProtocol(0);
        // Only the low 16 bits of the port count.
        checkEquals(OK, setTcpIpLink("127.0.0.1", port + 0x10000, LINK_TIMEOUT_MS), "link to port + 65536");
        nullArgumentsAreRefused();

        RecordingCallbacks host = new RecordingCallbacks();
        checkEquals(0, host.register(), "register");
        host.throwOnStatusChange = true;
        checkEquals(OK, setCashRegisterId("1"), "cash register");
        checkEquals(OK, setTransactionType(0), "purchase");
        checkEquals(OK, setTransactionAmount("1250"), "amount");
        int status = UNAVAILABLE;
        try {
            status = startTransaction();
        } catch (Throwable t) {
            check(false, "exception of cb_StatusChange reached the Java caller: " + t);
        }
        checkEquals(OK, status, "a purchase whose status callback throws goes through");
        check(!host.statuses.isEmpty(), "the throwing status callback was called");
        checkEquals(Arrays.asList("card:Insert card"), host.prompts, "card prompt");
        checkEquals("", NativeTestHooks.stopTerminal(), "terminal saw exactly its script");
        checkEquals(0, getLastReturnCode(), "last return code");
    }

    private static void readersOfPresentData() {
        Object[][] ints = {
            {"readTransactionResult", readTransactionResult(), 0},
            {"readTransactionType", readTransactionType(), 0},
            {"readUsedCardReaderType", readUsedCardReaderType(), 2},  // chip
            {"readAuthorizationType", readAuthorizationType(), 1},
            {"readTerminalStatus", readTerminalStatus(), 0},
            {"readIfTerminalMadePrinout", readIfTerminalMadePrinout(), 1},
            {"readIfTransactionWasReversal", readIfTransactionWasReversal(), 0},
            {"readTransactionCurrencyCode", readTransactionCurrencyCode(), 0x0985},
        };
        for (Object[] c : ints) checkEquals(c[2], c[1], (String) c[0]);
        Object[][] texts = {
            {"readTransactionDate", readTransactionDate(), "2024-03-15"},
            {"readTransactionTime", readTransactionTime(), "14:32:07"},
            {"readTransactionAmount", readTransactionAmount(), "1250"},
            {"readTransactionCounter", readTransactionCounter(), "0012"},
            {"readTransactionCryptogram", readTransactionCryptogram(), "1122334455667788"},
            {"readTransactionAid", readTransactionAid(), "A0000000031010"},
            {"readTransactionTvr", readTransactionTvr(), "0000008000"},
            {"readTransactionTsi", readTransactionTsi(), "E800"},
            {"readTransactionCurrencyLabel", readTransactionCurrencyLabel(), "PLN"},
            {"readTerminalId", readTerminalId(), "T4567001"},
            {"readMerchantId", readMerchantId(), "M000123456"},
        };
        for (Object[] c : texts) checkEquals(c[2], c[1], (String) c[0]);
        checkBytes(ascii("0"), readTag(TAG_TRANSACTION_TYPE), "readTag of the transaction type");
        byte[] head = bytes(0x9C, 0x01, '0', 0x9F, 0xD4, 0x0B, 0x01, '0', 0x9F, 0xD4, 0x01, 0x02, '4', '2');
        byte[] image = readResultTags();
        check(image != null && image.length > head.length
                && Arrays.equals(Arrays.copyOf(image, head.length), head),
              "readResultTags starts with the mandatory items: " + Arrays.toString(image));
    }

    private static void readersOfAbsentData() {
        Object[][] cases = {
            {"readTransactionCashback", readTransactionCashback(), null},
            {"readTransactionAmountOfTip", readTransactionAmountOfTip(), null},
            {"readAosa", readAosa(), null},
            {"readTransactionAmountInTerminalCurrency", readTransactionAmountInTerminalCurrency(), null},
            {"readTerminalCurrencyLabel", readTerminalCurrencyLabel(), null},
            {"readAdditionalPrintoutData", readAdditionalPrintoutData(), null},
            {"readFleetCardProductName", readFleetCardProductName("1"), null},
            {"readTerminalCurrencyCode", readTerminalCurrencyCode(), NO_VALUE},
            {"readIfIsFleetCardIndicator", readIfIsFleetCardIndicator(), NO_VALUE},
            {"readCurrencyExponent", readCurrencyExponent(), '\0'},
            {"readFleetCardData", readFleetCardData(0xDF01), null},
            {"readFleetCardProductData", readFleetCardProductData(1), null},
            {"readTerminalAddress", readTerminalAddress(), null},
            {"readReportTitle", readReportTitle(), null},
            {"readReportEntry", readReportEntry(1), null},
            {"readTag", readTag(0x9FCD31), null},
        };
        for (Object[] c : cases) checkEquals(c[2], c[1], c[0] + " of absent data");
    }

    // Values put into the store as a terminal might send them.
    private static void readersOfMalformedData() {
        checkEquals(OK, setTag(0x9A, bytes(0x24, 0x03, 0x15, 0x01)), "date of 4 bytes");
        checkEquals(null, readTransactionDate(), "readTransactionDate of 4 bytes");
        checkEquals(OK, setTag(0x9F26, new byte[9]), "cryptogram of 9 bytes");
        checkEquals(null, readTransactionCryptogram(), "readTransactionCryptogram of 18 digits");
        checkEquals(OK, setTag(0x9F02, bytes(0x01, 0, 0, 0, 0, 0x12, 0x50)), "amount of 14 digits");
        checkEquals(null, readTransactionAmount(), "readTransactionAmount of 14 digits");
        checkEquals(OK, setTag(0x5F2A, bytes(0x09, 0x85, 0x00)), "currency code of 3 bytes");
        checkEquals(NO_VALUE, readTransactionCurrencyCode(), "readTransactionCurrencyCode of 3 bytes");
        checkEquals(null, readTransactionCurrencyLabel(), "readTransactionCurrencyLabel of 3 bytes");
        checkEquals(OK, setTag(0x5F36, bytes(2, 2)), "exponent of 2 bytes");
        checkEquals('\0', readCurrencyExponent(), "readCurrencyExponent of 2 bytes");
        checkEquals(OK, setTag(0x5F36, bytes(2)), "exponent 2");
        checkEquals('2', readCurrencyExponent(), "readCurrencyExponent");
        checkEquals(OK, setTag(0x9FD40B, ascii("5")), "transaction result 5");
        checkEquals(NO_VALUE, readTransactionResult(), "readTransactionResult of 5");
        checkEquals(OK, setTag(0x9F1C, new byte[33]), "terminal id of 33 bytes");
        checkEquals(null, readTerminalId(), "readTerminalId longer than its 32 bytes");
        // Texts that ought to be ASCII: other bytes cannot cross as modified UTF-8.
        checkEquals(OK, setTag(0xDF12, bytes('1', '2', 0xE9, '4')), "tip with a byte above 0x7F");
        checkEquals("12?4", readTransactionAmountOfTip(), "readTransactionAmountOfTip");
        checkEquals(OK, setTag(0x9F16, bytes('M', 0, '1')), "merchant id with a 0 byte");
        checkEquals("M?1", readMerchantId(), "readMerchantId keeps every byte");
        byte[] seventy = new byte[70];
        Arrays.fill(seventy, (byte) 'A');
        checkEquals(OK, setTag(0xDF11, seventy), "additional printout data of 70 bytes");
        checkEquals("A".repeat(64), readAdditionalPrintoutData(), "readAdditionalPrintoutData");
    }

    private static void addressAndFleetCard() {
        byte[] street = bytes('u', 'l', '.', ' ', 0xA3, 0xF3, 'd', 0x9F, 'k', 'a');  // "ul. Łódźka", Windows-1250
        checkEquals(OK, setTag(0x9FCD31, ascii("SKLEP")), "address line 1");
        checkEquals(OK, setTag(0x9FCD32, street), "address line 2");
        checkEquals(null, readTerminalAddress(), "readTerminalAddress without line 3");
        checkEquals(OK, setTag(0x9FCD33, ascii("00-001")), "address line 3");
        byte[][] address = readTerminalAddress();
        check(address != null && address.length == 3, "readTerminalAddress gives three lines");
        if (address != null && address.length == 3) {
            checkBytes(ascii("SKLEP"), address[0], "address line 1");
            checkBytes(street, address[1], "address line 2, Windows-1250 bytes unchanged");
            checkBytes(ascii("00-001"), address[2], "address line 3");
        }

        byte[] names = ascii("1=DIESEL|2=PB95");
        byte[] fleet = new byte[7 + names.length];
        System.arraycopy(bytes(0xDF, 0x01, 0x01, 0x03, 0xDF, 0x02, names.length), 0, fleet, 0, 7);
        System.arraycopy(names, 0, fleet, 7, names.length);
        checkEquals(OK, setTag(0x7F02, fleet), "fleet card data");
        checkEquals(1, readIfIsFleetCardIndicator(), "fleet card indicator");
        checkEquals(1, readIfIsFleetCardSignature(), "fleet card signature");
        checkEquals("PB95", readFleetCardProductName("2"), "product name 2");
        checkEquals(null, readFleetCardProductName("3"), "product name 3");
        checkBytes(names, readFleetCardData(0xDF02), "fleet card product names");

        byte[] item = bytes(0xDF, 0x01, 0x01, 0x07);
        checkEquals(OK, setTag(0x7F01, bytes(0x7F, 0x01, 0x04, 0xDF, 0x01, 0x01, 0x07)), "product list");
        checkBytes(item, readFleetCardProductData(1), "product 1");
        checkBytes(item, readFleetCardProductData(0x101), "product 257 is product 1: 8-bit index");
        checkEquals(null, readFleetCardProductData(2), "product 2 of a list of one");
        checkEquals(OK, addFleetCardData(item), "addFleetCardData");
    }

    // Java ints the library takes narrower, and the ones it refuses.
    private static void settersAndNarrowing() {
        checkEquals(OK, setTerminalIndex(0x100 + 9), "terminal index 265 is 9");
        checkBytes(ascii("9"), readTag(TAG_TERMINAL_INDEX), "terminal index stored");
        checkEquals(INVALID_ARGUMENT, setTerminalIndex(0x100 + 10), "terminal index 266 is 10");
        checkBytes(ascii("9"), readTag(TAG_TERMINAL_INDEX), "refused index leaves the stored one");

        int[][] modes = {{0, 0}, {1, 1}, {2, 2}, {5, 2}, {-1, 2}, {0x101, 2}};
        for (int[] m : modes) {
            checkEquals(OK, setHandleTerminalRequests(m[0]), "handling mode " + m[0]);
            checkBytes(bytes(m[1]), readTag(TAG_HANDLE_REQUESTS), "handling byte of mode " + m[0]);
        }

        checkEquals(OK, setTransactionType(4), "refund");
        byte[] refund = readTag(TAG_TRANSACTION_TYPE);
        for (int type : new int[] {-1, 13, 0x100, Integer.MAX_VALUE, Integer.MIN_VALUE}) {
            checkEquals(INVALID_ARGUMENT, setTransactionType(type), "transaction type " + type);
        }
        checkBytes(refund, readTag(TAG_TRANSACTION_TYPE), "refused types leave the refund");
        checkEquals(OK, setTransactionType(12), "e-voucher purchase, the last type");

        // The cash register id is one byte of modified UTF-8: a Polish letter is two.
        Object[][] registers = {{"2", OK}, {"\u0105", INVALID_ARGUMENT}, {"12", INVALID_ARGUMENT},
                                {"", INVALID_ARGUMENT}, {"\0", INVALID_ARGUMENT}, {"1", OK}};
        for (Object[] r : registers) {
            checkEquals(r[1], setCashRegisterId((String) r[0]), "cash register id \"" + r[0] + "\"");
        }
        checkEquals(OK, setTransactionTitle("Za\u017c\u00f3\u0142\u0107"), "title with Polish letters");
        checkBytes("Za\u017c\u00f3\u0142\u0107".getBytes(StandardCharsets.UTF_8), readTag(TAG_TITLE),
                   "title as modified UTF-8");
        checkEquals(INVALID_ARGUMENT, setTransactionAmount("12a"), "amount with a letter");

        checkEquals(OK, setCardsetId(99), "cardset 99");
        checkBytes(ascii("99"), readTag(TAG_CARDSET_ID), "cardset stored");
        checkEquals(INVALID_ARGUMENT, setCardsetId(-1), "cardset -1 is 4294967295");
        checkEquals(OK, setResetReport(true), "reset report");
        checkBytes(ascii("1"), readTag(TAG_RESET_REPORT), "reset report stored");
        checkEquals(OK, setTagToEmpty(TAG_RESET_REPORT), "setTagToEmpty");
        checkEquals(null, readTag(TAG_RESET_REPORT), "tag emptied");
        checkEquals(NOT_IMPLEMENTED, cancelTransaction(), "cancelTransaction");
        checkEquals(NOT_IMPLEMENTED, waitForStatusChange(), "waitForStatusChange");
    }

    private static void connect(TerminalScript script) {
        checkEquals(OK, setTcpIpLink("127.0.0.1", script.start(), LINK_TIMEOUT_MS), "link");
    }

    // The reply buffer holds 260 bytes: a longer reply comes back as null,
    // never cut.
    private static void passThrough() {
        String fits = "9".repeat(260), tooLong = "8".repeat(261);
        connect(new TerminalScript().step("99", fits).step("98", tooLong));
        checkBytes(ascii(fits), cmdExchange(ascii("99")), "reply of 260 bytes");
        checkEquals(null, cmdExchange(ascii("98")), "reply of 261 bytes");
        checkEquals(3, getLastReturnCode(), "a reply too long is return code 3");
        checkEquals("", NativeTestHooks.stopTerminal(), "terminal saw both requests as given");
    }

    private static void report() {
        String title = "RAPORT " + "X".repeat(57);  // 64 bytes, all the title room
        connect(new TerminalScript().step(fields("32", "1"),
                fields("32", "0", title + ",SPRZEDA\\xAF|3|3750,ZWROT|1|-500")));
        checkEquals(OK, getReportTotalSummary(), "getReportTotalSummary");
        checkEquals("", NativeTestHooks.stopTerminal(), "terminal saw the summary request");
        checkBytes(ascii(title), readReportTitle(), "title of 64 bytes");

        Object[][] entries = {
            {1, bytes('S', 'P', 'R', 'Z', 'E', 'D', 'A', 0xAF), 3, 3750L},
            {2, ascii("ZWROT"), 1, -500L},
        };
        for (Object[] e : entries) {
            EcrReportEntry entry = readReportEntry((Integer) e[0]);
            check(entry != null, "entry " + e[0] + " read");
            if (entry == null) continue;
            checkEquals(0, entry.id, "entry " + e[0] + " id");
            checkBytes((byte[]) e[1], entry.name, "entry " + e[0] + " name");
            checkEquals(e[2], entry.transactionCount, "entry " + e[0] + " count");
            checkEquals(e[3], entry.summaryAmount, "entry " + e[0] + " amount");
        }
        for (int id : new int[] {3, 0, -1, Integer.MIN_VALUE}) {
            checkEquals(null, readReportEntry(id), "entry " + id + " out of range");
        }
    }

    private static void closeAndClean() {
        checkEquals(ERROR, setSerialLink("/dev/zq-no-such-port", 0, 5, LINK_TIMEOUT_MS), "no serial port");
        for (int[] s : new int[][] {{-1, 0}, {4, 0}, {0, -1}, {0, 6}}) {
            checkEquals(INVALID_ARGUMENT, setSerialLink("/dev/zq-no-such-port", s[0], s[1], LINK_TIMEOUT_MS),
                        "serial data mode " + s[0] + ", baud rate " + s[1]);
        }
        checkEquals(OK, closeConnection(), "closeConnection");
        cleanup();
        checkEquals(NOT_INITIALIZED, setTransactionAmount("1"), "a setter after cleanup");
        checkEquals(NO_VALUE, getLastReturnCode(), "getLastReturnCode after cleanup");
    }

    public static void main(String[] args) {
        everyMethodLinksAndAnswersBeforeInitialisation();
        purchase();
        readersOfPresentData();
        readersOfAbsentData();
        readersOfMalformedData();
        addressAndFleetCard();
        settersAndNarrowing();
        passThrough();
        report();
        closeAndClean();
        Checks.finish();
    }
}

package zumbra.terminal;

import static zumbra.terminal.Checks.ascii;
import static zumbra.terminal.Checks.bytes;
import static zumbra.terminal.Checks.check;
import static zumbra.terminal.Checks.checkEquals;
import static zumbra.terminal.NativeEcrPaymentTerminal.*;
import static zumbra.terminal.TerminalScript.fields;

import java.nio.charset.Charset;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import zumbra.api.EcrPrintoutLine;

// The printout methods of the binding in a real virtual machine: the
// receipt of a purchase made against the simulated terminal, its lines as
// Java objects per font, the dictionary, the fiscal line table and the
// switches as the receipt shows them, and every report method.
public final class PrintoutMethodsTest {
    private static final int OK = 0, PR_NO_CONTEXT = 1, PR_REFUSED = 3;
    private static final int UNAVAILABLE = -1;
    private static final int TAG_AUTHORIZATION_METHOD = 0x9FD451, SIGNATURE = 0x40;
    private static final int PR_DICT_SALE = 20, PR_DICT_AMOUNT = 38, PR_DICT_SIGNATURE_VERIFIED = 47;
    private static final int PR_FISCAL_AMOUNT = 5;
    private static final int NORMAL = 40, SMALL = 48, BIG = 20;
    private static final Charset W1250 = Charset.forName("windows-1250");

    private static final RecordingCallbacks host = new RecordingCallbacks();

    // A phrase as the dictionary takes it: Windows-1250 bytes and a 0 byte.
    private static byte[] phrase(String text) {
        return Arrays.copyOf(text.getBytes(W1250), text.getBytes(W1250).length + 1);
    }

    private static int textLength(EcrPrintoutLine line) {
        int n = 0;
        while (n < line.text.length && line.text[n] != 0) n++;
        return n;
    }

    private static String text(EcrPrintoutLine line) {
        return new String(line.text, 0, textLength(line), W1250);
    }

    private static List<EcrPrintoutLine> readLines() {
        List<EcrPrintoutLine> lines = new ArrayList<>();
        for (EcrPrintoutLine line = getNextLine(); line != null; line = getNextLine()) lines.add(line);
        return lines;
    }

    private static List<String> texts(List<EcrPrintoutLine> lines) {
        List<String> out = new ArrayList<>();
        for (EcrPrintoutLine line : lines) out.add(text(line));
        return out;
    }

    // The texts of a fresh copy of the receipt, one line each.
    private static String receipt(boolean customerCopy) {
        checkEquals(OK, prepareTransactionPrintout(customerCopy), "prepareTransactionPrintout");
        return String.join("\n", texts(readLines()));
    }

    private static boolean logged(int from, String message) {
        for (String line : host.busLines.subList(from, host.busLines.size())) {
            if (line.strip().endsWith("- " + message)) return true;
        }
        return false;
    }

    // The purchase, the terminal's general information the receipt asks for,
    // and a total summary for the reports.
    private static void purchase() {
        int port = TerminalScript.purchase()
                .step(fields("26", "1", "1"), fields("26", "0",
                        "SKLEP POD LIPAMI,UL. D\\xA3UGA 1,00-001 WARSZAWA,000000000123456,12345678"))
                .step(fields("32", "1"), fields("32", "0", "RAPORT,SPRZEDA\\xAF|3|3750,ZWROT|1|-500"))
                .start();
        checkEquals(0, host.register(), "register");
        checkEquals(OK, initialize(), "initialize");
        setProtocol(0);
        checkEquals(OK, setTcpIpLink("127.0.0.1", port, 300), "link");
        checkEquals(OK, setCashRegisterId("1"), "cash register");
        checkEquals(OK, setTransactionType(0), "purchase");
        checkEquals(OK, setTransactionAmount("1250"), "amount");
        checkEquals(OK, startTransaction(), "startTransaction");
        checkEquals(OK, setTerminalIndex(1), "terminal index of the information request");
        // Signed, so that the merchant's copy has a line in the small font.
        checkEquals(OK, setTag(TAG_AUTHORIZATION_METHOD, bytes(SIGNATURE)), "signature");
    }

    private static void lineLengths() {
        checkEquals(OK, initializePrintout(), "initializePrintout");
        Object[][] cases = {
            {"normal 65", setNormalLineLength(65), PR_REFUSED},
            {"small -1", setSmallLineLength(-1), PR_REFUSED},
            {"big 64", setBigLineLength(64), OK},
            {"normal", setNormalLineLength(NORMAL), OK},
            {"small", setSmallLineLength(SMALL), OK},
            {"big", setBigLineLength(BIG), OK},
        };
        for (Object[] c : cases) checkEquals(c[2], c[1], "line length " + c[0]);
    }

    // Every line carries its text field up to the length of its font.
    private static void receiptLinesPerFont() {
        checkEquals(OK, prepareTransactionPrintout(false), "merchant's copy");
        int count = getNumberOfLines();
        List<EcrPrintoutLine> lines = readLines();
        checkEquals(count, lines.size(), "getNextLine hands out every line, then null");
        checkEquals(count, getNumberOfLines(), "reading leaves the count");
        checkEquals(null, getNextLine(), "getNextLine after the last line");
        check(count > 2, "a receipt of " + count + " lines");
        if (count <= 2) return;

        int[] widths = {NORMAL, SMALL, BIG};
        Set<Integer> fonts = new HashSet<>();
        for (int i = 0; i < count; i++) {
            EcrPrintoutLine line = lines.get(i);
            fonts.add(line.fontSize);
            checkEquals(i, line.id, "id of line " + i);
            checkEquals(widths[line.fontSize], line.text.length, "bytes of line " + i + " in font " + line.fontSize);
        }
        checkEquals(new HashSet<>(Arrays.asList(0, 1, 2)), fonts, "fonts of the receipt");

        EcrPrintoutLine header = lines.get(0), footer = lines.get(count - 1);
        checkEquals(Arrays.asList(EcrPrintoutLine.LINE_PICTURE, EcrPrintoutLine.PICTURE_HEADER_LOGO, 0),
                    Arrays.asList(header.lineType, header.pictureType, textLength(header)), "header logo");
        checkEquals(Arrays.asList(EcrPrintoutLine.LINE_PICTURE, EcrPrintoutLine.PICTURE_FOOTER_LOGO, 0),
                    Arrays.asList(footer.lineType, footer.pictureType, textLength(footer)), "footer logo");
        checkEquals("SKLEP POD LIPAMI", text(lines.get(1)).strip(), "the terminal's address heads the receipt");
        checkEquals("UL. D\u0141UGA 1", text(lines.get(2)).strip(), "an address line in Windows-1250");
        EcrPrintoutLine sale = null;
        for (EcrPrintoutLine line : lines) {
            if (text(line).strip().equals("SPRZEDA\u017b")) sale = line;
        }
        check(sale != null && sale.fontSize == EcrPrintoutLine.FONT_BIG && sale.bold == 1 && sale.negative == 0,
              "the sale stands in big bold print: " + texts(lines));
    }

    // A fiscal line is laid out on the fiscal width, not on the normal
    // length: a normal length narrower than the fiscal width cuts nothing.
    private static void fiscalReceipt() {
        checkEquals(OK, setNormalLineLength(64), "normal length 64");
        checkEquals(OK, prepareTransactionFiscalPrintout(true), "fiscal receipt");
        List<String> wide = texts(readLines());
        checkEquals(OK, setNormalLineLength(24), "normal length 24");
        checkEquals(OK, prepareTransactionFiscalPrintout(true), "fiscal receipt");
        List<EcrPrintoutLine> lines = readLines();
        checkEquals(wide, texts(lines), "fiscal lines with a normal length of 24");
        int longest = 0;
        for (EcrPrintoutLine line : lines) {
            longest = Math.max(longest, textLength(line));
            checkEquals(Math.max(24, textLength(line)), line.text.length, "bytes of \"" + text(line) + "\"");
        }
        check(longest > 24, "a fiscal line longer than the normal length: " + longest);

        // The table's entry of a line: the printer line becomes its id, the
        // longest text its width.
        setFiscalFormatLine(PR_FISCAL_AMOUNT, 77, 12);
        checkEquals(OK, prepareTransactionFiscalPrintout(true), "fiscal receipt after the table changed");
        lines = readLines();
        EcrPrintoutLine amount = null;
        for (EcrPrintoutLine line : lines) {
            if (line.id == 77) amount = line;
        }
        check(amount != null && text(amount).contains("12,50") && textLength(amount) <= 12,
              "the amount on printer line 77, within 12 bytes: " + texts(lines));
        setFiscalFormatLine(PR_FISCAL_AMOUNT, 31, 25);
        checkEquals(OK, setNormalLineLength(NORMAL), "normal length back");
    }

    private static void dictionary() {
        String sale = "SPRZEDA\u017b";
        check(receipt(false).contains(sale), "the built-in phrase of a sale");
        setDictionaryPhrase(PR_DICT_SALE, phrase("ZAKUP"));
        check(receipt(false).contains("ZAKUP"), "setDictionaryPhrase");
        setDictionaryPhrase(PR_DICT_SALE, ascii("XYZ"));
        setDictionaryPhrase(PR_DICT_SALE, null);
        check(receipt(false).contains("ZAKUP"), "a phrase without its 0 byte, or null, is not set");

        byte[][] good = {phrase("SALE"), phrase("AMOUNT")};
        Object[][] cases = {
            {"counts that differ", new int[] {PR_DICT_SALE}, good, PR_REFUSED},
            {"a null text", new int[] {PR_DICT_SALE, PR_DICT_AMOUNT}, new byte[][] {phrase("A"), null}, UNAVAILABLE},
            {"a text without its 0 byte", new int[] {PR_DICT_SALE, PR_DICT_AMOUNT},
             new byte[][] {phrase("A"), ascii("B")}, UNAVAILABLE},
            {"null ids", null, good, UNAVAILABLE},
            {"null texts", new int[] {PR_DICT_SALE, PR_DICT_AMOUNT}, null, UNAVAILABLE},
            {"no pairs", new int[0], new byte[0][], OK},
        };
        for (Object[] c : cases) {
            checkEquals(c[3], setupDictionary((int[]) c[1], (byte[][]) c[2]), "setupDictionary with " + c[0]);
            String text = receipt(false);
            check(text.contains("ZAKUP") && text.contains("KWOTA"), "no phrase changed by " + c[0]);
        }
        // Every text is held at once: many more than a native method's 16
        // local references.
        int[] unusedIds = new int[40];
        byte[][] unusedTexts = new byte[40][];
        for (int i = 0; i < unusedIds.length; i++) {
            unusedIds[i] = 1000 + i;
            unusedTexts[i] = phrase("PHRASE " + i);
        }
        checkEquals(OK, setupDictionary(unusedIds, unusedTexts), "setupDictionary of 40 phrases");
        checkEquals(OK, setupDictionary(new int[] {PR_DICT_SALE, PR_DICT_AMOUNT}, good), "setupDictionary");
        String text = receipt(false);
        check(text.contains("SALE") && text.contains("AMOUNT"), "both phrases set: " + text);
        checkEquals(OK, setupDictionary(new int[] {PR_DICT_SALE, PR_DICT_AMOUNT},
                                        new byte[][] {phrase(sale), phrase("KWOTA")}), "phrases back");
        check(receipt(false).contains(sale), "a Polish phrase as Windows-1250 bytes");
    }

    private static void switches() {
        setHidingAddress(true);
        check(!receipt(false).contains("SKLEP POD LIPAMI"), "setHidingAddress(true) leaves the address out");
        setHidingAddress(false);
        check(receipt(false).contains("SKLEP POD LIPAMI"), "setHidingAddress(false) prints it");

        setDictionaryPhrase(PR_DICT_SIGNATURE_VERIFIED, phrase("VERIFIED"));
        check(!receipt(true).contains("VERIFIED"), "no signature-verified line by default");
        setUsingSignatureVerifiedLine(true);
        check(receipt(true).contains("VERIFIED"), "setUsingSignatureVerifiedLine(true)");
        setUsingSignatureVerifiedLine(false);
        check(!receipt(true).contains("VERIFIED"), "setUsingSignatureVerifiedLine(false)");
    }

    // Every report method reaches its own printout function, each report on
    // a printout context of its own.
    private static void reports() {
        checkEquals(OK, getReportTotalSummary(), "getReportTotalSummary");
        for (Printouts.Step[] report : Printouts.REPORTS) {
            cleanupPrintout();
            checkEquals(OK, initializePrintout(), "initializePrintout");
            for (Printouts.Step step : report) {
                int from = host.busLines.size();
                checkEquals(OK, step.call.getAsInt(), step.method);
                check(logged(from, step.logLine), step.method + " logs \"" + step.logLine + "\"");
            }
            String last = report[report.length - 1].method;
            check(getNumberOfLines() > 0 && getNextLine() != null, last + " leaves lines to read");
        }
    }

    private static void cleanupAndAfter() {
        cleanupPrintout();
        checkEquals(null, getNextLine(), "getNextLine after cleanupPrintout");
        checkEquals(0, getNumberOfLines(), "getNumberOfLines after cleanupPrintout");
        checkEquals(PR_NO_CONTEXT, prepareTransactionPrintout(false), "a receipt after cleanupPrintout");
        checkEquals(OK, closeConnection(), "closeConnection");
        cleanup();
        checkEquals("", NativeTestHooks.stopTerminal(), "terminal saw exactly its script");
    }

    public static void main(String[] args) {
        purchase();
        lineLengths();
        receiptLinesPerFont();
        fiscalReceipt();
        dictionary();
        switches();
        reports();
        cleanupAndAfter();
        Checks.finish();
    }
}

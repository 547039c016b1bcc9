package zumbra.demo;

import java.io.FileDescriptor;
import java.io.FileOutputStream;
import java.io.PrintStream;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import zumbra.api.EcrPrintoutLine;
import zumbra.terminal.NativeEcrCallbacks;
import zumbra.terminal.NativeEcrPaymentTerminal;

// EcrPurchase: one card purchase on a payment terminal, from a Java host.
//
//   javac -cp <prefix>/share/java/zumbrajni.jar -d <classes> EcrPurchase.java
//   java -Djava.library.path=<prefix>/lib -cp <prefix>/share/java/zumbrajni.jar:<classes> \
//       zumbra.demo.EcrPurchase [address [port [amount]]]
//
// address defaults to 127.0.0.1, port to 5000 and amount to 1250 (minor
// units of the terminal's currency, so 12.50). The program connects over
// TCP/IP, answers what the terminal asks by printing it (and saying yes),
// runs the purchase, prints its outcome and the merchant and customer copies
// of its receipt. Exit status: 0 when the purchase went through, 1
// otherwise, and 2 with the usage line when the port is not a number from 1
// to 65535 or the amount not digits alone.
public final class EcrPurchase {
    // Time-out of every exchange with the terminal, in milliseconds.
    private static final int LINK_TIMEOUT_MS = 30000;
    private static final int ECR_OK = 0;
    private static final int ECR_COMM_ERROR = 3;
    private static final int TRANSACTION_ACCEPTED = 0;
    // Texts for people come from the library as Windows-1250 bytes.
    private static final Charset TERMINAL_TEXT = Charset.forName("windows-1250");

    private EcrPurchase() {}

    private static String text(byte[] bytes) {
        return bytes == null ? "" : new String(bytes, TERMINAL_TEXT);
    }

    // ---- The receipt ----

    // A print line as a receipt printer would get it; its text is zero-filled
    // up to the line length of its font.
    private static void showLine(EcrPrintoutLine line) {
        if (line.lineType == EcrPrintoutLine.LINE_PICTURE) {
            System.out.println("  [" + (line.pictureType == EcrPrintoutLine.PICTURE_HEADER_LOGO ? "header" : "footer")
                    + " logo]");
            return;
        }
        int length = 0;
        while (length < line.text.length && line.text[length] != 0) length++;
        System.out.println("  |" + new String(line.text, 0, length, TERMINAL_TEXT) + "|"
                + (line.fontSize == EcrPrintoutLine.FONT_BIG ? " big" : "")
                + (line.fontSize == EcrPrintoutLine.FONT_SMALL ? " small" : "")
                + (line.bold != 0 ? " bold" : "") + (line.negative != 0 ? " inverted" : ""));
    }

    // One copy of the receipt of the last transaction, built and shown line by line.
    private static void printReceipt(boolean customerCopy) {
        int status = NativeEcrPaymentTerminal.prepareTransactionPrintout(customerCopy);
        System.out.println((customerCopy ? "customer" : "merchant") + " copy of the receipt ("
                + NativeEcrPaymentTerminal.getNumberOfLines() + " lines):");
        if (status != 0) System.out.println("prepareTransactionPrintout answered " + status);
        for (EcrPrintoutLine line = NativeEcrPaymentTerminal.getNextLine(); line != null;
                line = NativeEcrPaymentTerminal.getNextLine()) {
            showLine(line);
        }
    }

    private static void printReceipts() {
        NativeEcrPaymentTerminal.initializePrintout();
        NativeEcrPaymentTerminal.setNormalLineLength(40);
        NativeEcrPaymentTerminal.setBigLineLength(20);
        NativeEcrPaymentTerminal.setSmallLineLength(48);
        // The receipt's header asks the terminal for its general information
        // (address, merchant and terminal IDs) when the purchase did not bring
        // them; that request names the terminal by its index.
        NativeEcrPaymentTerminal.setTerminalIndex(1);
        printReceipt(false);
        printReceipt(true);
        NativeEcrPaymentTerminal.cleanupPrintout();
    }

    // What the terminal asks the host. The library's own log goes to its log
    // files (log4crc), so the log callbacks print nothing.
    public static final class Host extends NativeEcrCallbacks {
        public void cb_DevLog(byte[] line) {}
        public void cb_CommLog(byte[] line) {}
        public void cb_BusLog(byte[] line) {}

        public void cb_StatusChange(int status) {
            System.out.println("  terminal status: " + status);
        }
        public void cb_ShowPromptScreen(byte[] prompt) {
            System.out.println("  terminal shows: " + text(prompt));
        }
        public void cb_ShowOkScreen(byte[] prompt) {
            System.out.println("  terminal shows: " + text(prompt));
        }
        public boolean cb_WaitForCard(byte[] prompt) {
            System.out.println("  terminal waits for a card: " + text(prompt));
            return true;  // false would interrupt the transaction
        }
        public boolean cb_WaitForPin(byte[] prompt) {
            System.out.println("  terminal waits for the PIN: " + text(prompt));
            return true;
        }
        public void cb_WaitForCardRemoval(byte[] prompt) {
            System.out.println("  terminal waits for the card to be removed: " + text(prompt));
        }
        public boolean cb_SignatureRequest(byte[] prompt) {
            System.out.println("  terminal asks whether the signature is right: " + text(prompt) + " -> yes");
            return true;
        }
        public boolean cb_CopyRequest(byte[] prompt) {
            System.out.println("  terminal asks for a copy of the receipt: " + text(prompt) + " -> no");
            return false;
        }
        public boolean cb_ShowYesNoScreen(byte[] prompt) {
            System.out.println("  terminal asks: " + text(prompt) + " -> yes");
            return true;
        }
        // Choices are answered with the first entry of the list (counted from 1).
        public int cb_AskForCurrency(String[] labels) {
            if (labels.length == 0) return -1;
            System.out.println("  terminal asks for a currency of " + String.join(", ", labels) + " -> " + labels[0]);
            return 1;
        }
        public int cb_AskForSelection(byte[][] options, byte[] title) {
            if (options.length == 0) return -1;
            System.out.println("  terminal asks to choose: " + text(title) + " -> " + text(options[0]));
            return 1;
        }
        // This host enters no data: a null answer leaves the library's own.
        private static String noData(String what, byte[] prompt) {
            System.out.println("  terminal asks for " + what + ": " + text(prompt) + " -> none");
            return null;
        }
        public String cb_GetCashbackAmount(byte[] prompt, int minLength, int maxLength) {
            return noData("a cashback amount", prompt);
        }
        public String cb_GetAuthorizationCode(byte[] prompt, int minLength, int maxLength) {
            return noData("an authorisation code", prompt);
        }
        public String cb_GetUserData(byte[] prompt, int minLength, int maxLength) {
            return noData("data", prompt);
        }
        public String cb_GetAmount(byte[] prompt, int minLength, int maxLength) {
            return noData("an amount", prompt);
        }
    }

    // ---- The arguments ----

    // True when text is one digit or more and nothing else.
    private static boolean isDigits(String text) {
        if (text.isEmpty()) return false;
        for (int i = 0; i < text.length(); i++) {
            char c = text.charAt(i);
            if (c < '0' || c > '9') return false;
        }
        return true;
    }

    // A port from 1 to 65535, written in digits alone; 0 for anything else.
    private static int parsePort(String text) {
        if (!isDigits(text)) return 0;
        int value = 0;
        for (int i = 0; i < text.length(); i++) {
            value = value * 10 + (text.charAt(i) - '0');
            if (value > 65535) return 0;
        }
        return value;
    }

    public static void main(String[] args) {
        // Texts for people come as Windows-1250; the console shows UTF-8,
        // whatever the locale the virtual machine was started in.
        System.setOut(new PrintStream(new FileOutputStream(FileDescriptor.out), true, StandardCharsets.UTF_8));
        String address = args.length > 0 ? args[0] : "127.0.0.1";
        int port = args.length > 1 ? parsePort(args[1]) : 5000;
        String amount = args.length > 2 ? args[2] : "1250";
        if (args.length > 3 || port == 0 || !isDigits(amount)) {
            System.err.println("usage: EcrPurchase [address [port [amount]]]");
            System.err.println("  port 1 to 65535, amount in digits (minor units of the terminal's currency)");
            System.exit(2);
        }

        System.out.println("libzumbrajni " + NativeEcrPaymentTerminal.getLibVersion());
        int status = NativeEcrPaymentTerminal.initialize();
        if (status != ECR_OK) {
            System.out.println("initialize failed: " + status);
            System.exit(1);
        }
        NativeEcrPaymentTerminal.setProtocol(0);  // 0: the Talvoren protocol
        System.out.println("connecting to " + address + ":" + port);
        status = NativeEcrPaymentTerminal.setTcpIpLink(address, port, LINK_TIMEOUT_MS);
        if (status == ECR_COMM_ERROR) {
            // The link is set but not connected: every command connects first.
            System.out.println("terminal not reachable yet; the purchase connects again");
        } else if (status != ECR_OK) {
            System.out.println("setTcpIpLink failed: " + status);
            NativeEcrPaymentTerminal.cleanup();
            System.exit(1);
        }
        if (new Host().register() != 0) System.out.println("register failed: some callbacks stay at their defaults");

        // The request: which cash register asks, what it asks, for how much.
        // Set before every transaction: the terminal's replies replace the
        // stored kind, amount and title, so a second sale must not rely on
        // the first's.
        NativeEcrPaymentTerminal.setCashRegisterId("1");
        NativeEcrPaymentTerminal.setTransactionType(0);  // purchase
        NativeEcrPaymentTerminal.setTransactionTitle("");  // none: an empty title clears one a reply left
        status = NativeEcrPaymentTerminal.setTransactionAmount(amount);
        if (status != ECR_OK) System.out.println("setTransactionAmount(" + amount + ") answered " + status);

        System.out.println("purchase of " + amount);
        status = NativeEcrPaymentTerminal.startTransaction();
        System.out.println("startTransaction: " + status + ", last return code: "
                + NativeEcrPaymentTerminal.getLastReturnCode());

        boolean succeeded = false;
        if (status == ECR_OK) {
            int result = NativeEcrPaymentTerminal.readTransactionResult();
            if (result < 0) {
                System.out.println("transaction result: not available");
            } else {
                succeeded = result == TRANSACTION_ACCEPTED;
                System.out.println("transaction result: " + result + (succeeded ? " (accepted)" : " (not accepted)"));
                System.out.println("  amount " + NativeEcrPaymentTerminal.readTransactionAmount()
                        + " " + NativeEcrPaymentTerminal.readTransactionCurrencyLabel()
                        + ", " + NativeEcrPaymentTerminal.readTransactionDate()
                        + " " + NativeEcrPaymentTerminal.readTransactionTime()
                        + ", terminal " + NativeEcrPaymentTerminal.readTerminalId());
            }
            // Accepted or declined, a transaction that ran to its end has a receipt.
            printReceipts();
        }

        NativeEcrPaymentTerminal.closeConnection();
        NativeEcrPaymentTerminal.cleanup();
        System.out.println(succeeded ? "purchase done" : "purchase not done");
        System.exit(succeeded ? 0 : 1);
    }
}

package zumbra.terminal;

// Scripts for the simulated terminal, in the format of zq_terminal_simulator:
// each step the request the library must send and the terminal's reply,
// fields joined by FS.
final class TerminalScript {
    private final StringBuilder text = new StringBuilder();

    static String fields(String... parts) {
        return String.join("\\x1C", parts);
    }

    // The end data of a card purchase of 12.50 PLN from cash register 1, by
    // chip with PIN: the positional card fields as the terminal sends them.
    static final String PURCHASE_DETAILS = "A1B2C3,,M000123456,************1234,2024-03-15,14:32:07,"
            + "VISA CREDIT,C,T4567001,000042,1,1250,1,0012,1122334455667788,A0000000031010,"
            + "RN240315000042,T0000008000,E800,,1,PLN";

    // That purchase: idle, the start, a card prompt, end data ready, the end
    // data, idle.
    static TerminalScript purchase() {
        String status = fields("20", "1");
        return new TerminalScript()
                .step(status, fields("20", "0", "00"))
                .step(fields("21", "1", "1", "1250", "", ""), fields("21", "0"))
                .step(status, fields("20", "0", "01", "1", "0,0,,,Insert card"))
                .step(status, fields("20", "0", "06"))
                .step(fields("22", "1"), fields("22", "0", "1", "0", "42", PURCHASE_DETAILS))
                .step(status, fields("20", "0", "00"));
    }

    TerminalScript step(String request, String reply) {
        text.append("expect ").append(request).append('\n');
        text.append("reply ").append(reply).append('\n');
        return this;
    }

    // A step that answers `reply` to whatever request arrives.
    TerminalScript anyRequest(String reply) {
        text.append("expect *\n");
        text.append("reply ").append(reply).append('\n');
        return this;
    }

    // The simulated terminal serving this script; answers its port.
    int start() {
        int port = NativeTestHooks.startTerminal(text.toString());
        if (port <= 0) throw new IllegalStateException("the simulated terminal did not start");
        return port;
    }
}

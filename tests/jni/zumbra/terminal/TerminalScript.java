package zumbra.terminal;

// Scripts for the simulated terminal, in the format of zq_terminal_simulator:
// each step the request the library must send and the terminal's reply,
// fields joined by FS.
final class TerminalScript {
    private final StringBuilder text = new StringBuilder();

    static String fields(String... parts) {
        return String.join("\\x1C", parts);
    }

    TerminalScript step(String request, String reply) {
        text.append("expect ").append(request).append('\n');
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

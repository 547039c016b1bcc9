package zumbra.api;

// A report entry of a host that keeps the count as a long: the binding finds
// the class but not the constructor it builds entries with.
public final class EcrReportEntry {
    public final byte[] name;
    public final long transactionCount;

    public EcrReportEntry(byte[] name, long transactionCount) {
        this.name = name;
        this.transactionCount = transactionCount;
    }
}

package zumbra.api;

// One entry of a terminal report: its name (Windows-1250 bytes as the
// terminal sent them), how many transactions it counts and their sum in
// minor units of the currency.
public final class EcrReportEntry {
    public final int id;
    public final byte[] name;
    public final int transactionCount;
    public final long summaryAmount;

    public EcrReportEntry(int id, byte[] name, int transactionCount, long summaryAmount) {
        this.id = id;
        this.name = name;
        this.transactionCount = transactionCount;
        this.summaryAmount = summaryAmount;
    }
}

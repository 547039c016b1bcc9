package zumbra.api;

// A print line of a host that keeps only the text and its font: the binding
// finds the class but not the constructor it builds lines with.
public final class EcrPrintoutLine {
    public final byte[] text;
    public final int fontSize;

    public EcrPrintoutLine(byte[] text, int fontSize) {
        this.text = text;
        this.fontSize = fontSize;
    }
}

package zumbra.api;

// One line of a printout, as a printer takes it: the text as Windows-1250
// bytes, zero-filled up to the line length of its font; the font size (0
// normal, 1 small, 2 big); negative (inverted) and bold print as 1; the line
// type (0 text, 2 picture) and, on a picture line, the picture (2 footer
// logo, 3 header logo). The id is the line's index in the printout, or on a
// fiscal printout the fiscal printer's line number.
public final class EcrPrintoutLine {
    public static final int FONT_NORMAL = 0, FONT_SMALL = 1, FONT_BIG = 2;
    public static final int LINE_TEXT = 0, LINE_PICTURE = 2;
    public static final int PICTURE_FOOTER_LOGO = 2, PICTURE_HEADER_LOGO = 3;

    public final int id;
    public final byte[] text;
    public final int fontSize;
    public final int negative;
    public final int lineType;
    public final int pictureType;
    public final int bold;

    public EcrPrintoutLine(int id, byte[] text, int fontSize, int negative, int lineType,
                           int pictureType, int bold) {
        this.id = id;
        this.text = text;
        this.fontSize = fontSize;
        this.negative = negative;
        this.lineType = lineType;
        this.pictureType = pictureType;
        this.bold = bold;
    }
}

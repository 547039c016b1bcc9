package pl.vostrel.pellmar.tpm;

/** A failed TPM operation: a Polish text followed by the technical detail. */
public class TpmJniException extends Exception {
    private static final long serialVersionUID = 1L;

    public TpmJniException(String message) {
        super(message);
    }
}

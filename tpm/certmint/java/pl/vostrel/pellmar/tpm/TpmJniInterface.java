package pl.vostrel.pellmar.tpm;

/** The TPM key, its certificate request and the issued certificate, through certmint. */
public class TpmJniInterface {
    static {
        System.loadLibrary("certmint");
    }

    /**
     * Creates an RSA key held by the TPM under keyName, replacing one of that name,
     * and answers its PKCS#10 request for the X.500 subject, Base64-encoded.
     */
    public native String genKeyCsr(String keyName, String subject) throws TpmJniException;

    /**
     * Installs the issued certificate (any text form, Base64 with or without header
     * lines among them) in the current user's personal store, bound to the key of keyName.
     */
    public native void importCert(String keyName, String certificate) throws TpmJniException;
}

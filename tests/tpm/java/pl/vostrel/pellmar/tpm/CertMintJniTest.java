package pl.vostrel.pellmar.tpm;

// The certmint native methods in a real virtual machine, over the fake
// platform: strings in, the request out, and TpmJniException with its text.
// Each failed check is printed; the exit status is the verdict.
public final class CertMintJniTest {
    private static final String KEY = "klucz-\u0142";
    private static final String SUBJECT = "CN=Jan Kowalski, O=Vostrel";

    private static int failures;
    private static final TpmJniInterface tpm = new TpmJniInterface();

    private static void check(boolean ok, String what) {
        if (!ok) {
            failures++;
            System.err.println("FAILED: " + what + "\n  calls:\n" + FakePlatform.calls());
        }
    }

    private static void checkEquals(Object expected, Object actual, String what) {
        check(expected == null ? actual == null : expected.equals(actual),
              what + ": expected <" + expected + ">, got <" + actual + ">");
    }

    private interface Call {
        void run() throws TpmJniException;
    }

    private static void expectException(String message, Call call, String what) {
        try {
            call.run();
            check(false, what + ": no exception");
        } catch (TpmJniException e) {
            checkEquals(message, e.getMessage(), what);
        }
        check(FakePlatform.everythingReleased(), what + ": every COM object released");
    }

    private static void genKeyCsr() throws TpmJniException {
        FakePlatform.reset();
        checkEquals("MIICfakeRequest==", tpm.genKeyCsr(KEY, SUBJECT), "genKeyCsr answers the request");
        String calls = FakePlatform.calls();
        check(calls.contains("NCryptCreatePersistedKey RSA " + KEY + " 0 0x80\n"), "the key name reaches CNG");
        check(calls.contains("CX500DistinguishedName.Encode (\"" + SUBJECT + "\", 3)\n"), "the subject is encoded");

        FakePlatform.reset();
        FakePlatform.failAt("NCryptFinalizeKey", 0x80090016);
        expectException("Generowanie klucza nie powiod?o si?; NCryptFinalizeKey error: 0x80090016",
                        () -> tpm.genKeyCsr(KEY, SUBJECT), "key creation failure");

        FakePlatform.reset();
        FakePlatform.failAt("CX500DistinguishedName.Encode", 0x80092023);
        expectException("Generowanie ??dania (CSR) nie powiod?o si?; _distinguishName->Encode error: 0x80092023",
                        () -> tpm.genKeyCsr(KEY, "not an X.500 name"), "request failure");

        // A null name reaches the platform as a null name.
        FakePlatform.reset();
        checkEquals("MIICfakeRequest==", tpm.genKeyCsr(null, SUBJECT), "genKeyCsr with a null key name");
        check(FakePlatform.calls().contains("NCryptCreatePersistedKey RSA (null) 0 0x80\n"), "null key name");
    }

    private static void importCert() throws TpmJniException {
        FakePlatform.reset();
        tpm.importCert(KEY, "MIIBcert");
        check(FakePlatform.calls().contains("CertAddCertificateContextToStore 4\n"), "importCert adds the certificate");

        // The Windows-1250 byte of the prefix arrives as the letter it stands for.
        FakePlatform.reset();
        FakePlatform.failAt("CertCreateCertificateContext", 0x8009310B);
        expectException("Import certyfikatu nie powi\u00f3d? si?; CertCreateCertificateContext error: 0x8009310B",
                        () -> tpm.importCert(KEY, "not a certificate"), "import failure");

        FakePlatform.reset();
        expectException("Import certyfikatu nie powi\u00f3d? si?; CryptStringToBinary error: 0x57",
                        () -> tpm.importCert(KEY, null), "import of a null certificate");
    }

    public static void main(String[] args) throws Exception {
        genKeyCsr();
        importCert();
        if (failures > 0) {
            System.err.println(failures + " check(s) failed");
            System.exit(1);
        }
        System.out.println("certmint JNI: all checks passed");
    }
}

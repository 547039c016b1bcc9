package pl.vostrel.pellmar.tpm;

// Run without TpmJniException on the class path: a failure must leave the
// virtual machine's NoClassDefFoundError pending, not crash it.
public final class MissingExceptionClassTest {
    public static void main(String[] args) {
        TpmJniInterface tpm = new TpmJniInterface();  // loads the library
        FakePlatform.reset();
        FakePlatform.failAt("NCryptOpenStorageProvider", 0x80090030);
        try {
            tpm.genKeyCsr("key", "CN=x");
        } catch (NoClassDefFoundError e) {
            if (e.getMessage().contains("pl/vostrel/pellmar/tpm/TpmJniException")) {
                System.out.println("missing exception class: NoClassDefFoundError pending, as it should");
                return;
            }
            System.err.println("FAILED: unexpected NoClassDefFoundError: " + e.getMessage());
            System.exit(1);
        } catch (Throwable e) {
            System.err.println("FAILED: unexpected " + e);
            System.exit(1);
        }
        System.err.println("FAILED: no error at all");
        System.exit(1);
    }
}

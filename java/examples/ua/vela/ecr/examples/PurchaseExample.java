package ua.vela.ecr.examples;

import ua.vela.ecr.VELALib;

/**
 * A purchase from start to end: connect to the terminal over TCP, start the
 * purchase, poll until it has ended, print the result and the receipt.
 *
 * <pre>
 * java -cp velaecr.jar:velaecr-example.jar ua.vela.ecr.examples.PurchaseExample \
 *     /abs/path/libvelaecrjni.so HOST PORT [AMOUNT_IN_KOPECKS]
 * </pre>
 */
public final class PurchaseExample {
    private static final int RUNNING = 2;
    private static final long OPERATION_LIMIT_MS = 180_000;

    private PurchaseExample() {}

    /**
     * Runs the walk-through.
     *
     * @param args the library path, the terminal's address and port, and
     *     optionally the amount in kopecks (default 100)
     * @throws InterruptedException when interrupted while polling
     */
    public static void main(String[] args) throws InterruptedException {
        if (args.length < 3) {
            System.err.println("usage: PurchaseExample LIBRARY HOST PORT [AMOUNT_IN_KOPECKS]");
            System.exit(2);
        }
        System.load(args[0]);
        int amount = args.length > 3 ? Integer.parseInt(args[3]) : 100;

        if (VELALib.InitializeVELA() != 0) {
            fail("InitializeVELA failed");
        }
        System.out.println("library " + VELALib.LibraryVersion());
        int rc = VELALib.CommOpenTCP(args[1], args[2]);
        if (rc != 0) {
            fail("CommOpenTCP failed with code " + rc + ": " + VELALib.LastErrorDescription());
        }
        rc = VELALib.Purchase(amount, 0, 0);
        if (rc != 0) {
            fail("Purchase was not started, code " + rc);
        }
        if (!waitForEnd()) {
            VELALib.Cancel();
            fail("the purchase did not end in time");
        }
        if (VELALib.LastResult() != 0) {
            fail("purchase failed (kind " + VELALib.LastErrorCode() + "): "
                    + VELALib.LastErrorDescription());
        }
        System.out.println("amount      " + VELALib.Amount());
        System.out.println("RRN         " + VELALib.RRN());
        System.out.println("auth code   " + VELALib.AuthCode());
        System.out.println("card        " + VELALib.PAN());
        System.out.println("response    " + VELALib.ResponseCode());
        System.out.println("receipt:");
        System.out.println(VELALib.Receipt());
        VELALib.CommClose();
        VELALib.UninitializeVELA();
    }

    private static boolean waitForEnd() throws InterruptedException {
        long deadline = System.currentTimeMillis() + OPERATION_LIMIT_MS;
        String shown = "";
        while (VELALib.LastResult() == RUNNING) {
            if (System.currentTimeMillis() > deadline) {
                return false;
            }
            String status = VELALib.LastStatMsgDescription();
            if (status != null && !status.equals(shown)) {
                System.out.println("terminal: " + status);
                shown = status;
            }
            Thread.sleep(200);
        }
        return true;
    }

    private static void fail(String message) {
        System.err.println(message);
        VELALib.CommClose();
        VELALib.UninitializeVELA();
        System.exit(1);
    }
}

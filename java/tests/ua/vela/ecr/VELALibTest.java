package ua.vela.ecr;

import java.io.IOException;
import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;

/**
 * Checks libvelaecrjni.so inside a real JVM (run once in a 64-bit and once in
 * a 32-bit JVM). Arguments: the library's absolute path, then "--client" when
 * the build has a working client, so that calls with an instance are checked,
 * and "--terminal PROGRAM" to run operations against the scripted emulated
 * terminal PROGRAM.
 * Prints "N passed, N failed" and exits non-zero on a failure.
 */
public final class VELALibTest {
    private static int passed;
    private static int failed;

    private VELALibTest() {}

    public static void main(String[] args) throws Exception {
        System.out.println("JVM: " + System.getProperty("os.arch") + ", "
                + System.getProperty("sun.arch.data.model") + "-bit, library " + args[0]);
        System.load(args[0]);
        boolean withClient = false;
        String terminalProgram = null;
        for (int i = 1; i < args.length; i++) {
            if (args[i].equals("--client")) {
                withClient = true;
            } else if (args[i].equals("--terminal") && i + 1 < args.length) {
                terminalProgram = args[++i];
            }
        }

        withoutInstanceEveryMethodAnswersOneOrNull();
        if (withClient) {
            withInstanceBeforeConnecting();
            nullTextArgumentsAreRefused();
            stringArgumentsAreReleased();
        } else {
            System.out.println("note: no client in this build; checks with an instance not run");
        }
        if (terminalProgram != null) {
            try (EmulatedTerminal terminal = new EmulatedTerminal(terminalProgram)) {
                againstTheEmulatedTerminal(terminal);
            }
        }

        System.out.println(passed + " passed, " + failed + " failed");
        System.exit(failed == 0 ? 0 : 1);
    }

    private static void check(boolean ok, String what) {
        if (ok) {
            passed++;
        } else {
            failed++;
            System.out.println("FAILED: " + what);
        }
    }

    private static List<Method> nativeMethods() {
        List<Method> methods = new ArrayList<>();
        for (Method m : VELALib.class.getDeclaredMethods()) {
            String name = m.getName();
            if (Modifier.isNative(m.getModifiers()) && !name.equals("InitializeVELA")
                    && !name.equals("UninitializeVELA")) {
                methods.add(m);
            }
        }
        return methods;
    }

    private static Object[] arguments(Method m, String text) {
        Class<?>[] types = m.getParameterTypes();
        Object[] args = new Object[types.length];
        for (int i = 0; i < types.length; i++) {
            if (types[i] == int.class) {
                args[i] = 0;
            } else if (types[i] == boolean.class) {
                args[i] = false;
            } else {
                args[i] = text;
            }
        }
        return args;
    }

    private static Object call(Method m, Object[] args) {
        try {
            return m.invoke(null, args);
        } catch (InvocationTargetException e) {
            // e.g. UnsatisfiedLinkError: the library lacks this method
            return e.getCause();
        } catch (IllegalAccessException e) {
            return e;
        }
    }

    private static boolean isFailure(Method m, Object result) {
        return m.getReturnType() == int.class ? Integer.valueOf(1).equals(result) : result == null;
    }

    // Also proves that the library exports every native method of the class.
    private static void withoutInstanceEveryMethodAnswersOneOrNull() {
        check(VELALib.UninitializeVELA() == 0, "UninitializeVELA without instance -> 0");
        for (Method m : nativeMethods()) {
            Object result = call(m, arguments(m, "x"));
            check(isFailure(m, result), m.getName() + " without instance -> 1/null, got " + result);
        }
    }

    private static void withInstanceBeforeConnecting() {
        check(VELALib.InitializeVELA() == 0, "InitializeVELA -> 0");
        check("1.5.20".equals(VELALib.LibraryVersion()), "LibraryVersion -> 1.5.20");
        check(VELALib.Purchase(100, 0, 0) == 5, "Purchase before connecting -> 5");
        check(VELALib.LastResult() == 1, "LastResult after the refused purchase -> 1");
        check(VELALib.InitializeVELA() == 0, "second InitializeVELA -> 0");
        check(VELALib.UninitializeVELA() == 0, "UninitializeVELA -> 0");
        check(VELALib.LastResult() == 1, "LastResult after UninitializeVELA -> 1 (no instance)");
    }

    private static void nullTextArgumentsAreRefused() {
        VELALib.InitializeVELA();
        for (Method m : nativeMethods()) {
            if (!java.util.Arrays.asList(m.getParameterTypes()).contains(String.class)) {
                continue;
            }
            Object result = call(m, arguments(m, null));
            check(Integer.valueOf(1).equals(result), m.getName() + " with null text -> 1, got " + result);
        }
        check(VELALib.CommOpenTCP("127.0.0.1", null) == 1, "CommOpenTCP with a null port -> 1");
        VELALib.UninitializeVELA();
    }

    private static long residentKilobytes() throws IOException {
        for (String line : Files.readAllLines(Paths.get("/proc/self/status"))) {
            if (line.startsWith("VmRSS:")) {
                return Long.parseLong(line.replaceAll("[^0-9]", ""));
            }
        }
        throw new IOException("no VmRSS in /proc/self/status");
    }

    // Each call takes 64 KB of modified UTF-8 from the JVM: unreleased, the
    // loop would hold about 256 MB.
    private static void stringArgumentsAreReleased() throws IOException {
        VELALib.InitializeVELA();
        StringBuilder text = new StringBuilder();
        for (int i = 0; i < 32 * 1024; i++) {
            text.append('Ї');
        }
        String rrn = text.toString();
        for (int i = 0; i < 200; i++) { // let the JIT and the allocator settle
            VELALib.Refund(100, 0, 0, rrn);
        }
        long before = residentKilobytes();
        for (int i = 0; i < 4000; i++) {
            VELALib.Refund(100, 0, 0, rrn);
        }
        long grownKb = residentKilobytes() - before;
        check(grownKb < 64 * 1024, "4000 calls with a 32K-character text grew memory by " + grownKb + " KB");
        VELALib.UninitializeVELA();
    }

    // ---- Against the scripted emulated terminal ----

    private static final long OPERATION_LIMIT_MS = 30_000;
    private static final int TXN_REQUEST = 1;

    // "Дякуємо! №5 € ї中": the last character has no CP1251 form.
    private static final String EXTRA_PRINT =
            "\u0414\u044f\u043a\u0443\u0454\u043c\u043e! \u21165 \u20ac \u0457\u4e2d";
    private static final String EXTRA_PRINT_CP1251 = "C4FFEAF3BAECEE2120B935208820BF3F";
    private static final int EXTRA_PRINT_TAG = 75;

    // The terminal's CP1251 bytes C0h + i % 64 are the letters U+0410 + i % 64.
    private static String cyrillicLetters(int count) {
        StringBuilder text = new StringBuilder(count);
        for (int i = 0; i < count; i++) {
            text.append((char) (0x0410 + i % 64));
        }
        return text.toString();
    }

    private static boolean waitForEnd() throws InterruptedException {
        long deadline = System.currentTimeMillis() + OPERATION_LIMIT_MS;
        while (VELALib.LastResult() == 2) {
            if (System.currentTimeMillis() > deadline) {
                VELALib.Cancel();
                return false;
            }
            Thread.sleep(20);
        }
        return VELALib.LastResult() == 0;
    }

    private static void againstTheEmulatedTerminal(EmulatedTerminal terminal) throws Exception {
        VELALib.InitializeVELA();
        check(VELALib.CommOpenTCP("127.0.0.1", terminal.port) == 0, "CommOpenTCP to the emulated terminal -> 0");
        purchaseWithCyrillicInput(terminal);
        receiptComesBackWhole();
        dataFileComesBackWhole(terminal.dataFileBytes);
        check(VELALib.CommClose() == 0, "CommClose -> 0");
        VELALib.UninitializeVELA();
    }

    private static void purchaseWithCyrillicInput(EmulatedTerminal terminal) throws Exception {
        check(VELALib.SetExtraPrintData(EXTRA_PRINT) == 0, "SetExtraPrintData -> 0");
        check(VELALib.Purchase(12550, 0, 0) == 0, "Purchase -> 0");
        check(waitForEnd(), "the purchase ends approved, got last result " + VELALib.LastResult()
                + ": " + VELALib.LastErrorDescription());
        check(VELALib.Amount() == 12550, "Amount -> 12550, got " + VELALib.Amount());
        check(VELALib.InvoiceNum() == 4711, "InvoiceNum -> 4711, got " + VELALib.InvoiceNum());
        check(VELALib.ResponseCode() == 0, "ResponseCode -> 0, got " + VELALib.ResponseCode());
        check("512345678901".equals(VELALib.RRN()), "RRN, got " + VELALib.RRN());
        check("XY12Z9".equals(VELALib.AuthCode()), "AuthCode, got " + VELALib.AuthCode());
        check("516875******1234".equals(VELALib.PAN()), "PAN, got " + VELALib.PAN());
        Map<Integer, String> request = terminal.nextRequest(TXN_REQUEST, OPERATION_LIMIT_MS);
        String extra = request == null ? null : request.get(EXTRA_PRINT_TAG);
        check(EXTRA_PRINT_CP1251.equals(extra), "extra print data reach the terminal as CP1251 "
                + EXTRA_PRINT_CP1251 + ", got " + extra);
    }

    private static void receiptComesBackWhole() throws InterruptedException {
        check(VELALib.ReqCurrReceipt() == 0, "ReqCurrReceipt -> 0");
        check(waitForEnd(), "the receipt arrives, got last result " + VELALib.LastResult());
        String receipt = VELALib.Receipt();
        check(receipt != null && receipt.length() == 4096,
                "Receipt of 4096 CP1251 letters -> 4096 characters, got "
                        + (receipt == null ? null : receipt.length()));
        check(cyrillicLetters(4096).equals(receipt), "Receipt holds the terminal's letters");
    }

    private static void dataFileComesBackWhole(int size) throws Exception {
        check(VELALib.ReqDataFile() == 0, "ReqDataFile -> 0");
        check(waitForEnd(), "the data file arrives, got last result " + VELALib.LastResult());
        byte[] data = VELALib.DataFileBinary();
        check(data != null && data.length == size, "DataFileBinary of a " + size + "-byte file -> "
                + (data == null ? null : data.length) + " bytes");
        boolean same = data != null && data.length == size;
        for (int i = 0; same && i < size; i++) {
            int expected = i < size - 256 ? 0xC0 + i % 64 : i - (size - 256);
            same = (data[i] & 0xFF) == expected;
        }
        check(same, "DataFileBinary holds the file's bytes unchanged");

        // The text reading needs about 600 KB of buffers: on a thread with a
        // small stack they only fit on the heap.
        String[] text = new String[1];
        Thread small = new Thread(null, () -> text[0] = VELALib.DataFile(), "small stack", 256 * 1024);
        small.start();
        small.join(OPERATION_LIMIT_MS);
        check(cyrillicLetters(size - 256).equals(text[0]), "DataFile on a small stack -> the text up to the NUL");
    }
}

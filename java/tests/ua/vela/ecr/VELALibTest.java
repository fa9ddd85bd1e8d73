package ua.vela.ecr;

import java.io.IOException;
import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;

/**
 * Checks libvelaecrjni.so inside a real JVM (run once in a 64-bit and once in
 * a 32-bit JVM). Arguments: the library's absolute path, then "--client" when
 * the build has a working client, so that calls with an instance are checked.
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
        boolean withClient = args.length > 1 && args[1].equals("--client");

        withoutInstanceEveryMethodAnswersOneOrNull();
        if (withClient) {
            withInstanceBeforeConnecting();
            nullTextArgumentsAreRefused();
            stringArgumentsAreReleased();
        } else {
            System.out.println("note: no client in this build; checks with an instance not run");
        }
        // The purchase against the emulated terminal (result fields, a 4096-byte
        // Cyrillic receipt, DataFileBinary length, Cyrillic input arriving as
        // CP1251) is added here once the emulator in tools/ exists.

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
}

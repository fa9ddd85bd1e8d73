package ua.vela.ecr;

import java.io.BufferedReader;
import java.io.IOException;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.util.HashMap;
import java.util.Map;
import java.util.concurrent.BlockingQueue;
import java.util.concurrent.LinkedBlockingQueue;
import java.util.concurrent.TimeUnit;

/**
 * The scripted emulated terminal (tests/java/ScriptedTerminal.cpp) as a child
 * process: its port, the size of the data file it serves, and the requests
 * it received, each as a map from tag number to the element's bytes in hex.
 * Closing it closes the child's standard input, which ends the child.
 */
final class EmulatedTerminal implements AutoCloseable {
    private static final long START_LIMIT_MS = 20_000;

    private final Process process;
    private final BlockingQueue<String> lines = new LinkedBlockingQueue<>();
    final String port;
    final int dataFileBytes;

    EmulatedTerminal(String program) throws IOException, InterruptedException {
        // By default the JVM starts a process through a helper program of
        // its own width. For the 32-bit JVM that is a 32-bit program, which
        // the host may have no loader for or, where the kernel refuses 32-bit
        // programs, cannot run at all; started directly, the 64-bit terminal
        // program runs either way.
        System.setProperty("jdk.lang.Process.launchMechanism", "VFORK");
        process = new ProcessBuilder(program).redirectError(ProcessBuilder.Redirect.INHERIT).start();
        Thread reader = new Thread(this::readLines, "terminal output");
        reader.setDaemon(true);
        reader.start();
        String first = lines.poll(START_LIMIT_MS, TimeUnit.MILLISECONDS);
        String[] words = first == null ? new String[0] : first.split(" ");
        if (words.length != 4 || !words[0].equals("listening")) {
            close();
            throw new IOException("the emulated terminal did not start: " + first);
        }
        port = words[1];
        dataFileBytes = Integer.parseInt(words[3]);
    }

    private void readLines() {
        try (BufferedReader in = new BufferedReader(
                     new InputStreamReader(process.getInputStream(), StandardCharsets.US_ASCII))) {
            for (String line = in.readLine(); line != null; line = in.readLine()) {
                lines.add(line);
            }
        } catch (IOException e) {
            // the child ended; the waits below run into their deadline
        }
    }

    /**
     * The next request whose message type (tag 1) is msgType, skipping
     * others; null when none arrives in time.
     */
    Map<Integer, String> nextRequest(int msgType, long limitMs) throws InterruptedException {
        String wanted = String.format("%08X", msgType);
        long deadline = System.currentTimeMillis() + limitMs;
        for (;;) {
            long left = deadline - System.currentTimeMillis();
            String line = left > 0 ? lines.poll(left, TimeUnit.MILLISECONDS) : null;
            if (line == null) {
                return null;
            }
            if (!line.startsWith("request")) {
                continue;
            }
            Map<Integer, String> elements = new HashMap<>();
            for (String element : line.substring("request".length()).trim().split(" ")) {
                int colon = element.indexOf(':');
                if (colon > 0) {
                    elements.put(Integer.valueOf(element.substring(0, colon)), element.substring(colon + 1));
                }
            }
            if (wanted.equals(elements.get(1))) {
                return elements;
            }
        }
    }

    @Override
    public void close() throws InterruptedException {
        try {
            process.getOutputStream().close();
        } catch (IOException e) {
            // already gone
        }
        if (!process.waitFor(10, TimeUnit.SECONDS)) {
            process.destroyForcibly().waitFor(10, TimeUnit.SECONDS);
        }
    }
}

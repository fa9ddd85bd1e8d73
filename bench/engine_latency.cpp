// Measures how long an operation takes from the call that starts it to the
// last result leaving 2, against the emulated terminal on loopback TCP:
//   - the ping exchange run directly on the caller's thread (the link
//     protocol and the terminal alone: the floor),
//   - Ping() through the worker,
//   - Purchase() answered after two status messages,
// each over the given number of runs (default 200), median and 99th
// percentile. Last, the CPU time the connected, idle client uses in 2 s.
#include "DefaultAnswers.h"
#include "TerminalEmulator.h"

#include "client/VELAECRClient.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double cpuSeconds() {
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Polls the last result as an application does; false when it ends with 1.
bool waitEnd(CVELAECRClient& client) {
    unsigned char result = 2;
    for (client.get_LastResult(result); result == 2; client.get_LastResult(result))
        std::this_thread::yield(); // two cores are shared with the worker and the terminal
    return result == 0;
}

void report(const char* name, std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    std::size_t p99 = (micros.size() * 99 + 99) / 100 - 1;
    std::printf("%-34s median %8.1f us   p99 %8.1f us   (%zu runs)\n", name,
                micros[micros.size() / 2], micros[std::min(p99, micros.size() - 1)], micros.size());
}

// Times op runs times; op returns false on a failed run.
bool measure(const char* name, int runs, const std::function<bool()>& op) {
    std::vector<double> micros;
    for (int i = 0; i < runs; ++i) {
        Clock::time_point start = Clock::now();
        if (!op()) {
            std::fprintf(stderr, "%s: run %d failed\n", name, i + 1);
            return false;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    report(name, micros);
    return true;
}
} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    if (runs < 1)
        runs = 200;
    velaemu::TerminalEmulator terminal;
    terminal.setStatusCount(2);
    std::uint16_t port = terminal.startTcp();
    if (port == 0) {
        std::fprintf(stderr, "the emulated terminal cannot listen\n");
        return 1;
    }
    CVELAECRClient client;
    if (client.CommOpenTCP("127.0.0.1", std::to_string(port).c_str()) != 0) {
        std::fprintf(stderr, "CommOpenTCP failed\n");
        return 1;
    }
    // The worker idles meanwhile and does not touch the link.
    bool ok = measure("ping on the caller's thread", runs, [&] { return client.ping() == 0; });
    ok = ok && measure("Ping() through the worker", runs,
                       [&] { return client.Ping() == 0 && waitEnd(client); });
    ok = ok && measure("Purchase() with 2 status messages", runs,
                       [&] { return client.Purchase(1000, 0, 1) == 0 && waitEnd(client); });
    double cpuBefore = cpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    std::printf("CPU time of the idle, connected client over 2 s: %.4f s\n",
                cpuSeconds() - cpuBefore);
    client.CommClose();
    return ok ? 0 : 1;
}

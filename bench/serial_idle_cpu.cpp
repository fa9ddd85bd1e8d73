// Measures the CPU time that an open serial transport costs while nothing
// happens on the line: the process opens a pseudo-terminal through the
// transport (monitor thread included), then idles for the given number of
// seconds (default 10) and prints the CPU time used meanwhile.
#include "communication/ICommunication.h"
#include "communication/SerialRS232.h"

#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {
double cpuSeconds() {
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    Communication::CSerialRS232::loadUdev();
    Communication::ICommunication* port = Communication::createCommIns(1);
    port->m_port = ttyname(slave);
    port->m_baudRate = 115200;
    int rc = port->commOpen();
    if (rc != 0) {
        std::fprintf(stderr, "open failed: %d\n", rc);
        return 1;
    }
    double before = cpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    double used = cpuSeconds() - before;
    std::printf("serial transport idle for %d s: CPU time %.3f ms (%.4f %% of one core), "
                "hot-plug monitor %s\n",
                seconds, used * 1000.0, used * 100.0 / seconds,
                Communication::CSerialRS232::m_isUdevLoaded ? "running" : "off (no libudev)");
    Communication::destroyCommIns(port);
    close(slave);
    close(master);
    return 0;
}

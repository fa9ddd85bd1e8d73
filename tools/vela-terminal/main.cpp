// vela-terminal: an emulated payment terminal to try the library against.
//
//   vela-terminal --tcp [PORT]   listen on 127.0.0.1:PORT (0 or none: any free port)
//   vela-terminal --pty          create a pseudo-terminal and print its device path
//
// Options: --statuses N (status messages before each final answer, default 2),
// --delay MS (pause before each answer), --quiet (no event lines).
// Runs until interrupted (Ctrl-C).

#include "DefaultAnswers.h"
#include "TerminalEmulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t g_interrupted = 0;

void onSignal(int) {
    g_interrupted = 1;
}

struct Options {
    bool tcp = true;
    int port = 0;
    int statuses = 2;
    int delayMs = 0;
    bool quiet = false;
};

void usage() {
    std::fprintf(stderr, "usage: vela-terminal (--tcp [PORT] | --pty) [--statuses N] "
                         "[--delay MS] [--quiet]\n");
}

bool isNumber(const char* text) {
    return text != nullptr && *text != '\0' && std::strspn(text, "0123456789") == std::strlen(text);
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--tcp") {
            options.tcp = true;
            if (isNumber(next))
                options.port = std::atoi(argv[++i]);
        } else if (arg == "--pty") {
            options.tcp = false;
        } else if (arg == "--statuses" && isNumber(next)) {
            options.statuses = std::atoi(argv[++i]);
        } else if (arg == "--delay" && isNumber(next)) {
            options.delayMs = std::atoi(argv[++i]);
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else {
            return false;
        }
    }
    return options.port >= 0 && options.port <= 65535;
}
} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        usage();
        return 2;
    }
    velaemu::TerminalEmulator terminal;
    if (!options.quiet)
        terminal.setObserver([](const std::string& line) {
            std::printf("%s\n", line.c_str());
            std::fflush(stdout);
        });
    terminal.setStatusCount(options.statuses);
    if (options.delayMs > 0) {
        int delayMs = options.delayMs;
        auto answers = std::make_shared<velaemu::DefaultAnswers>();
        answers->setStatusCount(options.statuses);
        terminal.setResponder(
            [answers, delayMs](const velaemu::Request& request, velaemu::Reply& reply) {
                reply = answers->answer(request);
                if (!reply.empty())
                    reply.insert(reply.begin(), velaemu::Step::delay(delayMs));
                return true;
            });
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    if (options.tcp) {
        std::uint16_t port = terminal.startTcp(static_cast<std::uint16_t>(options.port));
        if (port == 0) {
            std::fprintf(stderr, "vela-terminal: cannot listen on 127.0.0.1:%d\n", options.port);
            return 1;
        }
        std::printf("listening on 127.0.0.1:%u\n", port);
    } else {
        std::string path = terminal.startPty();
        if (path.empty()) {
            std::fprintf(stderr, "vela-terminal: cannot create a pseudo-terminal\n");
            return 1;
        }
        std::printf("serial device: %s\n", path.c_str());
    }
    std::fflush(stdout);
    while (!g_interrupted)
        pause();
    terminal.stop();
    return 0;
}

// vela-terminal: an emulated payment terminal to try the library against.
//
//   vela-terminal --tcp [PORT]   listen on 127.0.0.1:PORT (0 or none: any free port)
//   vela-terminal --pty          create a pseudo-terminal and print its device path
//
// Options: --statuses N (status messages before each final answer, default 2),
// --delay MS (pause before each answer), --pace MS (pause before each message
// of an answer, as a real terminal takes its time), --quiet (no event lines).
// Runs until interrupted (Ctrl-C).

#include "DefaultAnswers.h"
#include "TerminalEmulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <string>
#include <unistd.h>

namespace {

struct Options {
    bool tcp = true;
    int port = 0;
    int statuses = 2;
    int delayMs = 0;
    int paceMs = 0;
    bool quiet = false;
};

void usage() {
    std::fprintf(stderr, "usage: vela-terminal (--tcp [PORT] | --pty) [--statuses N] "
                         "[--delay MS] [--pace MS] [--quiet]\n");
}

// The default answer with a pause before it and a pause before each message.
velaemu::Reply paced(const velaemu::Reply& answer, int delayMs, int paceMs) {
    velaemu::Reply reply;
    if (!answer.empty() && delayMs > 0)
        reply.push_back(velaemu::Step::delay(delayMs));
    for (const velaemu::Step& step : answer) {
        if (paceMs > 0)
            reply.push_back(velaemu::Step::delay(paceMs));
        reply.push_back(step);
    }
    return reply;
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
        } else if (arg == "--pace" && isNumber(next)) {
            options.paceMs = std::atoi(argv[++i]);
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
    if (options.delayMs > 0 || options.paceMs > 0) {
        auto answers = std::make_shared<velaemu::DefaultAnswers>();
        answers->setStatusCount(options.statuses);
        terminal.setResponder(
            [answers, options](const velaemu::Request& request, velaemu::Reply& reply) {
                reply = paced(answers->answer(request), options.delayMs, options.paceMs);
                return true;
            });
    }
    // The stop signals are blocked before the emulator starts its threads and
    // then taken with sigwait, so none can slip past the wait.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
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
    int signal = 0;
    sigwait(&stopSignals, &signal);
    terminal.stop();
    return 0;
}

// The emulated terminal paced like a real one: every step of an answer
// (each status message, the final answer) goes out after a pause, so that a
// cash-register program can be watched following the terminal's progress.
//
//   demo_terminal --tcp | --pty [PAUSE_MS]
//
// Prints "listening on 127.0.0.1:PORT" or "serial device: PATH", then serves
// until interrupted.
#include "DefaultAnswers.h"
#include "TerminalEmulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <pthread.h>

namespace {
// The default answer with a pause before each of its steps.
velaemu::Reply paced(velaemu::Reply reply, int pauseMs) {
    velaemu::Reply result;
    for (velaemu::Step& step : reply) {
        result.push_back(velaemu::Step::delay(pauseMs));
        result.push_back(step);
    }
    return result;
}
} // namespace

int main(int argc, char** argv) {
    bool tcp = argc > 1 && std::strcmp(argv[1], "--tcp") == 0;
    bool pty = argc > 1 && std::strcmp(argv[1], "--pty") == 0;
    if (!tcp && !pty) {
        std::fprintf(stderr, "usage: %s --tcp | --pty [PAUSE_MS]\n", argv[0]);
        return 2;
    }
    int pauseMs = argc > 2 ? std::atoi(argv[2]) : 700;
    auto answers = std::make_shared<velaemu::DefaultAnswers>();
    velaemu::TerminalEmulator terminal;
    terminal.setResponder(
        [answers, pauseMs](const velaemu::Request& request, velaemu::Reply& reply) {
            reply = paced(answers->answer(request), pauseMs);
            return true;
        });
    // Interrupts are waited for below; blocked before the terminal's thread
    // starts, so that thread never takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    if (tcp) {
        std::uint16_t port = terminal.startTcp();
        if (port == 0)
            return 1;
        std::printf("listening on 127.0.0.1:%u\n", port);
    } else {
        std::string path = terminal.startPty();
        if (path.empty())
            return 1;
        std::printf("serial device: %s\n", path.c_str());
    }
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    terminal.stop();
    return 0;
}

#include "shell/stop_request.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void NoteStopRequest(int) {
    stopRequested = 1;
}

}  // namespace

void InstallStopHandlers() {
    struct sigaction action = {};
    action.sa_handler = NoteStopRequest;
    sigemptyset(&action.sa_mask);
    // SA_RESTART: the calls a signal interrupts (the frame wait, the display
    // connection) go on as if nothing happened. SA_RESETHAND: the default
    // action is back for the next signal.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() {
    return stopRequested != 0;
}

void ForgetStopRequest() {
    stopRequested = 0;
}

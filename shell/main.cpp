// tumble: boxes float in a walled 640 × 480 world under one light that
// follows the mouse. Space drops a box at the mouse; Escape, the close box,
// SIGINT or SIGTERM end the program.

#include <cstdio>

#include "shell/program.h"
#include "shell/stop_request.h"

int main() {
    // First of all: a stop asked for during start-up is a clean stop too.
    InstallStopHandlers();
    DesktopInput input;
    Services services;
    return RunProgram(services, ScreenKind::Desktop, input, stderr);
}

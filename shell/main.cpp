// tumble: boxes float in a walled 640 × 480 world under one light that
// follows the mouse. Space drops a box at the mouse; Escape, the close box,
// SIGINT or SIGTERM end the program. `tumble --help` lists the options and keys.

#include <cstdio>

#include "shell/command_line.h"
#include "shell/program.h"
#include "shell/stop_request.h"

int main(int argc, char** argv) {
    // First of all: a stop asked for during start-up is a clean stop too.
    InstallStopHandlers();
    const CommandLine line = ParseCommandLine(argc, argv);
    if (line.action != CommandLine::Action::Run) {
        return AnswerCommandLine(line, stdout, stderr);
    }
    DesktopInput input;
    Services services;
    return RunProgram(services, ScreenKind::Desktop, input, stderr,
                      SessionFiles{line.replay, line.record});
}

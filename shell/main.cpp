// tumble: boxes float in a walled 640 × 480 world under one light that
// follows the mouse. Space drops a box at the mouse; Escape or the close box
// ends the program.

#include <cstdio>
#include <memory>
#include <string>

#include "shell/app.h"
#include "shell/main_loop.h"
#include "shell/services.h"
#include "shell/startup.h"

int main() {
    DesktopInput input;
    Services services;
    auto app = std::make_unique<App>();
    std::string error;
    if (!StartServices(services, ScreenKind::Desktop, input, error) ||
        !StartProgram(*app, services, error)) {
        std::fprintf(stderr, "tumble: cannot open a window: %s\n", error.c_str());
        StopServices(services);
        return 1;
    }
    RunMainLoop(*app, services);
    StopServices(services);
    return 0;
}

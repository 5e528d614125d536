#include "shell/program.h"

#include <memory>
#include <string>

#include "shell/app.h"
#include "shell/main_loop.h"
#include "shell/startup.h"

int RunProgram(Services& services, ScreenKind kind, InputSource& input, std::FILE* err) {
    auto app = std::make_unique<App>();
    std::string error;
    if (!StartServices(services, kind, input, error) || !StartProgram(*app, services, error)) {
        std::fprintf(err, "tumble: cannot open a window: %s\n", error.c_str());
        StopServices(services);
        return 1;
    }
    RunMainLoop(*app, services);
    StopServices(services);
    return 0;
}

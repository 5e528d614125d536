#include "shell/program.h"

#include <ctime>
#include <memory>
#include <string>

#include "shell/app.h"
#include "shell/main_loop.h"
#include "shell/startup.h"

#ifndef TUMBLE_VERSION
#error "TUMBLE_VERSION must be defined by the build (the project's version)"
#endif

int RunProgram(Services& services, ScreenKind kind, InputSource& input, std::FILE* err,
               const SessionFiles& files) {
    auto app = std::make_unique<App>();
    const int opened = OpenProgram(*app, services, kind, input, err, files);
    if (opened != kProgramOpen) {
        return opened;
    }
    RunMainLoop(*app, services);
    return CloseProgram(*app, services, err);
}

int OpenProgram(App& app, Services& services, ScreenKind kind, InputSource& input, std::FILE* err,
                const SessionFiles& files) {
    std::string error;
    if (!files.replay.empty() && !LoadReplay(app.replay, files.replay, error)) {
        std::fprintf(err, "tumble: %s\n", error.c_str());
        return 2;
    }
    if (!files.record.empty() &&
        !StartRecording(app.recording, files.record,
                        RecordingHeader(TUMBLE_VERSION, std::time(nullptr), files.record), error)) {
        std::fprintf(err, "tumble: cannot write %s: %s\n", files.record.c_str(), error.c_str());
        return 1;
    }
    if (!StartServices(services, kind, input, error) || !StartProgram(app, services, error)) {
        std::fprintf(err, "tumble: cannot open a window: %s\n", error.c_str());
        StopServices(services);
        FinishRecording(app, err);
        return 1;
    }
    app.recording.lastFlush = TickCount(services);
    PlayReplayCommands(app, services);
    return kProgramOpen;
}

int CloseProgram(App& app, Services& services, std::FILE* err) {
    StopServices(services);
    return FinishRecording(app, err) ? 0 : 1;
}

#pragma once

// Services on SDL's dummy video driver with the software renderer, fed by a
// script: deterministic pixels that a test reads back.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "shell/main_loop.h"
#include "shell/program.h"
#include "shell/startup.h"

// A colour as "r,g,b", so that a failed check reads at a glance.
inline std::string Rgb(uint32_t colour) {
    return std::to_string(RedOf(colour)) + "," + std::to_string(GreenOf(colour)) + "," +
           std::to_string(BlueOf(colour));
}

struct Screen {
    std::vector<uint32_t> pixels;
    int32_t width = 0;
    uint32_t At(int32_t x, int32_t y) const { return pixels.at(size_t(y) * width + x); }
    std::string RgbAt(int32_t x, int32_t y) const { return Rgb(At(x, y)); }
};

// The services with a 640 × 480 screen; with `program`, after the whole
// start-up; with `refuse`, short of what it names.
struct Offscreen {
    ScriptedInput input;
    Services services;
    App app;

    explicit Offscreen(bool program = false, const Refusals& refuse = {}) {
        services.refuse = refuse;
        std::string error;
        bool started = program ? StartServices(services, ScreenKind::Offscreen, input, error) &&
                                     StartProgram(app, services, error)
                               : StartOffscreenServices(services, input, 640, 480, error);
        EXPECT_TRUE(started) << error;
    }
    ~Offscreen() { StopServices(services); }
    LoopEnd Run(int64_t passes) { return RunMainLoop(app, services, passes); }
    // A key pressed in one pass and released in the next, as a hand does it.
    void Tap(int32_t key) {
        input.keysDown[key] = 1;
        Run(1);
        input.keysDown[key] = 0;
        Run(1);
    }
    Screen Read() { return {ReadBackBuffer(services), services.screenWidth}; }
};

// The program run whole on offscreen services; its exit status and what it said.
struct ProgramRun {
    int status;
    std::string said;
};

inline ProgramRun RunWhole(const Refusals& refuse, ScriptedInput& input,
                           const SessionFiles& files = {}) {
    Services services;
    services.refuse = refuse;
    std::FILE* err = std::tmpfile();
    const int status = RunProgram(services, ScreenKind::Offscreen, input, err, files);
    std::rewind(err);
    std::string said;
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, err)) {
        said.append(buffer, n);
    }
    std::fclose(err);
    return {status, said};
}

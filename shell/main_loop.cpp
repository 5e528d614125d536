#include "shell/main_loop.h"

#include <cstdio>
#include <vector>

#include "dynamics/drag.h"
#include "render/render_frame.h"
#include "shell/screenshot.h"
#include "shell/stop_request.h"
#include "shell/update_world.h"
#include "world/factories.h"

namespace {

// Takes every pending window event; true when one of them asks to close.
bool CloseRequested(Services& services) {
    while (int32_t event = PollWindowEvent(services)) {
        if (event == kCloseRequest) {
            return true;
        }
    }
    return false;
}

// The frame of this pass, written to a file too when F12 asked for it. A
// file that cannot be written is reported, and the program goes on.
void ShowFrame(App& app, Services& services) {
    FrameOptions options;
    options.view = app.play.view;
    options.paused = app.play.paused;
    options.help = app.window.help;
    options.frameMilliseconds = app.window.frameMilliseconds;
    options.drawMilliseconds = &app.window.frameMilliseconds;
    std::vector<uint32_t> pixels;
    if (app.window.screenshotPending) {
        options.capture = &pixels;
    }
    RenderFrame(app.world, app.lighting, app.timer.framesPerSecond, services, options);
    if (!app.window.screenshotPending) {
        return;
    }
    app.window.screenshotPending = false;
    std::string path;
    std::string error;
    if (SaveScreenshot(pixels, services.screenWidth, services.screenHeight,
                       app.window.screenshotFolder, path, error)) {
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
    } else {
        std::fprintf(stderr, "tumble: cannot save the screenshot: %s\n", error.c_str());
    }
}

// Pressed over a box, the left button grabs it; released, it lets go.
void HandleButton(App& app, Services& services) {
    const bool down = IsLeftButtonDown(services);
    if (down && !app.window.leftButtonWasDown) {
        GrabAt(app.world, GetMouseX(services), GetMouseY(services));
    } else if (!down && app.window.leftButtonWasDown) {
        ReleaseGrab(app.world);
    }
    app.window.leftButtonWasDown = down;
}

}  // namespace

// Each frame shows the state the previous pass left; the light and the
// marker follow the mouse snapshot of the previous pass.
LoopEnd RunMainLoop(App& app, Services& services, int64_t passLimit) {
    for (int64_t pass = 0; pass < passLimit; ++pass) {
        if (StopRequested()) {
            return LoopEnd::StopSignal;
        }
        if (CloseRequested(services)) {
            return LoopEnd::CloseRequest;
        }
        UpdateFrameTimer(app.timer, services);
        ShowFrame(app, services);
        UpdateWorld(app.world, app.lighting, GetMouseX(services), GetMouseY(services),
                    ControlsFor(app.play));
        app.play.stepOnce = false;
        HandleInput(app, services);
        if (IsKeyDown(services, kKeyEscape) != 0) {
            return LoopEnd::Escape;
        }
    }
    return LoopEnd::PassLimit;
}

void UpdateFrameTimer(FrameTimer& timer, Services& services) {
    // An unsigned difference stays right across the wrap of the 32-bit clock
    // after 49.7 days; a signed one would stop the count for good.
    const uint32_t now = TickCount(services);
    timer.elapsed = static_cast<double>(now - static_cast<uint32_t>(timer.lastMark));
    timer.frames = timer.frames + 1;
    if (timer.elapsed > 1000) {
        timer.lastMark = static_cast<double>(TickCount(services));
        timer.framesPerSecond = timer.frames;
        timer.frames = 0;
    }
}

// Every key acts on its release, as Space always has. A restart comes before
// the drop of the same pass, so that the new box stays.
void HandleInput(App& app, Services& services) {
    PollKeyboard(services);
    PollMouse(services);
    const int32_t mouseX = GetMouseX(services);
    const int32_t mouseY = GetMouseY(services);
    PlayState& play = app.play;
    if (WasKeyReleased(services, kKeyR) == 1) {
        RestartScene(app.world, app.lighting, play, mouseX, mouseY);
    }
    if (WasKeyReleased(services, kKeySpace) == 1) {
        DropBox(app.world, mouseX, mouseY);
    }
    HandleButton(app, services);
    if (WasKeyReleased(services, kKeyP) == 1) {
        play.paused = !play.paused;
    }
    if (WasKeyReleased(services, kKeyO) == 1 && play.paused) {
        play.stepOnce = true;
    }
    if (WasKeyReleased(services, kKeyD) == 1) {
        SetView(app.world, play, NextView(play.view));
    }
    if (WasKeyReleased(services, kKeyF) == 1) {
        play.lightFrozen = !play.lightFrozen;
    }
    // Both keys are looked at every pass, so that each one's release is seen.
    const bool helpKey = WasKeyReleased(services, kKeyH) == 1;
    const bool f1 = WasKeyReleased(services, kKeyF1) == 1;
    if (helpKey || f1) {
        app.window.help = !app.window.help;
    }
    if (WasKeyReleased(services, kKeyF12) == 1) {
        app.window.screenshotPending = true;
    }
}

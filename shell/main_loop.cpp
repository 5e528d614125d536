#include "shell/main_loop.h"

#include "render/render_frame.h"
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
        RenderFrame(app.world, app.lighting, app.timer.framesPerSecond, services);
        UpdateWorld(app.world, app.lighting, GetMouseX(services), GetMouseY(services));
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

void HandleInput(App& app, Services& services) {
    PollKeyboard(services);
    PollMouse(services);
    if (WasKeyReleased(services, kKeySpace) == 1) {
        DropBox(app.world, GetMouseX(services), GetMouseY(services));
    }
}

#include "shell/main_loop.h"

#include <cstdio>
#include <vector>

#include "dynamics/drag.h"
#include "platform/png_file.h"
#include "render/render_frame.h"
#include "session/scene_command.h"
#include "session/state_dump.h"
#include "session/state_hash.h"
#include "session/update_world.h"
#include "shell/screenshot.h"
#include "shell/stop_request.h"

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
    options.replaying = IsReplaying(app.replay);
    options.help = app.window.help;
    options.frameMilliseconds = app.window.frameMilliseconds;
    options.drawMilliseconds = &app.window.frameMilliseconds;
    std::vector<uint32_t> pixels;
    if (app.window.screenshotPending || !app.window.shotFiles.empty()) {
        options.capture = &pixels;
    }
    RenderFrame(app.world, app.lighting, app.timer.framesPerSecond, services, options);
    std::string error;
    for (const std::string& file : app.window.shotFiles) {
        if (!WritePng(pixels, services.screenWidth, services.screenHeight, file, error)) {
            std::fprintf(stderr, "tumble: cannot save the shot %s: %s\n", file.c_str(),
                         error.c_str());
        }
    }
    app.window.shotFiles.clear();
    if (!app.window.screenshotPending) {
        return;
    }
    app.window.screenshotPending = false;
    std::string path;
    if (SaveScreenshot(pixels, services.screenWidth, services.screenHeight,
                       app.window.screenshotFolder, path, error)) {
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
    } else {
        std::fprintf(stderr, "tumble: cannot save the screenshot: %s\n", error.c_str());
    }
}

void ReportRecordingFailure(const Recording& recording, const std::string& error, std::FILE* err) {
    std::fprintf(err, "tumble: cannot write the recording %s: %s; recording stopped\n",
                 recording.path.c_str(), error.c_str());
}

// The scene the user's input and a replay's commands act on; its mouse is
// the services' mouse.
Scene SceneOf(App& app, Services& services) {
    return Scene{app.world, app.lighting, app.play, services.mouseX, services.mouseY};
}

// Changes the scene as the script command does, and records the command.
void Act(App& app, Services& services, const ScriptCommand& command) {
    ApplySceneCommand(SceneOf(app, services), command);
    RecordCommand(app.recording, command);
}

ScriptCommand Command(CommandKind kind) {
    ScriptCommand command;
    command.kind = kind;
    return command;
}

// Pressed over a box, the left button grabs it; released, it lets go.
void HandleButton(App& app, Services& services) {
    const bool down = IsLeftButtonDown(services);
    if (down && !app.window.leftButtonWasDown) {
        Act(app, services, Command(CommandKind::Grab));
    } else if (!down && app.window.leftButtonWasDown) {
        Act(app, services, Command(CommandKind::Release));
    }
    app.window.leftButtonWasDown = down;
}

// L drops a light at the mouse and Backspace removes the last one; C, - and
// = change the mouse's light; S switches soft shadows.
void HandleLightKeys(App& app, Services& services) {
    if (WasKeyReleased(services, kKeyL) == 1) {
        ScriptCommand light = Command(CommandKind::Light);
        light.x = GetMouseX(services);
        light.y = GetMouseY(services);
        Act(app, services, light);
    }
    if (WasKeyReleased(services, kKeyBackspace) == 1) {
        Act(app, services, Command(CommandKind::Unlight));
    }
    if (WasKeyReleased(services, kKeyC) == 1) {
        Act(app, services, Command(CommandKind::Colour));
    }
    // Both keys are looked at every pass, so that each one's release is seen.
    const bool shrink = WasKeyReleased(services, kKeyMinus) == 1;
    const bool grow = WasKeyReleased(services, kKeyEquals) == 1;
    const Light* light = MouseLight(app.lighting);
    if ((shrink || grow) && light != nullptr) {
        const int32_t step = (grow ? kLightRadiusStep : 0) - (shrink ? kLightRadiusStep : 0);
        ScriptCommand radius = Command(CommandKind::Radius);
        radius.radius = ClampLightRadius(light->radius + step);
        if (radius.radius != light->radius) {
            Act(app, services, radius);
        }
    }
    if (WasKeyReleased(services, kKeyS) == 1) {
        ScriptCommand soft = Command(CommandKind::Soft);
        soft.on = !app.lighting.softShadows;
        Act(app, services, soft);
    }
}

// What the user does to the world: the mouse, R, Space, the button, F and
// the light keys, each recorded as the script command it is. A restart comes
// before the drop of the same pass, so that the new box stays.
void HandleWorldInput(App& app, Services& services) {
    RecordMouse(app.recording, GetMouseX(services), GetMouseY(services));
    if (WasKeyReleased(services, kKeyR) == 1) {
        Act(app, services, Command(CommandKind::Reset));
    }
    if (WasKeyReleased(services, kKeySpace) == 1) {
        ScriptCommand box = Command(CommandKind::Box);
        box.x = GetMouseX(services);
        box.y = GetMouseY(services);
        Act(app, services, box);
    }
    HandleButton(app, services);
    if (WasKeyReleased(services, kKeyF) == 1) {
        Act(app, services,
            Command(app.play.lightFrozen ? CommandKind::Follow : CommandKind::Freeze));
    }
    HandleLightKeys(app, services);
}

// The keys that work in a replay too: the pause and single step, the views,
// the help and the screenshot.
void HandlePlayKeys(App& app, Services& services) {
    PlayState& play = app.play;
    if (WasKeyReleased(services, kKeyP) == 1) {
        play.paused = !play.paused;
    }
    if (WasKeyReleased(services, kKeyO) == 1 && play.paused) {
        play.stepOnce = true;
    }
    if (WasKeyReleased(services, kKeyD) == 1) {
        ScriptCommand view = Command(CommandKind::View);
        view.view = NextView(play.view);
        Act(app, services, view);
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

// The pass's controls: the pause, and while a replay plays, whether the
// script's pass steps. The user's pause holds the script too.
PassControls PassControlsFor(App& app) {
    PassControls controls = ControlsFor(app.play);
    if (controls.step && ReplayHasPass(app.replay)) {
        controls.step = TakeReplayPass(app.replay);
    }
    return controls;
}

// Lines reach the file at least once a second. A failed write stops the
// recording; the program goes on.
void KeepRecording(App& app, Services& services) {
    const uint32_t clock = TickCount(services);
    if (!IsRecording(app.recording) || clock - app.recording.lastFlush < 1000) {
        return;
    }
    app.recording.lastFlush = clock;
    std::string error;
    if (!FlushRecording(app.recording, error)) {
        ReportRecordingFailure(app.recording, error, stderr);
    }
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
        const PassControls controls = PassControlsFor(app);
        UpdateWorld(app.world, app.lighting, GetMouseX(services), GetMouseY(services), controls);
        ++app.passes;
        RecordPass(app.recording, controls.step);
        app.play.stepOnce = false;
        HandleInput(app, services);
        KeepRecording(app, services);
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

// Every key acts on its release, as Space always has. While a replay plays,
// the script moves the mouse and acts on the world in the user's place.
void HandleInput(App& app, Services& services) {
    const bool replaying = IsReplaying(app.replay);
    const int32_t scriptX = services.mouseX;
    const int32_t scriptY = services.mouseY;
    PollKeyboard(services);
    PollMouse(services);
    if (replaying) {
        services.mouseX = scriptX;
        services.mouseY = scriptY;
        // The button counts as held while the script holds a box: when the
        // script ends, a button that is up lets go of it, one that is down
        // goes on dragging.
        app.window.leftButtonWasDown = IsGrabbing(app.world);
    } else {
        HandleWorldInput(app, services);
    }
    HandlePlayKeys(app, services);
    if (replaying) {
        PlayReplayCommands(app, services);
    }
}

void PlayReplayCommands(App& app, Services& services) {
    while (const ScriptCommand* command = TakeReplayCommand(app.replay)) {
        switch (command->kind) {
            case CommandKind::Dump:
                std::printf("%s\n", DumpState(app.world, app.lighting, app.passes).c_str());
                std::fflush(stdout);
                break;
            case CommandKind::Hash:
                std::printf("%s\n", HashText(HashState(app.world, app.lighting)).c_str());
                std::fflush(stdout);
                break;
            case CommandKind::Shot:
                app.window.shotFiles.push_back(command->file);
                break;
            default:
                Act(app, services, *command);
                break;
        }
    }
}

bool FinishRecording(App& app, std::FILE* err) {
    std::string error;
    if (!StopRecording(app.recording, error)) {
        ReportRecordingFailure(app.recording, error, err);
    }
    return !app.recording.failed;
}

#include "shell/main_loop.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <vector>

#include "dynamics/drag.h"
#include "dynamics/gravity.h"
#include "lighting/light.h"
#include "platform/png_file.h"
#include "render/render_frame.h"
#include "session/commands.h"
#include "shell/keys.h"
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

constexpr uint32_t kNoteMilliseconds = 2000;

// Says on the screen, for about two seconds, why something did not happen.
void Note(App& app, Services& services, const std::string& text) {
    app.window.note = text;
    app.window.noteUntil = TickCount(services) + kNoteMilliseconds;
}

// The note while it lasts; empty after.
std::string_view CurrentNote(const App& app, Services& services) {
    const bool showing = static_cast<int32_t>(app.window.noteUntil - TickCount(services)) > 0;
    return showing ? std::string_view(app.window.note) : std::string_view();
}

// The frame of this pass, written to a file too when F12 asked for it. A
// file that cannot be written is reported, and the program goes on.
void ShowFrame(App& app, Services& services) {
    const Session& session = app.session;
    FrameOptions options;
    options.view = session.play.view;
    options.shape = session.play.shape;
    options.paused = session.play.paused;
    options.slowness = app.window.slowness;
    options.replaying = IsReplaying(app.replay);
    if (session.play.paused || app.window.scrubbing) {
        options.timeline =
            Timeline{FirstSessionPass(session), LastSessionPass(session), session.passes};
    }
    if (app.window.help) {
        options.help = KeyHelpLines();
    }
    options.mouseX = session.mouseX;
    options.mouseY = session.mouseY;
    options.note = CurrentNote(app, services);
    options.frameMilliseconds = app.window.frameMilliseconds;
    options.drawMilliseconds = &app.window.frameMilliseconds;
    std::vector<uint32_t> pixels;
    if (app.window.screenshotPending || !app.window.shotFiles.empty()) {
        options.capture = &pixels;
    }
    RenderFrame(session.world, session.lighting, app.timer.framesPerSecond, services, options);
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

// Runs a command through the session as tumble-sim would, and records it.
// Dumps and hashes go to standard output; a shot is the next frame's. A
// command beyond the language's limits is not run: the screen says why.
void Act(App& app, Services& services, const ScriptCommand& command) {
    std::string why;
    if (!CommandAllowed(app.session, command, why)) {
        Note(app, services, why);
        return;
    }
    const SessionOutput output{std::cout,
                               [&app](const Session&, const std::string& file, std::string&) {
                                   app.window.shotFiles.push_back(file);
                                   return true;
                               }};
    std::string error;
    RunCommand(app.session, command, output, error);
    RecordCommand(app.recording, command);
}

ScriptCommand Command(CommandKind kind) {
    ScriptCommand command;
    command.kind = kind;
    return command;
}

ScriptCommand AtMouse(CommandKind kind, const Session& session) {
    ScriptCommand command = Command(kind);
    command.x = session.mouseX;
    command.y = session.mouseY;
    return command;
}

// The world sees the pointer where the user moved it.
void FollowPointer(App& app, Services& services) {
    ScriptCommand mouse = Command(CommandKind::Mouse);
    mouse.x = GetMouseX(services);
    mouse.y = GetMouseY(services);
    if (mouse.x != app.session.mouseX || mouse.y != app.session.mouseY) {
        Act(app, services, mouse);
    }
}

// The recording learns how far back the window went before anything that
// follows; its mouse is the mouse of the pass gone back to.
void NoteWayBack(App& app) {
    if (!app.window.scrubbing) {
        return;
    }
    app.window.scrubbing = false;
    const Session& session = app.session;
    ScriptCommand back = Command(CommandKind::Back);
    back.count = LastSessionPass(session) - session.passes;
    if (back.count > 0) {
        RecordCommand(app.recording, back);
        app.recording.mouseX = session.mouseX;
        app.recording.mouseY = session.mouseY;
    }
}

// An input after going back starts the future again from the pass shown:
// the old future goes with the first command, and the world sees the
// pointer again.
void TakeOver(App& app, Services& services) {
    if (app.window.scrubbing) {
        NoteWayBack(app);
        FollowPointer(app, services);
    }
}

// Pressed over a box, the left button grabs it; released, it lets go.
void HandleButton(App& app, Services& services) {
    const bool down = IsLeftButtonDown(services);
    if (down != app.window.leftButtonWasDown) {
        TakeOver(app, services);
    }
    if (down && !app.window.leftButtonWasDown) {
        Act(app, services, Command(CommandKind::Grab));
    } else if (!down && app.window.leftButtonWasDown) {
        Act(app, services, Command(CommandKind::Release));
    }
    app.window.leftButtonWasDown = down;
}

// Pressed over a body, the right button pins it or unpins it.
void HandleRightButton(App& app, Services& services) {
    const bool down = IsRightButtonDown(services);
    if (down && !app.window.rightButtonWasDown) {
        TakeOver(app, services);
        Act(app, services, Command(CommandKind::Pin));
    }
    app.window.rightButtonWasDown = down;
}

// Space drops the shape chosen; the 40 × 40 box as the box command, as it
// always has been, so that recordings read as before.
ScriptCommand DropCommand(const Session& session) {
    if (session.play.shape == Shape::Box40) {
        return AtMouse(CommandKind::Box, session);
    }
    ScriptCommand command = AtMouse(CommandKind::Shape, session);
    command.shape = session.play.shape;
    return command;
}

// The mouse's light grows or shrinks by `amount`, within its limits; at a
// limit the screen says so.
void ResizeMouseLight(App& app, Services& services, int32_t amount) {
    const Light* light = MouseLight(app.session.lighting);
    if (light == nullptr || amount == 0) {
        return;
    }
    ScriptCommand radius = Command(CommandKind::Radius);
    radius.count = ClampLightRadius(light->radius + amount);
    if (radius.count != light->radius) {
        Act(app, services, radius);
    } else {
        Note(app, services,
             amount > 0 ? "radius " + std::to_string(kMaxLightRadius) + " at most"
                        : "radius " + std::to_string(kMinLightRadius) + " at least");
    }
}

// Left, while paused: back to the pass before the last step, over the idle
// passes of the pause.
void StepBack(App& app) {
    Session& session = app.session;
    if (!session.play.paused || IsReplaying(app.replay)) {
        return;
    }
    const int64_t first = FirstSessionPass(session);
    int64_t target = session.passes;
    while (target > first && !SessionPassStepped(session, target)) {
        --target;
    }
    target = target > first ? target - 1 : first;
    if (target < session.passes && ReturnSessionTo(session, target)) {
        app.window.scrubbing = true;
    }
}

// Right, while paused: the recorded future again up to its next step; with
// no future, one step as O takes.
void StepForward(App& app) {
    Session& session = app.session;
    if (!session.play.paused || IsReplaying(app.replay)) {
        return;
    }
    if (!app.window.scrubbing) {
        session.play.stepOnce = true;
        return;
    }
    const int64_t last = LastSessionPass(session);
    int64_t target = session.passes + 1;
    while (target < last && !SessionPassStepped(session, target)) {
        ++target;
    }
    ReturnSessionTo(session, target);
    app.window.scrubbing = target < last;
}

constexpr int32_t kSlowestMotion = 8;

// [ halves the speed and ] doubles it, between 1 and 1/8; at a limit the
// screen says so. The count of passes starts again, so the first step at
// the new speed comes after a whole round of idle passes.
void ChangeSpeed(App& app, Services& services, bool slower) {
    WindowState& window = app.window;
    const int32_t slowness = slower ? window.slowness * 2 : window.slowness / 2;
    if (slowness < 1 || slowness > kSlowestMotion) {
        Note(app, services,
             slower ? "speed 1/" + std::to_string(kSlowestMotion) + " at slowest"
                    : "speed 1 at fastest");
        return;
    }
    window.slowness = slowness;
    window.slowPasses = 0;
}

// The actions that end going back: every one that changes the scene or the
// passes to come. The left button takes over only when it goes down or up.
bool TakesOver(KeyAction action) {
    // The buttons, looked at every pass, take over only when they change.
    return (action <= KeyAction::SoftOrHard && action != KeyAction::Drag &&
            action != KeyAction::Pin) ||
           action == KeyAction::Pause || action == KeyAction::StepOnce ||
           action == KeyAction::NextView;
}

// What a key does, as the script command it is where it changes the scene.
void Perform(App& app, Services& services, KeyAction action, int32_t amount) {
    Session& session = app.session;
    PlayState& play = session.play;
    ScriptCommand command;
    if (TakesOver(action)) {
        TakeOver(app, services);
    }
    switch (action) {
        case KeyAction::Restart:
            return Act(app, services, Command(CommandKind::Reset));
        case KeyAction::ChooseShape:
            command = Command(CommandKind::Choose);
            command.shape = NextShape(play.shape);
            return Act(app, services, command);
        case KeyAction::Drop:
            return Act(app, services, DropCommand(session));
        case KeyAction::Drag:
            return HandleButton(app, services);
        case KeyAction::Pin:
            return HandleRightButton(app, services);
        case KeyAction::Gravity:
            command = Command(CommandKind::Gravity);
            command.on = !GravityIsOn(session.world);
            return Act(app, services, command);
        case KeyAction::Rest:
            command = Command(CommandKind::Rest);
            command.on = session.world.settings.Rest == 0;
            return Act(app, services, command);
        case KeyAction::FreezeOrFollow:
            return Act(app, services,
                       Command(play.lightFrozen ? CommandKind::Follow : CommandKind::Freeze));
        case KeyAction::DropLight:
            return Act(app, services, AtMouse(CommandKind::Light, session));
        case KeyAction::RemoveLight:
            return Act(app, services, Command(CommandKind::Unlight));
        case KeyAction::NextColour:
            return Act(app, services, Command(CommandKind::Colour));
        case KeyAction::Resize:
            return ResizeMouseLight(app, services, amount);
        case KeyAction::SoftOrHard:
            command = Command(CommandKind::Soft);
            command.on = !session.lighting.softShadows;
            return Act(app, services, command);
        case KeyAction::Pause:
            play.paused = !play.paused;
            return;
        case KeyAction::StepOnce:
            if (play.paused) {
                play.stepOnce = true;
            }
            return;
        case KeyAction::NextView:
            command = Command(CommandKind::View);
            command.view = NextView(play.view);
            return Act(app, services, command);
        case KeyAction::Help:
            app.window.help = !app.window.help;
            return;
        case KeyAction::Screenshot:
            app.window.screenshotPending = true;
            return;
        case KeyAction::Slower:
            return ChangeSpeed(app, services, true);
        case KeyAction::Faster:
            return ChangeSpeed(app, services, false);
        case KeyAction::StepBack:
            return StepBack(app);
        case KeyAction::StepForward:
            return StepForward(app);
        case KeyAction::None:
            return;
    }
}

// The keys released since the last snapshot, by action: whether any was,
// and the sum of their amounts. Every key of the table is looked at every
// pass, so that each one's release is seen.
struct KeyReleases {
    bool released[kKeyActions] = {};
    bool down[kKeyActions] = {};  // the actions that act while held
    int32_t amount[kKeyActions] = {};
};

KeyReleases ReadKeyReleases(Services& services) {
    KeyReleases releases;
    for (const KeyBinding& binding : kKeyTable) {
        const int32_t action = static_cast<int32_t>(binding.action);
        if (binding.key != kNoKey && action < kKeyActions &&
            WasKeyReleased(services, binding.key) == 1) {
            releases.released[action] = true;
            releases.amount[action] += binding.amount;
        }
        if (binding.key != kNoKey && ActsWhileHeld(binding.action) &&
            IsKeyDown(services, binding.key) != 0) {
            releases.down[action] = true;
        }
    }
    return releases;
}

// The actions up to SoftOrHard change the scene; a replay does that in the
// user's place.
bool ChangesScene(KeyAction action) {
    return action <= KeyAction::SoftOrHard;
}

// Whether a running world steps in this pass at the window's speed: at 1/N
// on every Nth pass, idle in between.
bool SlowMotionSteps(WindowState& window) {
    window.slowPasses = (window.slowPasses + 1) % window.slowness;
    return window.slowPasses == 0;
}

// The pass's controls: the pause and the speed, and while a replay plays,
// whether the script's pass steps. The user's pause and speed hold the
// script too; O steps at once whatever the speed.
PassControls PassControlsFor(App& app) {
    PassControls controls = ControlsFor(app.session.play);
    if (!app.session.play.paused && !SlowMotionSteps(app.window)) {
        controls.step = false;
    }
    if (controls.step && ReplayHasPass(app.replay)) {
        controls.step = TakeReplayPass(app.replay);
    }
    return controls;
}

// A paused frame in which neither Left nor Right is held prepares a few
// passes of the way back, so that going back finds them as copies: about
// a millisecond each at crowd 200, the stretch before the last step ready
// within a second of pausing.
void PrepareWayBackWhilePaused(App& app) {
    constexpr int64_t kStopsPerFrame = 4;
    constexpr uint32_t kStepKeys = 1u << static_cast<int32_t>(KeyAction::StepBack) |
                                   1u << static_cast<int32_t>(KeyAction::StepForward);
    if (app.session.play.paused && !IsReplaying(app.replay) &&
        (app.window.heldActions & kStepKeys) == 0) {
        PrepareSessionWayBack(app.session, kStopsPerFrame);
    }
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
std::optional<LoopEnd> RunLoopPass(App& app, Services& services) {
    if (StopRequested()) {
        return LoopEnd::StopSignal;
    }
    if (CloseRequested(services)) {
        return LoopEnd::CloseRequest;
    }
    UpdateFrameTimer(app.timer, services);
    ShowFrame(app, services);
    if (!app.window.scrubbing) {
        const PassControls controls = PassControlsFor(app);
        RunPass(app.session, controls);
        RecordPass(app.recording, controls.step);
        app.session.play.stepOnce = false;
    }
    HandleInput(app, services);
    PrepareWayBackWhilePaused(app);
    KeepRecording(app, services);
    if (IsKeyDown(services, kKeyEscape) != 0) {
        return LoopEnd::Escape;
    }
    return std::nullopt;
}

LoopEnd RunMainLoop(App& app, Services& services, int64_t passLimit) {
    for (int64_t pass = 0; pass < passLimit; ++pass) {
        if (const std::optional<LoopEnd> end = RunLoopPass(app, services)) {
            return *end;
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
// the script moves the mouse (the pointer with it) and acts on the world in
// the user's place.
void HandleInput(App& app, Services& services) {
    const bool replaying = IsReplaying(app.replay);
    PollKeyboard(services);
    PollMouse(services);
    if (replaying) {
        PlaceMouse(services, app.session.mouseX, app.session.mouseY);
        // The button counts as held while the script holds a box: when the
        // script ends, a button that is up lets go of it, one that is down
        // goes on dragging.
        app.window.leftButtonWasDown = IsGrabbing(app.session.world);
        app.window.rightButtonWasDown = IsRightButtonDown(services);
    } else if (!app.window.scrubbing) {
        FollowPointer(app, services);
    }
    const KeyReleases releases = ReadKeyReleases(services);
    const uint32_t wasHeld = app.window.heldActions;
    app.window.heldActions = 0;
    for (int32_t index = 0; index < kKeyActions; ++index) {
        const KeyAction action = static_cast<KeyAction>(index);
        // The buttons are looked at every pass; a key acts on its release.
        bool due =
            releases.released[index] || action == KeyAction::Drag || action == KeyAction::Pin;
        if (ActsWhileHeld(action)) {
            // Every frame the key is down, and once for a tap between two polls.
            app.window.heldActions |= releases.down[index] ? 1u << index : 0u;
            due =
                releases.down[index] || (releases.released[index] && (wasHeld >> index & 1u) == 0);
        }
        if (due && !(replaying && ChangesScene(action))) {
            Perform(app, services, action, releases.amount[index]);
        }
    }
    if (replaying) {
        PlayReplayCommands(app, services);
    }
}

void PlayReplayCommands(App& app, Services& services) {
    while (const ScriptCommand* command = TakeReplayCommand(app.replay)) {
        Act(app, services, *command);
    }
}

bool FinishRecording(App& app, std::FILE* err) {
    NoteWayBack(app);  // a replay ends where the window was left
    std::string error;
    if (!StopRecording(app.recording, error)) {
        ReportRecordingFailure(app.recording, error, err);
    }
    return !app.recording.failed;
}

#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/services.h"
#include "shell/app.h"

enum class LoopEnd {
    CloseRequest,  // the window was asked to close; that pass drew nothing
    StopSignal,    // SIGINT or SIGTERM came; the pass after it drew nothing
    Escape,        // Escape was down in the pass's keyboard snapshot
    PassLimit,     // the given number of passes ran (tests)
};

constexpr int64_t kNoPassLimit = INT64_MAX;

// One pass per displayed frame, until the window is closed, a stop signal
// comes or Escape is down.
LoopEnd RunMainLoop(App& app, Services& services, int64_t passLimit = kNoPassLimit);

// One pass of the main loop: the frame, the world's pass and the input.
// How the loop ends when it does, nothing while it goes on.
std::optional<LoopEnd> RunLoopPass(App& app, Services& services);

// Counts passes in windows of just over a second; framesPerSecond is the
// count of the last window closed.
void UpdateFrameTimer(FrameTimer& timer, Services& services);

// The keyboard and mouse snapshots, acted on through the key table
// (shell/keys.h): a release of Space drops a box at the mouse, the left
// button drags, the right one pins, and every other key acts on its release. What changes the
// scene is recorded. While a replay plays, only the keys that leave the
// scene alone (P, O, D, H, F1, F12) are the user's: the script moves the
// mouse and runs its commands up to its next pass.
void HandleInput(App& app, Services& services);

// Runs a replay's commands up to its next pass through the session, as
// tumble-sim runs them: the scene's commands recorded as the user's input
// would be, dump and hash printed on standard output, and each shot written
// from the next frame. The program calls it once before the first pass for
// the script's opening commands; HandleInput calls it after that.
void PlayReplayCommands(App& app, Services& services);

// Writes what is left of the recording and closes it. False when any of the
// recording could not be written (said on `err` when it happens).
bool FinishRecording(App& app, std::FILE* err);

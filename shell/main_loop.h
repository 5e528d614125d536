#pragma once

#include <cstdint>

#include "shell/app.h"
#include "shell/services.h"

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

// Counts passes in windows of just over a second; framesPerSecond is the
// count of the last window closed.
void UpdateFrameTimer(FrameTimer& timer, Services& services);

// The keyboard and mouse snapshots: a release of Space drops a box at the
// mouse, the left button drags, and the play keys (P, O, R, D, F, H or F1,
// F12) act on their release.
void HandleInput(App& app, Services& services);

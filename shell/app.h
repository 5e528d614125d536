#pragma once

// Everything the program keeps from pass to pass besides the services: the
// session (the world, its lights, the play state, the mouse and the passes),
// the frame timer, and the session's replay and recording. A test starts
// afresh by making a new App.

#include <cstdint>
#include <string>
#include <vector>

#include "session/recording.h"
#include "session/replay.h"
#include "session/session.h"

struct FrameTimer {
    double elapsed = 0;           // milliseconds since lastMark, worked out every pass
    double lastMark = 0;          // clock reading that opened the current counting window
    int32_t frames = 0;           // passes counted in the current window
    int32_t framesPerSecond = 0;  // passes in the last completed window
};

// What only the window has besides the shared play state.
struct WindowState {
    bool help = false;                   // the key overlay is drawn over the frame
    bool screenshotPending = false;      // the next frame is also written to a file
    bool leftButtonWasDown = false;      // as the previous mouse poll saw it
    bool rightButtonWasDown = false;     // likewise
    double frameMilliseconds = 0;        // how long the last frame took to draw
    std::string screenshotFolder;        // where F12 writes; empty: the current folder
    std::vector<std::string> shotFiles;  // a replay's shots: the next frame goes to each
    std::string note;                    // a short word on what was refused, shown a while
    uint32_t noteUntil = 0;              // the clock when the note goes
    // Gone back in time with Left or Right: no pass runs until an input
    // takes over from the pass shown.
    bool scrubbing = false;
    uint32_t heldActions = 0;  // bit per KeyAction: its key was down at the last poll
    // Slow motion: at speed 1/slowness the world steps on every slowness-th
    // pass and idles in between; the recording keeps the idle passes.
    int32_t slowness = 1;    // 1, 2, 4 or 8
    int32_t slowPasses = 0;  // passes run at this speed, modulo slowness
};

struct App {
    Session session;
    FrameTimer timer;
    WindowState window;
    Replay replay;        // the script being played, if any
    Recording recording;  // where the session is written, if anywhere
};

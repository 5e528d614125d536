#pragma once

// The frame the window would show, drawn offscreen: on SDL's dummy video
// driver with the software renderer, so the pixels are the same on every
// machine. tumble-sim's pictures, the frame benchmarks and the frame tests
// all start it here.

#include <cstdint>
#include <string>

#include "platform/services.h"
#include "render/render_frame.h"
#include "session/session.h"

struct OffscreenFrame {
    ScriptedInput input;  // nobody types: the script or the test moves the scene
    Services services;

    OffscreenFrame() = default;
    OffscreenFrame(const OffscreenFrame&) = delete;
    OffscreenFrame& operator=(const OffscreenFrame&) = delete;
    ~OffscreenFrame() { StopServices(services); }
};

// The services started offscreen with a width × height screen and the
// shadow texture made. False, with the reason in `error`, when they cannot.
bool StartOffscreenFrame(OffscreenFrame& frame, int32_t width, int32_t height, std::string& error);

// Draws the session's frame as the window would show it: in the session's
// view, with the marker at its mouse kept on the screen, as the window's
// pointer is. The other options are the caller's.
void DrawSessionFrame(const Session& session, int32_t framesPerSecond, Services& services,
                      FrameOptions options = {});

#pragma once

// Everything the program keeps from pass to pass besides the services: the
// world, its lights and shadows, and the frame timer. A test starts afresh by
// making a new App.

#include <cstdint>

#include "lighting/lighting.h"
#include "world/world.h"

struct FrameTimer {
    double elapsed = 0;           // milliseconds since lastMark, worked out every pass
    double lastMark = 0;          // clock reading that opened the current counting window
    int32_t frames = 0;           // passes counted in the current window
    int32_t framesPerSecond = 0;  // passes in the last completed window
};

struct App {
    World world;
    Lighting lighting;
    FrameTimer timer;
};

#pragma once

// The global settings, fixed at start-up but for Gravity and Rest, which the
// sandbox switches (dynamics/gravity.h, dynamics/rest.h). Tests may change
// them on a fresh world to look at the other modes (all pairs instead of the
// pair list, damping, another iteration count).

#include <cstdint>

#include "world/vec2.h"

struct Settings {
    float TimeStep = 0.5f;
    int32_t IterationCount = 10;  // relaxation and collision passes per step
    Vec2 Gravity = {0, 0};
    float Damping = 0.0f;
    Vec2 ScreenSize = {640, 480};
    int8_t UsePairList = 1;  // not 0: candidate pairs are found once per step
    int16_t PairMargin = 2;  // pixels by which the pair list grows every body's bounds
    float SpeedLimit = 50.0f;
    float OutlineScale = 1.0f;
    int16_t StickDrawMode = 1;  // 0 colours every stick by its role
    int8_t Rest = 1;  // not 0: quiet bodies come to rest while gravity is on (dynamics/rest.h)
};

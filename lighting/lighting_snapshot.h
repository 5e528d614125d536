#pragma once

// A snapshot of the lights and the shadow geometry of the last rebuild: what
// a dump, a hash and a frame show of them, and what decides the lights'
// future. The outlines are left out: every rebuild makes them afresh from the
// world before anything reads them.

#include <cstdint>
#include <vector>

#include "lighting/lighting.h"

// A shadow triangle's corners, which are always whole numbers.
struct ShadowState {
    int32_t x1;
    int32_t y1;
    int32_t x2;
    int32_t y2;
    int32_t x3;
    int32_t y3;
};

struct LightingSnapshot {
    std::vector<Light> lights;
    int32_t lightCursor = -1;  // the current light's place, -1 for none
    std::vector<ShadowState> shadows;
    int32_t shadowCursor = -1;
    std::vector<ShadowCaster> casters;
    bool softShadows = false;
};

void TakeLightingSnapshot(const Lighting& lighting, LightingSnapshot& snapshot);

// Rebuilds the lights and shadows in place; the outlines are emptied.
void RestoreLightingSnapshot(Lighting& lighting, const LightingSnapshot& snapshot);

std::size_t LightingSnapshotBytes(const LightingSnapshot& snapshot);

#pragma once

// Lights and the shadow geometry cast from them: the light registry, and the
// outline snapshots and shadow triangles rebuilt after every step.

#include <cstdint>
#include <vector>

#include "world/ordered_list.h"
#include "world/vec2.h"

// A coloured point light: full colour at (x, y), falling off to black at the
// radius.
struct Light {
    float x;
    float y;
    int16_t red;
    int16_t green;
    int16_t blue;
    int16_t radius;
};

// An outline holds at most this many points, in slots 1 … 999.
constexpr int32_t kMaxOutlinePoints = 999;

// A snapshot of one body's outline, taken once per pass.
struct OutlinePolygon {
    const Vec2* points;  // slots 1 … count (slot 0 is never used), held in Lighting::outlinePoints
    int32_t count;
    Vec2 centre;  // the body's centre at the time of the snapshot
};

// A filled triangle with whole-number corners.
struct ShadowSegment {
    Vec2 p1;
    Vec2 p2;
    Vec2 p3;
};

// One point the rebuild cast shadows from: a light, or with soft shadows one
// sample of the small disc around it. Its triangles follow those of the
// casters before it in the shadow registry.
struct ShadowCaster {
    int32_t light;  // the light's place in the registry, from 0
    float dx;       // where the shadows were cast from, relative to the light
    float dy;
    int32_t triangles;
};

struct Lighting {
    OrderedList<ShadowSegment> shadowSegments;
    OrderedList<Light> lights;
    OrderedList<OutlinePolygon> outlinePolygons;
    // Soft shadows: every light casts from each point of its penumbra disc
    // (kPenumbraSamples of them) instead of from its centre alone.
    bool softShadows = false;
    // The casters of the last rebuild, in the order their triangles were
    // made: each light's in registry order. Empty before the first rebuild
    // and after a restart.
    std::vector<ShadowCaster> casters;
    // The points of every outline, one after another; kept from pass to pass
    // so that a rebuild allocates nothing once it has grown.
    std::vector<Vec2> outlinePoints;
};

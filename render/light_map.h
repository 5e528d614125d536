#pragma once

// The light map: each light's gradient over the region it reaches, weighted
// pixel by pixel by its share of the light, added up in memory and shown in
// one copy. A light reaches exactly its visibility polygon
// (lighting/visibility.h), so there is no layer to switch to per light and no
// shadow to cut out, and a light inside a box lights only that box's inside.
// With soft shadows the penumbra fins shade the lit side of every hard edge.

#include <cstdint>
#include <vector>

#include "lighting/lighting.h"
#include "lighting/visibility.h"
#include "platform/services.h"

// The part of the screen one light's gradient covers: x in left … right − 1,
// y in top … bottom − 1.
struct MapRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Storage kept from frame to frame, so that once grown a frame allocates nothing.
struct LightMap {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> sums;     // red, green, blue per pixel, in 1 / 255 levels
    std::vector<uint32_t> image;    // the map as shown, 0xRRGGBB
    std::vector<uint8_t> coverage;  // the current light's share of each pixel of its rect, of 255
    MapRect rect;
    std::vector<double> crossings;
    std::vector<Vec2> fin;
    std::vector<PenumbraFin> fins;
    Visibility visibility;
};

// The whole lit scene through the map: every light over the region it
// reaches, softened by its fins with soft shadows, then the map copied onto
// the back buffer. A light the last rebuild did not see (none before the
// first, none after a restart) reaches its whole square, as it shows no
// shadows either.
void DrawLightMap(LightMap& map, const Lighting& lighting, Services& services);

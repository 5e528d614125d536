#pragma once

// The light map: every light's lit region, filled with its gradient and added
// up in memory, then shown in one copy. A light reaches exactly its
// visibility polygon (lighting/visibility.h), so there is no layer to switch
// to per light and no shadow to cut out, and a light inside a box lights only
// the inside of that box.

#include <cstdint>
#include <vector>

#include "lighting/lighting.h"
#include "lighting/visibility.h"
#include "platform/services.h"

// Every caster's share of its light is a whole multiple of 1 / kShareUnit
// (840 is divisible by 1 … 8), so the sums stay exact until the last step.
constexpr uint32_t kShareUnit = 840;

struct LightMap {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> sums;   // red, green, blue per pixel, in kShareUnit units
    std::vector<uint32_t> image;  // the map as shown, 0xRRGGBB
    std::vector<double> crossings;
    Visibility visibility;
};

// Adds the gradient of the light at `place` over the region it reaches from
// `from` (the light, or one point of its penumbra), weighted by share /
// kShareUnit. The gradient is the one in the light's sprite, placed `from`
// minus its radius as a copy of the sprite would place it.
void AddLitRegion(LightMap& map, const Services& services, const Lighting& lighting,
                  const Light& light, int32_t place, Vec2 from, bool withOutlines, uint32_t share);

// The whole lit scene through the map: every light, each of its casters
// weighted by its share, then the map copied onto the back buffer.
void DrawLightMap(LightMap& map, const Lighting& lighting, Services& services);

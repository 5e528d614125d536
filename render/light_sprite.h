#pragma once

#include <cstdint>

#include "lighting/light.h"
#include "platform/services.h"

// Each light's gradient is kept in the sprite of its place in the registry:
// the mouse's light (place 0) in sprite 1, the dropped lights in the sprites
// after it. Lights leave the registry last first, so a place and its sprite
// always go together.
constexpr int32_t kFirstLightSprite = 1;
constexpr int32_t kLastLightSprite = kFirstLightSprite + kMaxDroppedLights;
constexpr int32_t LightSprite(int32_t place) {
    return kFirstLightSprite + place;
}

// Makes the light's gradient in that sprite: 2R × 2R pixels in texture mode,
// full colour at (R, R), falling off to black at distance R. Written pixel by
// pixel into the sprite's memory, then uploaded once when first drawn.
void DrawLightSprite(Services& services, const Light& light, int32_t sprite);

// Brings the light sprites in line with the registry before a frame: a light
// whose sprite is missing or holds another gradient (its colour or radius
// changed, or the place belonged to a light since removed) gets its own
// drawn, and the sprites of places no light holds any more are freed.
void UpdateLightSprites(Services& services, const Lighting& lighting);

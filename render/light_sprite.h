#pragma once

#include "lighting/lighting.h"
#include "platform/services.h"

// Makes the light's gradient sprite: 2R × 2R pixels in texture mode, full
// colour at (R, R), falling off to black at distance R. Written pixel by pixel
// into the sprite's memory, then uploaded once when first drawn.
void DrawLightSprite(Services& services, const Light& light);

// Brings the light sprites in line with the registry before a frame: a light
// whose sprite is missing or holds another gradient (its colour or radius
// changed, or the number belonged to a light since removed) gets its own
// drawn, and the dropped-light sprites that no light uses any more are freed.
void UpdateLightSprites(Services& services, const Lighting& lighting);

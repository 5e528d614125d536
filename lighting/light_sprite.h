#pragma once

#include "lighting/lighting.h"
#include "shell/services.h"

// Makes the light's gradient sprite: 2R × 2R pixels in texture mode, full
// colour at (R, R), falling off to black at distance R. Written pixel by pixel
// into the sprite's memory, then uploaded once when first drawn.
void DrawLightSprite(Services& services, const Light& light);

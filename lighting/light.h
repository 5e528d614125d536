#pragma once

#include <cstdint>

#include "lighting/lighting.h"

// Adds a light at (x, y) with its colour at full intensity, the radius of its
// lit disc and the number of the sprite that will hold its gradient. The
// colour, radius and sprite keep the low 16 bits of their arguments. The new
// light becomes the registry's current element. The gradient sprite itself is
// drawn by the window's code (DrawLightSprite), from GradientColour.
Light* CreateLight(Lighting& lighting, int32_t x, int32_t y, int32_t radius, int32_t red,
                   int32_t green, int32_t blue, int32_t sprite);

// The colour of pixel (px, py) of the light's 2R × 2R gradient sprite, as
// red + green × 256 + blue × 65536: full colour at (R, R), falling off linearly
// with the distance from it to black at distance R.
uint32_t GradientColour(const Light& light, int32_t px, int32_t py);

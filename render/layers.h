#pragma once

#include "lighting/lighting.h"
#include "shell/services.h"

// The two lowest layers of a frame, drawn right after the clear.

// Each light's gradient sprite, copied opaque and centred on the light.
void DrawLightLayer(const Lighting& lighting, Services& services);

// Every shadow triangle in the near-black of textured quad 0, submitted in
// both corner orders so that it shows once whichever way it winds.
void DrawShadowLayer(const Lighting& lighting, Services& services);

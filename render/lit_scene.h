#pragma once

#include "lighting/lighting.h"
#include "platform/services.h"

// The lit scene under the outlines and the text: each light's gradient where
// it reaches. With the mouse's light alone, outside every outline, and hard
// shadows, the gradient goes straight onto the back buffer and the shadows
// are filled in the near-black of textured quad 0 over it. Otherwise every
// light adds its gradient over the region it reaches (its visibility
// polygon, softened by penumbra fins with soft shadows) into the light map
// (render/light_map.h), so that overlapping lights add up and only what
// every light misses stays black.
void DrawLitScene(const Lighting& lighting, Services& services);

// The two lowest layers of the single-light frame, drawn right after the clear.

// Each light's gradient sprite, copied opaque and centred on the light.
void DrawLightLayer(const Lighting& lighting, Services& services);

// Every shadow triangle in the near-black of textured quad 0, submitted in
// both corner orders so that it shows once whichever way it winds.
void DrawShadowLayer(const Lighting& lighting, Services& services);

// Sprite 0, one pixel of colour (1, 1, 1), and textured quad 0 made from it:
// the near-black fill of the shadow triangles.
void CreateShadowTexture(Services& services);

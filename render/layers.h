#pragma once

#include "lighting/lighting.h"
#include "platform/services.h"

// The lit scene under the outlines and the text: each light's gradient with
// its shadows cut out. With the mouse's light alone and hard shadows the
// gradient goes straight onto the back buffer and the shadows are filled in
// the near-black of textured quad 0 over it. Otherwise every caster (a light,
// or one point of its penumbra) is drawn into a layer of its own, gradient
// and then its shadows in black, and the layers are added onto the back
// buffer, a light's penumbra layers each weighted by their share, so that
// overlapping lights add up and only what every light misses stays black.
void DrawLitScene(const Lighting& lighting, Services& services);

// The two lowest layers of the single-light frame, drawn right after the clear.

// Each light's gradient sprite, copied opaque and centred on the light.
void DrawLightLayer(const Lighting& lighting, Services& services);

// Every shadow triangle in the near-black of textured quad 0, submitted in
// both corner orders so that it shows once whichever way it winds.
void DrawShadowLayer(const Lighting& lighting, Services& services);

// The layer the lit scene draws its casters into, one after another.
constexpr int32_t kLightLayer = 0;
// Textured quad 1: the opaque black that cuts a light's shadows out of its layer.
constexpr int32_t kCutOutQuad = 1;

// Sprite 0, one pixel of colour (1, 1, 1), and textured quad 0 made from it:
// the near-black fill of the shadow triangles. Black itself would be
// transparent, so the black that cuts shadows out of a light's own layer is
// textured quad 1, a plain fill.
void CreateShadowTexture(Services& services);

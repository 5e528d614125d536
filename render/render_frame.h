#pragma once

#include <cstdint>

#include "lighting/lighting.h"
#include "shell/services.h"
#include "world/world.h"

// Draws one frame and presents it: on black, the light gradients, the shadow
// triangles, the stick lines, the red mouse marker and the two text lines
// "fps : N" and "e : N" (bodies, the world body included). Reads the world
// and the lighting as the previous pass left them; changes neither.
void RenderFrame(const World& world, const Lighting& lighting, int32_t framesPerSecond,
                 Services& services);

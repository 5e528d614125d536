#pragma once

#include <cstdint>

#include "lighting/lighting.h"
#include "world/world.h"

// One pass of the world: a step, the shadow rebuild from the lights where
// they stand, then the current light moves to the mouse. So the shadows drawn
// next always belong to the light position of one pass earlier.
void UpdateWorld(World& world, Lighting& lighting, int32_t mouseX, int32_t mouseY);

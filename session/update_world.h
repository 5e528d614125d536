#pragma once

#include <cstdint>

#include "lighting/lighting.h"
#include "world/world.h"

// What a pass does besides the shadow rebuild: a paused window runs passes
// without the step, and a frozen light stays where it is.
struct PassControls {
    bool step = true;
    bool lightFollows = true;
};

// One pass of the world: a step, the shadow rebuild from the lights where
// they stand, then the mouse's light (the registry's first) moves to the mouse. So the shadows
// drawn next always belong to the light position of one pass earlier. A grabbed particle is aimed
// at the mouse before the step, and while one is held the light stays where it is, so that it does
// not sit inside the box dragged.
void UpdateWorld(World& world, Lighting& lighting, int32_t mouseX, int32_t mouseY,
                 const PassControls& controls = {});

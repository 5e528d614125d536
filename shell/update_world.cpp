#include "shell/update_world.h"

#include "dynamics/step.h"
#include "lighting/shadows.h"

void UpdateWorld(World& world, Lighting& lighting, int32_t mouseX, int32_t mouseY) {
    StepWorld(world);
    BuildShadows(world, lighting);
    // After the rebuild's walk the current light is the last one.
    if (Light* light = lighting.lights.Current()) {
        light->x = static_cast<float>(mouseX);
        light->y = static_cast<float>(mouseY);
    }
}

#include "dynamics/gravity.h"

#include "dynamics/rest.h"

void SetGravity(World& world, bool on) {
    SetVec2(world.settings.Gravity, 0, on ? 1 : 0);
    world.particles.Reset();
    while (Particle* p = world.particles.Next()) {
        p->acceleration = world.settings.Gravity;
    }
    WakeAllBodies(world);
}

bool GravityIsOn(const World& world) {
    return world.settings.Gravity.x != 0 || world.settings.Gravity.y != 0;
}

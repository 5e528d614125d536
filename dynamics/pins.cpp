#include "dynamics/pins.h"

#include "dynamics/drag.h"
#include "dynamics/rest.h"

void PinBody(World& world, Body& body) {
    if (&body == world.worldBody || body.pinned) {
        return;
    }
    if (world.grab.particle != nullptr && world.grab.particle->body == &body) {
        ReleaseGrab(world);
    }
    WakeAllBodies(world);
    body.ownMass = body.mass;
    body.mass = 0;
    body.pinned = true;
    body.quietSteps = 0;
    // Where it stands, with no motion left to carry on when it is unpinned.
    for (int32_t slot = 1; slot <= body.particleCount; ++slot) {
        Particle& p = *BodyParticle(body, slot);
        p.previous = p.position;
    }
}

void UnpinBody(World& world, Body& body) {
    if (!body.pinned) {
        return;
    }
    body.mass = body.ownMass;
    body.pinned = false;
    WakeAllBodies(world);
}

bool TogglePinAt(World& world, int32_t x, int32_t y) {
    Body* body = BodyAt(world, x, y);
    if (body == nullptr) {
        return false;
    }
    if (body->pinned) {
        UnpinBody(world, *body);
    } else {
        PinBody(world, *body);
    }
    return true;
}

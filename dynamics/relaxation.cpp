#include "dynamics/relaxation.h"

#include <cmath>

void RelaxSticks(World& world) {
    world.sticks.Reset();
    while (Stick* stick = world.sticks.Next()) {
        RelaxStick(*stick);
    }
}

void RelaxStick(const Stick& stick) {
    Particle* a = stick.particleA;
    Particle* b = stick.particleB;
    float dx = static_cast<float>(b->position.x - a->position.x);
    float dy = static_cast<float>(b->position.y - a->position.y);
    float length = std::sqrt(dx * dx + dy * dy);
    // Positive when stretched, negative when compressed. Two coincident
    // ends give no direction to push along (and two ends a hair apart
    // near the origin would give an infinite ratio): such a stick waits
    // until its ends part.
    float ratio = (length - stick.restLength) / length;
    if (length == 0 || !std::isfinite(ratio)) {
        return;
    }
    // Movability is the particle's own body's, not the stick owner's: the
    // braces belong to the world body and still move the box's corners.
    if (a->body->mass != 0.0f) {
        a->position.x += dx * ratio / 2 * stick.stiffness;
        a->position.y += dy * ratio / 2 * stick.stiffness;
    }
    if (b->body->mass != 0.0f) {
        b->position.x -= dx * ratio / 2 * stick.stiffness;
        b->position.y -= dy * ratio / 2 * stick.stiffness;
    }
}

float StickLengthError(const Stick& stick) {
    float dx = static_cast<float>(stick.particleB->position.x - stick.particleA->position.x);
    float dy = static_cast<float>(stick.particleB->position.y - stick.particleA->position.y);
    return std::sqrt(dx * dx + dy * dy) - stick.restLength;
}

#pragma once

// The only code that creates particles, sticks, bodies and walls. Every
// record is added with the registry's Add, so it goes right after the current
// element; in the running program that is always the end of the registry.

#include <cstdint>

#include "world/world.h"

void CreateWorldBody(World& world);

Body* CreateBody(World& world, float mass, float friction);

// Null when the body's 999 particle slots are full (nothing is created then).
Particle* CreateParticle(World& world, Body* body, float x, float y);

// Null when a and b are the same particle, when either is missing, or when the
// owner's 999 stick slots are full. Two distinct particles at one position are
// accepted.
Stick* CreateStick(World& world, Body* body, Particle* a, Particle* b, float stiffness);

// Null, and nothing created, when (dx, dy) is (0, 0): such a wall has no normal.
Wall* CreateWall(World& world, int32_t x, int32_t y, float dx, float dy);

// Four particles (top-left, top-right, bottom-right, bottom-left), four sides
// owned by the box (bottom, right, top, left) and two cross braces, owned by
// the world body when bracesToWorld > 0 and by the box otherwise.
void CreateBox(World& world, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t mass,
               double friction, double stiffness, int32_t bracesToWorld);

// What a release of Space does: a 40 × 40 box of mass 1, friction 1 and
// stiffness 1, centred on the mouse, braces owned by the world body.
void DropBox(World& world, int32_t mouseX, int32_t mouseY);

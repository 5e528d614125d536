#pragma once

// Small scene builders shared by the core tests.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "world/factories.h"
#include "world/world.h"

// A box with the given corners whose braces the world body holds, as Space makes them.
inline Body* AddBox(World& world, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                    int32_t mass = 1) {
    CreateBox(world, x1, y1, x2, y2, mass, 1.0, 1.0, 1);
    return world.bodies.Current();
}

// A particle that moved from `from` to `at` since the start of the step.
inline Particle* AddMovedParticle(World& world, Body* body, Vec2 from, Vec2 at) {
    Particle* p = CreateParticle(world, body, 0, 0);
    p->position = at;
    p->previous = from;
    return p;
}

inline Particle* AddParticleAt(World& world, Body* body, Vec2 at) {
    return AddMovedParticle(world, body, at, at);
}

// Turns every body but the world body about (cx, cy) by `angle` radians,
// moving only the positions, as a spin of one step would.
inline void TurnBodiesAbout(World& world, double cx, double cy, double angle) {
    world.particles.Reset();
    while (Particle* p = world.particles.Next()) {
        if (p->body->id == kWorldBodyId) {
            continue;
        }
        const double dx = p->position.x - cx;
        const double dy = p->position.y - cy;
        p->position = {cx + dx * std::cos(angle) - dy * std::sin(angle),
                       cy + dx * std::sin(angle) + dy * std::cos(angle)};
    }
}

// Moves a body's particles by (dx, dy), keeping them at rest.
inline void ShiftBody(Body* body, double dx, double dy) {
    for (int32_t i = 1; i <= body->particleCount; ++i) {
        Particle* p = BodyParticle(*body, i);
        p->position = {p->position.x + dx, p->position.y + dy};
        p->previous = p->position;
    }
}

#define EXPECT_VEC_EQ(v, ex, ey)       \
    do {                               \
        EXPECT_DOUBLE_EQ((v).x, (ex)); \
        EXPECT_DOUBLE_EQ((v).y, (ey)); \
    } while (0)

#define EXPECT_VEC_NEAR(v, ex, ey, tolerance)  \
    do {                                       \
        EXPECT_NEAR((v).x, (ex), (tolerance)); \
        EXPECT_NEAR((v).y, (ey), (tolerance)); \
    } while (0)

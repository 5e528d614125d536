#pragma once

// Scenes of the sandbox (gravity, shapes, pins, rest) shared by its tests,
// run through the core as tumble-sim runs them: one StepWorld per pass.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "dynamics/gravity.h"
#include "dynamics/step.h"
#include "world/factories.h"
#include "world/shapes.h"
#include "world/world.h"

inline void RunSteps(World& world, int32_t steps) {
    for (int32_t i = 0; i < steps; ++i) StepWorld(world);
}

// The largest distance any particle moves in one step.
inline double LargestStepMotion(World& world) {
    std::vector<Vec2> before;
    for (const Particle& p : world.particles) before.push_back(p.position);
    StepWorld(world);
    double largest = 0;
    size_t i = 0;
    for (const Particle& p : world.particles) {
        const Vec2& q = before[i++];
        largest = std::max(largest, std::hypot(p.position.x - q.x, p.position.y - q.y));
    }
    return largest;
}

// A fresh world with gravity on.
inline void StartWorldWithGravity(World& world) {
    StartWorld(world);
    SetGravity(world, true);
}

// Eight boxes dropped one by one at (320, 60), each given 90 steps to land on
// the one before. Returns the top box.
inline Body* BuildColumn(World& world, int32_t boxes = 8) {
    Body* top = nullptr;
    for (int32_t i = 0; i < boxes; ++i) {
        DropBox(world, 320, 60);
        top = world.bodies.Current();
        RunSteps(world, 90);
    }
    return top;
}

// `count` bodies dropped one every `stepsApart` steps from y = 40 over the
// middle 200 pixels of the screen, cycling through `shapes`.
inline void BuildPile(World& world, int32_t count, const std::vector<Shape>& shapes,
                      int32_t stepsApart = 10) {
    for (int32_t i = 0; i < count; ++i) {
        DropShape(world, shapes[i % shapes.size()], 220 + (i * 37) % 200, 40);
        RunSteps(world, stepsApart);
    }
}

// Twice the signed area of the body's outline, its corners in slot order:
// positive while they go round clockwise on the screen (y down), as made.
inline double TwiceSignedArea(const Body& body) {
    double sum = 0;
    for (int32_t i = 1; i <= body.particleCount; ++i) {
        const Vec2& a = BodyParticle(body, i)->position;
        const Vec2& b = BodyParticle(body, i % body.particleCount + 1)->position;
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

// Whether every corner turns the way the body was made (clockwise): convex
// and not inside out.
inline bool IsConvexAsMade(const Body& body) {
    const int32_t n = body.particleCount;
    for (int32_t i = 1; i <= n; ++i) {
        const Vec2& a = BodyParticle(body, i)->position;
        const Vec2& b = BodyParticle(body, i % n + 1)->position;
        const Vec2& c = BodyParticle(body, (i + 1) % n + 1)->position;
        if ((b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x) <= 0)
            return false;
    }
    return true;
}

// The largest relative difference of a side's length from its rest length.
inline double WorstSideStrain(const Body& body) {
    double worst = 0;
    for (int32_t slot = 1; slot <= body.stickCount; ++slot) {
        const Stick& s = *BodyStick(body, slot);
        const Vec2& a = s.particleA->position;
        const Vec2& b = s.particleB->position;
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        worst = std::max(worst, std::fabs(length - s.restLength) / s.restLength);
    }
    return worst;
}

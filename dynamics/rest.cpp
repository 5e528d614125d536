#include "dynamics/rest.h"

#include "dynamics/gravity.h"
#include "dynamics/relaxation.h"

namespace {

bool IsHeld(const World& world, const Body& body) {
    return world.grab.particle != nullptr && world.grab.particle->body == &body;
}

// A body the rule counts: it has particles and is neither immovable nor pinned nor resting.
bool IsAwake(const Body& body) {
    return body.mass != 0 && body.particleCount > 0;
}

const Vec2& QuietCorner(const Body& body, int32_t which) {
    return BodyParticle(body, which == 1 && body.particleCount >= 2 ? 2 : 1)->position;
}

bool Strayed(const Vec2& now, const Vec2& from) {
    const double dx = now.x - from.x;
    const double dy = now.y - from.y;
    return dx * dx + dy * dy > kRestDrift * kRestDrift;
}

// Step 1 for one body: one that moved starts its count afresh from where it is.
void CountQuietStep(const World& world, Body& body) {
    const bool moved = IsHeld(world, body) || Strayed(QuietCorner(body, 0), body.quietFrom[0]) ||
                       Strayed(QuietCorner(body, 1), body.quietFrom[1]);
    if (moved) {
        body.quietFrom[0] = QuietCorner(body, 0);
        body.quietFrom[1] = QuietCorner(body, 1);
        body.quietSteps = 0;
    } else {
        body.quietSteps = body.quietSteps + 1;
    }
}

void CountQuietSteps(World& world) {
    world.bodies.Reset();
    while (Body* body = world.bodies.Next()) {
        if (IsAwake(*body)) {
            CountQuietStep(world, *body);
        }
    }
}

// A body that moved in step 1 is awake with a count of 0; one woken in step 2
// has a count of 0 too but is not in the pair list with another resting body.
bool Moved(const Body& body) {
    return IsAwake(body) && body.quietSteps == 0;
}

void WakeTouchedByMoving(World& world) {
    for (const BodyPair& pair : world.bodyPairs) {
        if (pair.first->resting && Moved(*pair.second)) {
            WakeBody(*pair.first);
        } else if (pair.second->resting && Moved(*pair.first)) {
            WakeBody(*pair.second);
        }
    }
}

// The sticks joining two of the body's corners (its sides, then its braces,
// in registry order) relaxed kRestShapePasses times, so that the body rests
// in its own shape rather than as the last pushes of the pile left it.
// Only the first kMaxRestShapeSticks of them are taken.
void TrueUpShape(const World& world, const Body& body) {
    constexpr int32_t kMaxRestShapeSticks = 32;
    const Stick* own[kMaxRestShapeSticks];
    int32_t count = 0;
    for (const Stick& stick : world.sticks) {
        if (stick.particleA->body == &body && stick.particleB->body == &body &&
            count < kMaxRestShapeSticks) {
            own[count++] = &stick;
        }
    }
    for (int32_t pass = 0; pass < kRestShapePasses; ++pass) {
        for (int32_t i = 0; i < count; ++i) RelaxStick(*own[i]);
    }
}

void PutToRest(const World& world, Body& body) {
    TrueUpShape(world, body);
    body.ownMass = body.mass;
    body.mass = 0;
    body.resting = true;
    for (int32_t slot = 1; slot <= body.particleCount; ++slot) {
        Particle& p = *BodyParticle(body, slot);
        p.previous = p.position;
    }
}

void RestQuietBodies(World& world) {
    world.bodies.Reset();
    while (Body* body = world.bodies.Next()) {
        if (IsAwake(*body) && !IsHeld(world, *body) && body->quietSteps >= kRestSteps) {
            PutToRest(world, *body);
        }
    }
}

}  // namespace

bool RestRuleActs(const World& world) {
    const Settings& s = world.settings;
    return s.Rest != 0 && s.UsePairList != 0 && GravityIsOn(world);
}

void UpdateRest(World& world) {
    if (!RestRuleActs(world)) {
        return;
    }
    CountQuietSteps(world);
    WakeTouchedByMoving(world);
    RestQuietBodies(world);
}

void SetRest(World& world, bool on) {
    world.settings.Rest = on ? 1 : 0;
    WakeAllBodies(world);
}

void WakeBody(Body& body) {
    if (!body.resting) {
        return;
    }
    body.mass = body.ownMass;
    body.resting = false;
    body.quietSteps = 0;
}

void WakeAllBodies(World& world) {
    world.bodies.Reset();
    while (Body* body = world.bodies.Next()) {
        WakeBody(*body);
    }
}

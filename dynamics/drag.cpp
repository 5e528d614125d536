#include "dynamics/drag.h"

#include <cmath>

#include "dynamics/rest.h"

namespace {

// Whether (x, y) lies inside the polygon of the body's particles, by the
// even-odd rule: a ray to the right crosses its sides an odd number of times.
bool OutlineHolds(const Body& body, double x, double y) {
    bool inside = false;
    const int32_t count = body.particleCount;
    for (int32_t i = 1, j = count; i <= count; j = i++) {
        const Vec2& a = BodyParticle(body, i)->position;
        const Vec2& b = BodyParticle(body, j)->position;
        if ((a.y > y) != (b.y > y)) {
            const double crossX = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x < crossX) {
                inside = !inside;
            }
        }
    }
    return inside;
}

double DistanceSquared(const Vec2& p, double x, double y) {
    const double dx = p.x - x;
    const double dy = p.y - y;
    return dx * dx + dy * dy;
}

// The last body of the registry that `counts` admits and whose outline holds (x, y).
template <typename Counts>
Body* LastBodyHolding(const World& world, double x, double y, Counts counts) {
    Body* found = nullptr;
    for (const Body& body : world.bodies) {
        if (&body != world.worldBody && counts(body) && body.particleCount >= 3 &&
            OutlineHolds(body, x, y)) {
            found = const_cast<Body*>(&body);
        }
    }
    return found;
}

}  // namespace

Body* BodyUnder(const World& world, double x, double y) {
    return LastBodyHolding(world, x, y,
                           [](const Body& body) { return body.mass != 0 || body.resting; });
}

Body* BodyAt(const World& world, double x, double y) {
    return LastBodyHolding(world, x, y, [](const Body&) { return true; });
}

bool GrabAt(World& world, int32_t x, int32_t y) {
    ReleaseGrab(world);
    Body* body = BodyUnder(world, x, y);
    if (body == nullptr) {
        return false;
    }
    WakeBody(*body);
    Particle* nearest = BodyParticle(*body, 1);
    for (int32_t slot = 2; slot <= body->particleCount; ++slot) {
        Particle* p = BodyParticle(*body, slot);
        if (DistanceSquared(p->position, x, y) < DistanceSquared(nearest->position, x, y)) {
            nearest = p;
        }
    }
    world.grab.particle = nearest;
    AimGrab(world, x, y);
    return true;
}

void ReleaseGrab(World& world) {
    world.grab = Grab{};
}

bool IsGrabbing(const World& world) {
    return world.grab.particle != nullptr;
}

void AimGrab(World& world, int32_t x, int32_t y) {
    SetVec2(world.grab.aim, x, y);
}

void PullGrabbedParticle(World& world) {
    Particle* p = world.grab.particle;
    if (p == nullptr) {
        return;
    }
    const double dx = world.grab.aim.x - p->position.x;
    const double dy = world.grab.aim.y - p->position.y;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (!(distance > 0) || !std::isfinite(distance)) {
        return;  // already there, or a position no pull can mend
    }
    const double share = distance > kMaxDragPerPass ? kMaxDragPerPass / distance : 1.0;
    p->position.x = p->position.x + dx * share;
    p->position.y = p->position.y + dy * share;
}

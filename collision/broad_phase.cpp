#include "collision/broad_phase.h"

#include "collision/narrow_phase.h"

namespace {

Vec2 Grown(const Vec2& corner, int32_t margin) { return {corner.x + margin, corner.y + margin}; }

bool GrownBoundsOverlap(const Body& a, const Body& b, int32_t m) {
    return BoundsOverlap(Grown(a.boundsMin, -m), Grown(a.boundsMax, m), Grown(b.boundsMin, -m),
                         Grown(b.boundsMax, m));
}

bool MayCollide(const Body& a, const Body& b) {
    if (a.mass == 0 && b.mass == 0) {
        return false;
    }
    return a.id != kWorldBodyId && b.id != kWorldBodyId;
}

// Visits every unordered pair of bodies once, the earlier body first, and
// calls onCandidate for those whose bounds (grown by margin) overlap. The
// inner walk goes on from the outer body to the end of the registry, and the
// cursor is put back on the outer body before the outer walk moves on.
template <typename OnCandidate>
void SearchBodyPairs(World& world, int32_t margin, OnCandidate onCandidate) {
    OrderedList<Body>& bodies = world.bodies;
    bodies.Reset();
    while (Body* a = bodies.Next()) {
        while (Body* b = bodies.Next()) {
            if (MayCollide(*a, *b) && GrownBoundsOverlap(*a, *b, margin)) {
                onCandidate(a, b);
            }
        }
        bodies.SetCurrent(a);
    }
}

}  // namespace

void AddBodyPair(World& world, Body* first, Body* second) {
    BodyPair* pair = world.bodyPairs.Append();
    pair->first = first;
    pair->second = second;
}

bool BoundsOverlap(const Vec2& minA, const Vec2& maxA, const Vec2& minB, const Vec2& maxB) {
    return IntervalDistance(minA.x, maxA.x, minB.x, maxB.x) < 0 &&
           IntervalDistance(minA.y, maxA.y, minB.y, maxB.y) < 0;
}

void ClearCollisionCounts(World& world) {
    world.sticks.Reset();
    while (Stick* stick = world.sticks.Next()) {
        stick->collisionCount = 0;
    }
}

void BuildBodyPairs(World& world) {
    ClearCollisionCounts(world);
    SearchBodyPairs(world, world.settings.PairMargin,
                    [&](Body* a, Body* b) { AddBodyPair(world, a, b); });
}

void CollidePairList(World& world) {
    const int32_t margin = world.settings.PairMargin;
    world.bodyPairs.Reset();
    while (BodyPair* pair = world.bodyPairs.Next()) {
        if (GrownBoundsOverlap(*pair->first, *pair->second, margin)) {
            CollideBodies(world, pair->first, pair->second);
        } else {
            // Not tested again in this step, even if the bodies come back.
            world.bodyPairs.RemoveCurrent();
        }
    }
}

void CollideAllPairs(World& world) {
    ClearCollisionCounts(world);
    SearchBodyPairs(world, 0, [&](Body* a, Body* b) { CollideBodies(world, a, b); });
}

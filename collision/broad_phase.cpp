#include "collision/broad_phase.h"

#include <algorithm>

#include "collision/narrow_phase.h"
#include "world/world.h"

namespace {

Vec2 Grown(const Vec2& corner, int32_t margin) { return {corner.x + margin, corner.y + margin}; }

bool GrownBoundsOverlap(const Body& a, const Body& b, int32_t m) {
    return BoundsOverlap(Grown(a.boundsMin, -m), Grown(a.boundsMax, m), Grown(b.boundsMin, -m),
                         Grown(b.boundsMax, m));
}

// The grown bounds of a body, as the pair search compares them.
SweepEntry SweepEntryOf(Body* body, int32_t order, int32_t margin) {
    return {Grown(body->boundsMin, -margin), Grown(body->boundsMax, margin), order,
            body->mass == 0, body};
}

// Two bodies may collide unless both are immovable (the world body never
// enters the sweep), and are candidates when their grown bounds overlap.
bool AreCandidates(const SweepEntry& first, const SweepEntry& second) {
    return !(first.immovable && second.immovable) &&
           BoundsOverlap(first.min, first.max, second.min, second.max);
}

// Puts the candidates into the order of the walk over all pairs: by the
// first body's place, then by the second's. A counting sort on the first
// body's place leaves only a handful of pairs per body to sort by the second.
const std::vector<CandidatePair>& InWalkOrder(BroadPhaseScratch& scratch, int32_t bodies) {
    std::vector<int32_t>& end = scratch.firstOrderEnd;
    end.assign(bodies + 1, 0);
    for (const CandidatePair& pair : scratch.candidates) ++end[pair.firstOrder + 1];
    for (int32_t order = 1; order <= bodies; ++order) end[order] += end[order - 1];
    // end[order] is now where the pairs of `order` start; filling moves it to their end.
    scratch.sorted.resize(scratch.candidates.size());
    for (const CandidatePair& pair : scratch.candidates) {
        scratch.sorted[end[pair.firstOrder]++] = pair;
    }
    auto bySecond = [](const CandidatePair& a, const CandidatePair& b) {
        return a.secondOrder < b.secondOrder;
    };
    int32_t begin = 0;
    for (int32_t order = 0; order < bodies; ++order) {
        std::sort(scratch.sorted.begin() + begin, scratch.sorted.begin() + end[order], bySecond);
        begin = end[order];
    }
    return scratch.sorted;
}

// Calls onCandidate(A, B) for every unordered pair of bodies whose bounds,
// grown by margin, overlap, in the order of a walk over all pairs: A in
// registry order and, for each A, every later B in registry order.
//
// Instead of visiting all n² pairs, the bodies are swept along x: sorted by
// the left edge of their grown bounds, each is tested only against the ones
// that start before it ends. The candidates found are then put back into the
// walk's order, and each is tested exactly as the walk would test it.
template <typename OnCandidate>
void SearchBodyPairs(World& world, int32_t margin, OnCandidate onCandidate) {
    BroadPhaseScratch& scratch = world.broadPhaseScratch;
    std::vector<SweepEntry>& sweep = scratch.sweep;
    std::vector<CandidatePair>& candidates = scratch.candidates;
    sweep.clear();
    candidates.clear();

    int32_t order = 0;
    world.bodies.Reset();
    while (Body* body = world.bodies.Next()) {
        if (body->id != kWorldBodyId) {
            sweep.push_back(SweepEntryOf(body, order, margin));
        }
        ++order;
    }
    std::sort(sweep.begin(), sweep.end(), [](const SweepEntry& a, const SweepEntry& b) {
        return a.min.x != b.min.x ? a.min.x < b.min.x : a.order < b.order;
    });
    for (std::size_t i = 0; i < sweep.size(); ++i) {
        const SweepEntry& e = sweep[i];
        // Past this point a body starts after e ends, so their x ranges are apart.
        for (std::size_t j = i + 1;
             j < sweep.size() && (sweep[j].min.x < e.max.x || sweep[j].min.x == e.min.x); ++j) {
            const SweepEntry& f = sweep[j];
            const SweepEntry& first = e.order < f.order ? e : f;
            const SweepEntry& second = e.order < f.order ? f : e;
            if (AreCandidates(first, second)) {
                candidates.push_back({first.order, second.order, first.body, second.body});
            }
        }
    }
    for (const CandidatePair& pair : InWalkOrder(scratch, order)) {
        onCandidate(pair.first, pair.second);
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

#pragma once

// The broad phase chooses the pairs of bodies the narrow phase examines by
// comparing axis-aligned bounds. In pair-list mode the candidates are found
// once per step, with every body's bounds grown by PairMargin, and re-tested
// in each pass; in all-pairs mode every pass searches all pairs with the
// bounds as they are.

#include <cstdint>
#include <vector>

#include "world/vec2.h"

struct Body;
struct World;

// Storage of the pair search, kept from step to step so that a search
// allocates nothing once it has grown.
struct SweepEntry {
    Vec2 min;  // the grown bounds
    Vec2 max;
    int32_t order;  // place in the body registry
    bool immovable;
    Body* body;
};
struct CandidatePair {
    int32_t firstOrder;
    int32_t secondOrder;
    Body* first;
    Body* second;
};
struct BroadPhaseScratch {
    std::vector<SweepEntry> sweep;
    std::vector<CandidatePair> candidates;
    std::vector<CandidatePair> sorted;   // the candidates in the order of the walk
    std::vector<int32_t> firstOrderEnd;  // by registry place: where its pairs end in `sorted`
};

void AddBodyPair(World& world, Body* first, Body* second);

// True when the rectangles share more than an edge: touching ones do not overlap.
bool BoundsOverlap(const Vec2& minA, const Vec2& maxA, const Vec2& minB, const Vec2& maxB);

void ClearCollisionCounts(World& world);

// Pair-list mode, first pass of a step: zero the counts, list the candidates.
void BuildBodyPairs(World& world);

// Pair-list mode, every pass: collide the listed pairs whose grown bounds
// still overlap, drop the others for the rest of the step.
void CollidePairList(World& world);

// All-pairs mode, every pass: zero the counts, collide every candidate at once.
void CollideAllPairs(World& world);

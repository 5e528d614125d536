#pragma once

// The broad phase chooses the pairs of bodies the narrow phase examines by
// comparing axis-aligned bounds. In pair-list mode the candidates are found
// once per step, with every body's bounds grown by PairMargin, and re-tested
// in each pass; in all-pairs mode every pass searches all pairs with the
// bounds as they are.

#include <cstdint>
#include <vector>

#include "world/scratch.h"
#include "world/vec2.h"

struct Body;
struct World;

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

#pragma once

// The rest rule. Under gravity the contacts of a stack trade small pushes
// every step, so a tower sways and a pile shimmers for ever. A body that has
// barely moved for a while therefore comes to rest: it becomes immovable
// (mass 0, its own mass kept in ownMass) until something wakes it. The rule
// acts only while gravity is on (Gravity is not (0, 0)), Settings::Rest is
// not 0 and the pair list is in use (it reads the step's pairs).
//
// A body jitters in place in a stack, by up to a few tenths of a pixel a
// step, so the rule looks at where a body stays, not at how fast it moves:
// a body is quiet while its corners 1 and 2 (corner 1 twice for a body of one
// particle), which fix where it is and how it is turned, stay within
// kRestDrift of where they were when its quiet steps began (quietFrom).
//
// At the end of every step, after the immovable particles are settled:
// 1. Each movable body with particles, in registry order. It is moving when
//    the drag holds it or corner 1 or 2 lies more than kRestDrift from its
//    quietFrom: quietFrom becomes where they are now and quietSteps 0.
//    Otherwise quietSteps grows by 1.
// 2. Each pair of the step's pair list that is still there (the two bodies'
//    grown bounds overlapped in every pass), in list order: when one body is
//    resting and the other moved in step 1, the resting one wakes.
// 3. Each movable body with particles, in registry order, that the drag does
//    not hold and whose quietSteps is kRestSteps or more comes to rest: the
//    sticks joining two of its corners (sides and braces, in registry order)
//    are relaxed kRestShapePasses times as RelaxSticks relaxes them, so it
//    rests in its own shape and not squeezed as the pile left it; then
//    ownMass = mass, mass = 0, and previous = position for its particles.
//
// Waking: mass = ownMass, quietSteps = 0 (quietFrom is kept: the body is
// still where it came to rest). Besides step 2, every resting body wakes
// when gravity or the rest setting is switched and when a body is pinned or
// unpinned; a grab wakes the body it takes; a restart makes the world anew.
// Resting bodies stay where they came to rest, inside the walls (which never
// move), so no wall pushes one; a body that a wall pushes is a moving body
// and wakes what it touches.
//
// A new body has quietFrom (0, 0), so it moves in its first step.

#include <cstdint>

#include "world/world.h"

// How far (in pixels) corners 1 and 2 of a quiet body may stray.
constexpr double kRestDrift = 1.0;
// How many times the sticks of a body coming to rest are relaxed.
constexpr int32_t kRestShapePasses = 10;
// A body quiet for this many steps in a row (half a second of passes) comes to rest.
constexpr int32_t kRestSteps = 30;

// Whether the rule acts at all in this world now.
bool RestRuleActs(const World& world);

// Steps 1 to 3 above; nothing when the rule does not act.
void UpdateRest(World& world);

// Switches the rule on or off; every resting body wakes.
void SetRest(World& world, bool on);

// The body becomes movable again with its own mass; nothing unless it rests.
void WakeBody(Body& body);
void WakeAllBodies(World& world);

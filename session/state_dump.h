#pragma once

#include <cstdint>
#include <string>

#include "lighting/lighting.h"
#include "world/world.h"

// One line of JSON (without the newline): the passes so far, the mouse's
// light, when there are any the dropped lights ("lights": [x, y, radius,
// red, green, blue] each), every particle, every body but the world body, and every shadow
// triangle, each in registry order. Numbers are written in the shortest form
// that reads back to the same double.
std::string DumpState(const World& world, const Lighting& lighting, int64_t passes);

// One line of JSON of what the study view shows: whether it is collected,
// every particle's motion as the last step's integration left it ([previous
// x, y, velocity x, y]), the step's most stretched stick (its pass, its
// length error before and after that relaxation, its ends), its deepest wall
// push (pass, depth, the particle before and after), the last
// separating-axis test of the last step that found an overlap (its pass,
// depth, axis, the edge's ends, the corner before and after, where along the
// edge it lay, the edge's ends after), the last edge contact's friction
// (pass, the sliding along the edge before and after, the particle, the
// edge's direction), the number of candidate pairs, the contacts of the last
// pass ([x, y, penetration x, y]), and the silhouette corners of every
// outline as the mouse's light sees them. A mark is left out when the step
// had no such moment.
std::string DumpTrace(const World& world, const Lighting& lighting);

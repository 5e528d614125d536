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

// One line of JSON of what the study view shows: whether it is collected, the
// last separating-axis test of the last step that found an overlap (its pass,
// depth, axis, the edge's ends, the corner before and after), the number of
// candidate pairs, the contacts of the last pass ([x, y, penetration x, y]),
// and the silhouette corners of every outline as the mouse's light sees them.
std::string DumpTrace(const World& world, const Lighting& lighting);

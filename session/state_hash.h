#pragma once

// A cheap check that two runs agree: a 64-bit FNV-1a hash of the bit
// patterns (eight bytes each, least significant first) of every particle's
// position and previous position, every body's centre and bounds (the world
// body's too), every shadow corner, and then the position, radius and colour
// of every dropped light (the mouse's light left out), in registry order.
// Then, only when the sandbox uses them: the id of every pinned body, the
// Gravity setting when it is not (0, 0), and a 0 when the rest rule is off.

#include <cstdint>
#include <string>

#include "lighting/lighting.h"
#include "world/world.h"

uint64_t HashState(const World& world, const Lighting& lighting);

// The hash as 16 lower-case hexadecimal digits.
std::string HashText(uint64_t hash);

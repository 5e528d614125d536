#pragma once

#include "world/world.h"

// Every body's centre (mean of its particles) and axis-aligned bounds from the
// particles' current positions. The world body and bodies without particles
// keep what they had.
void UpdateBodyGeometry(World& world);

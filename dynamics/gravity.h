#pragma once

#include "world/world.h"

// The sandbox's gravity switch. On: the Gravity setting becomes (0, 1), down
// the screen (a particle gains 0.25 pixels a step of speed with the time
// step of 0.5); off: (0, 0). Then every particle's acceleration, in registry
// order, becomes the setting, and every resting body wakes. New particles
// copy the setting as they are made; a restart keeps it.
void SetGravity(World& world, bool on);

// Whether the Gravity setting is not (0, 0).
bool GravityIsOn(const World& world);

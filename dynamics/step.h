#pragma once

#include "world/world.h"

// One step of the world; no time argument, one call is one fixed step.
// Velocities are taken from last step's motion, then IterationCount passes
// each advance the particles by a share of it, relax the sticks, push
// particles back inside the walls, separate overlapping bodies and apply
// friction to the contacts of that pass. Under gravity, quiet bodies then
// come to rest and moving ones wake what they touch (dynamics/rest.h).
void StepWorld(World& world);

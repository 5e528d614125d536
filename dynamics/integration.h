#pragma once

// Particles carry no velocity from one step to the next: their motion is
// position - previous, so every correction made during a step becomes part of
// the next step's motion.

#include "world/world.h"

// Once per step: velocity from the last step's motion (cut by the speed
// limit), and previous becomes the current position. Immovable particles are
// left alone.
void IntegrateParticles(World& world);

// Every pass: each movable particle moves by velocity / IterationCount.
void AdvanceParticles(World& world);

// End of the step: immovable particles get previous = position.
void SettleImmovable(World& world);

#pragma once

#include "world/world.h"

// One relaxation pass over every stick of the registry, braces included, in
// registry order: each stick moves its two ends along the line between them
// towards its rest length, half the correction to each movable end.
void RelaxSticks(World& world);

// One stick's share of that pass.
void RelaxStick(const Stick& stick);

// How much longer the stick is than its rest length (negative: shorter),
// measured in single precision as its relaxation measures it.
float StickLengthError(const Stick& stick);

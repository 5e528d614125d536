#pragma once

// The figures the plots show of each step, read from the world as the step
// left it.

#include <cstdint>

#include "world/world.h"

struct PassFigures {
    double kineticEnergy = 0;      // KineticEnergy
    int32_t contacts = 0;          // World::lastPassContacts
    double largestStickError = 0;  // LargestStickError
};

// Σ ½ m |position − previous|² over the movable particles, where m is the
// mass of the particle's body and position − previous is its motion in the
// last step (a step sets `previous` to where the particle began it).
double KineticEnergy(const World& world);

// The largest |length − restLength| over every stick, at the end of the
// last step: how far the ten passes left the worst stick from its length.
double LargestStickError(const World& world);

PassFigures MeasureWorld(const World& world);

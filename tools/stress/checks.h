#pragma once

// What must hold after every pass of the world, whatever was done to it:
// the checks of the stress and soak programs.

#include <string>
#include <vector>

#include "lighting/lighting.h"
#include "world/world.h"

// Every particle's position and previous position and every body's centre
// and bounds are finite; the contacts and the candidate pairs are gone; every
// shadow corner is a finite whole number, and each light gave every outline
// its fan and at most one quad of two triangles. Says what is wrong in
// `problems` (at most a few lines per kind) and returns false, or returns true.
bool CheckPass(const World& world, const Lighting& lighting, std::vector<std::string>& problems);

// The signed area of a body's outline, its particles in slot order: positive
// for a box as it is made (its corners go clockwise on a screen whose y grows
// downward), negative once it is turned inside out.
double OutlineArea(const Body& body);

// How far the particle furthest outside a wall lies beyond it, in pixels; 0
// when every particle is on the inner side of every wall.
double WallExcursion(const World& world);

// How far outside the walls a particle may still lie once no box has been
// dropped for 100 passes: 1 pixel while the boxes side by side would cover at
// most half the room inside the walls, growing to 5 pixels as they would fill
// it, and by 6 pixels for every tenth of the room beyond. With room to spare
// the boxes come to rest inside; with more boxes than room they press on each
// other and on the walls for good. Under gravity twice as far; and without
// bound in an over-full room once gravity has pressed it (`pressedByGravity`:
// gravity was on at some time in the run) or while a body is pinned. The
// envelope is measured (docs/RELIABILITY.md).
double WallTolerance(const World& world, bool pressedByGravity);

// The number of shadow quads that the last rebuild left out (a light on an
// outline's first corner or within half a pixel of its centre, or no
// silhouette): not a fault, but worth counting.
int32_t MissingShadowQuads(const World& world, const Lighting& lighting);

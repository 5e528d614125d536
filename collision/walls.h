#pragma once

#include "world/lanes.h"

struct World;

// The walls four to a group, one per lane, for the quick test that a
// particle lies inside all of them. Lanes past the last wall have a zero
// normal, which nothing lies outside of.
struct WallGroup {
    Doubles4 pointX;
    Doubles4 pointY;
    Doubles4 normalX;
    Doubles4 normalY;
};

// The wall pass: for each wall, every particle of a movable body that lies
// outside it is pushed back along the wall's normal, by at most 10 units per
// wall and pass, and gets a wall contact unless it already has one this pass.
void CollideWalls(World& world);

#pragma once

#include "world/lanes.h"
#include "world/scratch.h"

struct World;

// The wall pass: for each wall, every particle of a movable body that lies
// outside it is pushed back along the wall's normal, by at most 10 units per
// wall and pass, and gets a wall contact unless it already has one this pass.
void CollideWalls(World& world);

#pragma once

// The body-body test: each body is the convex polygon of its particles with
// the sticks in its own slots as edges. A separating-axis search over the
// normals of those sticks finds the axis of least overlap; the stick that gave
// it makes its owner the edge body and the other the vertex body. The deepest
// particle of the vertex body is pushed out, the two ends of the edge it went
// through are pushed the other way, and one edge contact is recorded for
// friction.

#include <vector>

#include "world/lanes.h"
#include "world/vec2.h"

struct Body;
struct World;

// Storage of the test, kept from test to test so that it allocates nothing
// once it has grown.
struct NarrowPhaseScratch {
    std::vector<Vec2> firstCorners;
    std::vector<Vec2> secondCorners;
};

// The intervals a body covers on four axes at once, one axis per lane: the
// smallest and largest of axis · position over its corners (the positions of
// its particles in slot order, at least one), each product rounded to a float.
struct Projection4 {
    float min[4];
    float max[4];
};
Projection4 ProjectBody(const Doubles4& axisX, const Doubles4& axisY,
                        const std::vector<Vec2>& corners);

// 1 for x > 0, -1 for x < 0, 0 otherwise.
int Sign(double x);

// Does nothing when either body has no particles or neither has a stick.
void CollideBodies(World& world, Body* first, Body* second);

#pragma once

// The body-body test: each body is the convex polygon of its particles with
// the sticks in its own slots as edges. A separating-axis search over the
// normals of those sticks finds the axis of least overlap; the stick that gave
// it makes its owner the edge body and the other the vertex body. The deepest
// particle of the vertex body is pushed out, the two ends of the edge it went
// through are pushed the other way, and one edge contact is recorded for
// friction.

#include <cstdint>

#include "world/lanes.h"
#include "world/records.h"
#include "world/scratch.h"
#include "world/vec2.h"

struct World;

// The intervals a body covers on four axes at once, one axis per lane: the
// smallest and largest of axis · position over its corners (the positions of
// its particles in slot order, at least one), each product rounded to a float.
struct Projection4 {
    Floats4 min;
    Floats4 max;
};
Projection4 ProjectBody(const Doubles4& axisX, const Doubles4& axisY, const Vec2* corners,
                        int32_t count);

// 1 for x > 0, -1 for x < 0, 0 otherwise.
int Sign(double x);

// Does nothing when either body has no particles or neither has a stick.
void CollideBodies(World& world, Body* first, Body* second);

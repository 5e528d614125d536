#pragma once

// The body-body test: each body is the convex polygon of its particles with
// the sticks in its own slots as edges. A separating-axis search over the
// normals of those sticks finds the axis of least overlap; the stick that gave
// it makes its owner the edge body and the other the vertex body. The deepest
// particle of the vertex body is pushed out, the two ends of the edge it went
// through are pushed the other way, and one edge contact is recorded for
// friction.

#include "world/world.h"

// The interval a body covers on an axis: the smallest and largest of
// axis · position over its particles, each product rounded to a float.
struct Projection {
    float min;
    float max;
};

// The body must have at least one particle.
Projection ProjectBody(const Vec2& axis, const Body& body);

// 1 for x > 0, -1 for x < 0, 0 otherwise.
int Sign(double x);

// Does nothing when either body has no particles or neither has a stick.
void CollideBodies(World& world, Body* first, Body* second);

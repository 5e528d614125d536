#pragma once

// The shapes Space can drop. Each is one body: its corners as particles in
// order around it (clockwise on the screen, y pointing down), its sides as
// the sticks in its own slots, and cross braces owned by the world body, as
// a box's are, so that the separating-axis test sees only the sides.

#include <cstdint>
#include <string_view>

#include "world/world.h"

enum class Shape : int8_t {
    Box40,     // 40 × 40, what Space drops at start-up: exactly DropBox
    SmallBox,  // 20 × 20
    BigBox,    // 80 × 80
    Plank,     // 120 × 20, lying flat
    Triangle,  // equilateral, side 48, one corner up
    Hexagon,   // circumradius 26, flat top and bottom
};
constexpr int32_t kShapeCount = 6;

// The shape's name in lower case ("box40", "small", "big", "plank",
// "triangle", "hexagon"), and the shape a name stands for (false when none).
std::string_view ShapeName(Shape shape);
bool ShapeFromName(std::string_view name, Shape& shape);

// The shape after this one in the order above, the last followed by the first.
Shape NextShape(Shape shape);

// Drops the shape centred at (x, y), mass 1, friction 1, stiffness 1, as Space
// does. The boxes are CreateBox's (Box40 is DropBox itself); the triangle and
// the hexagon have their corners at the exact points rounded to floats, so
// that the mean of the corners is (x, y) up to that rounding.
void DropShape(World& world, Shape shape, int32_t x, int32_t y);

// A convex body of mass 1 and friction 1 with `count` (3 … 6) corners
// given in order around it; its sides, of stiffness 1, owned by the body and
// made from the last corner back to the first (as a box's); then
// `braceCount` braces of stiffness 1, pairs of corner numbers from 1, owned
// by the world body. Null, and nothing created, for a count outside 3 … 6.
struct ShapeCorner {
    double x;
    double y;
};
Body* CreatePolygonBody(World& world, const ShapeCorner* corners, int32_t count,
                        const int32_t (*braces)[2], int32_t braceCount);

#include "world/shapes.h"

#include <cmath>

#include "world/factories.h"

namespace {

constexpr std::string_view kShapeNames[kShapeCount] = {"box40", "small",    "big",
                                                       "plank", "triangle", "hexagon"};

// A triangle needs no brace. A hexagon gets the inner triangle 1-3-5, which
// makes it rigid, and the three long diagonals, which keep an ear from
// folding over the inner triangle (that fold keeps every other length).
constexpr int32_t kHexagonBraces[6][2] = {{1, 3}, {3, 5}, {5, 1}, {1, 4}, {2, 5}, {3, 6}};

void DropCentredBox(World& world, int32_t x, int32_t y, int32_t halfWidth, int32_t halfHeight) {
    CreateBox(world, x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight, 1, 1.0, 1.0, 1);
}

// Side 48: the corners lie 48 / √3 from the centre, the lower two half that
// far below it.
void DropTriangle(World& world, int32_t x, int32_t y) {
    const double r = 48 / std::sqrt(3.0);
    const ShapeCorner corners[3] = {{x + 0.0, y - r}, {x + 24.0, y + r / 2}, {x - 24.0, y + r / 2}};
    CreatePolygonBody(world, corners, 3, nullptr, 0);
}

// Circumradius 26: the top and bottom sides lie 26 · √3 / 2 from the centre.
void DropHexagon(World& world, int32_t x, int32_t y) {
    const double h = 13 * std::sqrt(3.0);
    const ShapeCorner corners[6] = {{x - 13.0, y - h}, {x + 13.0, y - h}, {x + 26.0, y + 0.0},
                                    {x + 13.0, y + h}, {x - 13.0, y + h}, {x - 26.0, y + 0.0}};
    CreatePolygonBody(world, corners, 6, kHexagonBraces, 6);
}

}  // namespace

std::string_view ShapeName(Shape shape) {
    return kShapeNames[static_cast<int32_t>(shape)];
}

bool ShapeFromName(std::string_view name, Shape& shape) {
    for (int32_t i = 0; i < kShapeCount; ++i) {
        if (kShapeNames[i] == name) {
            shape = static_cast<Shape>(i);
            return true;
        }
    }
    return false;
}

Shape NextShape(Shape shape) {
    return static_cast<Shape>((static_cast<int32_t>(shape) + 1) % kShapeCount);
}

void DropShape(World& world, Shape shape, int32_t x, int32_t y) {
    switch (shape) {
        case Shape::Box40:
            DropBox(world, x, y);
            break;
        case Shape::SmallBox:
            DropCentredBox(world, x, y, 10, 10);
            break;
        case Shape::BigBox:
            DropCentredBox(world, x, y, 40, 40);
            break;
        case Shape::Plank:
            DropCentredBox(world, x, y, 60, 10);
            break;
        case Shape::Triangle:
            DropTriangle(world, x, y);
            break;
        case Shape::Hexagon:
            DropHexagon(world, x, y);
            break;
    }
}

Body* CreatePolygonBody(World& world, const ShapeCorner* corners, int32_t count,
                        const int32_t (*braces)[2], int32_t braceCount) {
    if (count < 3 || count > 6) {
        return nullptr;
    }
    Body* body = CreateBody(world, 1.0f, 1.0f);
    Particle* p[6];
    for (int32_t i = 0; i < count; ++i) {
        p[i] = CreateParticle(world, body, static_cast<float>(corners[i].x),
                              static_cast<float>(corners[i].y));
    }
    for (int32_t i = count - 1; i >= 0; --i) {
        CreateStick(world, body, p[i], p[(i + count - 1) % count], 1.0f);
    }
    Body* braceOwner = world.worldBody != nullptr ? world.worldBody : body;
    for (int32_t b = 0; b < braceCount; ++b) {
        CreateStick(world, braceOwner, p[braces[b][0] - 1], p[braces[b][1] - 1], 1.0f);
    }
    MeasureBody(*body);
    return body;
}

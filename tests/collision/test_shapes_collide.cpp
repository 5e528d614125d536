#include <gtest/gtest.h>

#include "collision/narrow_phase.h"
#include "dynamics/drag.h"
#include "tests/dynamics/sandbox_scenes.h"
#include "tests/world/scene.h"

namespace {

const std::vector<Shape> kEveryShape = {Shape::Box40, Shape::SmallBox, Shape::BigBox,
                                        Shape::Plank, Shape::Triangle, Shape::Hexagon};

// Half of each shape's width, in the order of Shape.
constexpr int32_t kHalfWidth[kShapeCount] = {20, 10, 40, 60, 24, 26};
int32_t HalfWidth(Shape shape) {
    return kHalfWidth[static_cast<int32_t>(shape)];
}

void ExpectEveryBodyConvexWithSidesWithinTwoPercent(const World& world) {
    for (const Body& body : world.bodies) {
        if (body.particleCount == 0)
            continue;
        EXPECT_TRUE(IsConvexAsMade(body)) << "body " << body.id;
        EXPECT_LT(WorstSideStrain(body), 0.02) << "body " << body.id;
    }
}

// Side by side, 6 pixels into each other.
TEST(ShapesCollide, EveryPairOfShapesOverlappingIsPushedApart) {
    for (Shape a : kEveryShape) {
        for (Shape b : kEveryShape) {
            SCOPED_TRACE(std::string(ShapeName(a)) + " on " + std::string(ShapeName(b)));
            World world;
            StartWorld(world);
            DropShape(world, a, 300, 240);
            Body* first = world.bodies.Current();
            DropShape(world, b, 300 + HalfWidth(a) + HalfWidth(b) - 6, 244);
            Body* second = world.bodies.Current();
            RunSteps(world, 120);
            // Apart: some side of one of them has the other wholly on its outer side.
            bool apart = false;
            for (const Body* edge : {first, second}) {
                const Body* other = edge == first ? second : first;
                for (int32_t s = 1; s <= edge->stickCount && !apart; ++s) {
                    const Stick& side = *BodyStick(*edge, s);
                    const Vec2& p = side.particleA->position;
                    const Vec2& q = side.particleB->position;
                    bool allOutside = true;
                    for (int32_t i = 1; i <= other->particleCount; ++i) {
                        const Vec2& v = BodyParticle(*other, i)->position;
                        // Outward is to the left of p→q on the screen for clockwise corners.
                        const double cross = (q.x - p.x) * (v.y - p.y) - (q.y - p.y) * (v.x - p.x);
                        allOutside = allOutside && cross <= 0.5;
                    }
                    apart = allOutside;
                }
            }
            EXPECT_TRUE(apart);
            ExpectEveryBodyConvexWithSidesWithinTwoPercent(world);
        }
    }
}

// Sixty bodies of every shape dropped half a second apart, as a hand taps
// Space, into a pile that fills the bottom of the room under gravity.
//
// Dropped faster, a body lands inside the one before it (bodies 10 steps
// apart have fallen only about 14 pixels), and a plank pushed through
// itself can stay crossed: with four corners, a 120 x 20 plank and its
// crossed form (one short side turned over) differ by at most 1.4 % in any
// of its six lengths, so no brace pulls it back. A body dropped into
// another is the stress tester's case (finite, inside the walls), not this.
TEST(ShapesCollide, ACrowdedMixedPileKeepsEveryBodyConvexWithGravity) {
    constexpr int32_t kBodies = 60;
    constexpr int32_t kStepsApart = 30;
    World world;
    StartWorldWithGravity(world);
    BuildPile(world, kBodies, kEveryShape, kStepsApart);
    RunSteps(world, 600 - kStepsApart);  // 600 passes after the last drop
    ExpectEveryBodyConvexWithSidesWithinTwoPercent(world);
}

// Rows of each shape, 2 pixels apart along a row and 4 pixels into the rows
// above and below, from the top of the screen down: they push each other
// apart down the screen.
TEST(ShapesCollide, ACrowdedMixedPileKeepsEveryBodyConvexWithoutGravity) {
    struct Row {
        Shape shape;
        int32_t y;        // centre
        int32_t spacing;  // the width and 2
    };
    const Row rows[] = {{Shape::Plank, 20, 122},    {Shape::BigBox, 66, 82},
                        {Shape::Box40, 122, 42},    {Shape::Hexagon, 161, 54},
                        {Shape::Triangle, 207, 50}, {Shape::SmallBox, 227, 22},
                        {Shape::Box40, 259, 42},    {Shape::Hexagon, 298, 54}};
    World world;
    StartWorld(world);
    for (const Row& row : rows) {
        for (int32_t x = HalfWidth(row.shape) + 1; x + HalfWidth(row.shape) < 640;
             x += row.spacing) {
            DropShape(world, row.shape, x, row.y);
        }
    }
    RunSteps(world, 600);
    ExpectEveryBodyConvexWithSidesWithinTwoPercent(world);
}

TEST(ShapesCollide, TheDragTakesTheNearestCornerOfATriangleAndAHexagon) {
    World world;
    StartWorld(world);
    DropShape(world, Shape::Triangle, 100, 100);
    Body* triangle = world.bodies.Current();
    DropShape(world, Shape::Hexagon, 300, 300);
    Body* hexagon = world.bodies.Current();
    EXPECT_EQ(BodyUnder(world, 100, 80), triangle);  // near the top corner, inside
    EXPECT_EQ(BodyUnder(world, 100, 70), nullptr);   // above it
    EXPECT_EQ(BodyUnder(world, 324, 300), hexagon);  // near the right corner
    EXPECT_EQ(BodyUnder(world, 324, 318), nullptr);  // outside the lower right side
    ASSERT_TRUE(GrabAt(world, 320, 300));
    EXPECT_EQ(world.grab.particle, BodyParticle(*hexagon, 3));
    AimGrab(world, 500, 300);
    RunSteps(world, 30);
    EXPECT_GT(hexagon->centre.x, 400);
    EXPECT_TRUE(IsConvexAsMade(*hexagon));
    ReleaseGrab(world);
    RunSteps(world, 60);  // pulled by a corner it stretched; let go, it takes its shape again
    ExpectEveryBodyConvexWithSidesWithinTwoPercent(world);
}

}  // namespace

#include <gtest/gtest.h>

#include "collision/narrow_phase.h"
#include "dynamics/drag.h"
#include "tests/dynamics/sandbox_scenes.h"
#include "tests/world/scene.h"

namespace {

const std::vector<Shape> kEveryShape = {Shape::Box40,   Shape::SmallBox, Shape::BigBox,
                                        Shape::Plank,   Shape::Triangle, Shape::Hexagon};

void ExpectEveryBodyConvexWithSidesWithinTwoPercent(const World& world) {
    for (const Body& body : world.bodies) {
        if (body.particleCount == 0) continue;
        EXPECT_TRUE(IsConvexAsMade(body)) << "body " << body.id;
        EXPECT_LT(WorstSideStrain(body), 0.02) << "body " << body.id;
    }
}

TEST(ShapesCollide, EveryPairOfShapesOverlappingIsPushedApart) {
    for (Shape a : kEveryShape) {
        for (Shape b : kEveryShape) {
            SCOPED_TRACE(std::string(ShapeName(a)) + " on " + std::string(ShapeName(b)));
            World world;
            StartWorld(world);
            DropShape(world, a, 300, 240);
            Body* first = world.bodies.Current();
            DropShape(world, b, 312, 248);
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

TEST(ShapesCollide, ACrowdedMixedPileKeepsEveryBodyConvexWithGravity) {
    World world;
    StartWorldWithGravity(world);
    BuildPile(world, 60, kEveryShape);
    RunSteps(world, 600 - 60 * 10 + 600);  // 600 passes after the last drop
    ExpectEveryBodyConvexWithSidesWithinTwoPercent(world);
}

TEST(ShapesCollide, ACrowdedMixedPileKeepsEveryBodyConvexWithoutGravity) {
    World world;
    StartWorld(world);
    // Dropped on top of each other in a band across the middle of the screen.
    for (int32_t i = 0; i < 60; ++i) {
        DropShape(world, kEveryShape[i % kEveryShape.size()], 60 + (i * 53) % 520,
                  170 + (i * 29) % 140);
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
    EXPECT_EQ(BodyUnder(world, 100, 80), triangle);   // near the top corner, inside
    EXPECT_EQ(BodyUnder(world, 100, 70), nullptr);    // above it
    EXPECT_EQ(BodyUnder(world, 324, 300), hexagon);   // near the right corner
    EXPECT_EQ(BodyUnder(world, 324, 318), nullptr);   // outside the lower right side
    ASSERT_TRUE(GrabAt(world, 320, 300));
    EXPECT_EQ(world.grab.particle, BodyParticle(*hexagon, 3));
    AimGrab(world, 500, 300);
    RunSteps(world, 30);
    EXPECT_GT(hexagon->centre.x, 400);
    ExpectEveryBodyConvexWithSidesWithinTwoPercent(world);
}

}  // namespace

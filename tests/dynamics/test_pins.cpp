#include <gtest/gtest.h>

#include "dynamics/drag.h"
#include "dynamics/pins.h"
#include "tests/dynamics/sandbox_scenes.h"
#include "tests/world/scene.h"

namespace {

std::vector<Vec2> Corners(const Body& body) {
    std::vector<Vec2> corners;
    for (int32_t i = 1; i <= body.particleCount; ++i)
        corners.push_back(BodyParticle(body, i)->position);
    return corners;
}

void ExpectUnmoved(const Body& body, const std::vector<Vec2>& corners) {
    for (int32_t i = 1; i <= body.particleCount; ++i) {
        EXPECT_EQ(BodyParticle(body, i)->position.x, corners[i - 1].x);
        EXPECT_EQ(BodyParticle(body, i)->position.y, corners[i - 1].y);
    }
}

TEST(Pins, ATogglePinsTheBodyThereAndASecondGivesItsMassBack) {
    World world;
    StartWorld(world);
    DropShape(world, Shape::Hexagon, 200, 200);
    Body* hexagon = world.bodies.Current();
    EXPECT_FALSE(TogglePinAt(world, 400, 400));  // nothing there
    ASSERT_TRUE(TogglePinAt(world, 205, 195));
    EXPECT_TRUE(hexagon->pinned);
    EXPECT_EQ(hexagon->mass, 0.0f);
    ASSERT_TRUE(TogglePinAt(world, 205, 195));
    EXPECT_FALSE(hexagon->pinned);
    EXPECT_EQ(hexagon->mass, 1.0f);
}

TEST(Pins, APinnedPlankHoldsABoxUnderGravityAndDoesNotMove) {
    World world;
    StartWorldWithGravity(world);
    DropShape(world, Shape::Plank, 320, 200);
    Body* plank = world.bodies.Current();
    ASSERT_TRUE(TogglePinAt(world, 320, 200));
    const std::vector<Vec2> corners = Corners(*plank);
    DropBox(world, 320, 100);
    Body* box = world.bodies.Current();
    RunSteps(world, 120);
    ExpectUnmoved(*plank, corners);
    EXPECT_NEAR(box->centre.y, 170, 1);  // on the shelf: its bottom on the plank's top at 190
}

TEST(Pins, ADraggedBodyCannotMoveAPinnedOneAndAPinnedOneCannotBeGrabbed) {
    World world;
    StartWorld(world);
    DropShape(world, Shape::Triangle, 300, 240);
    Body* triangle = world.bodies.Current();
    ASSERT_TRUE(TogglePinAt(world, 300, 240));
    const std::vector<Vec2> corners = Corners(*triangle);
    EXPECT_FALSE(GrabAt(world, 300, 240));
    EXPECT_FALSE(IsGrabbing(world));

    DropBox(world, 150, 240);
    ASSERT_TRUE(GrabAt(world, 150, 240));
    AimGrab(world, 600, 240);  // straight through the triangle
    RunSteps(world, 120);
    ExpectUnmoved(*triangle, corners);
}

TEST(Pins, PinningAHeldBodyLetsItGoAndARestingBodyKeepsItsOwnMassForTheUnpin) {
    World world;
    StartWorld(world);
    DropBox(world, 200, 200);
    Body* box = world.bodies.Current();
    ASSERT_TRUE(GrabAt(world, 200, 200));
    PinBody(world, *box);
    EXPECT_FALSE(IsGrabbing(world));
    UnpinBody(world, *box);

    World resting;
    StartWorldWithGravity(resting);
    DropBox(resting, 200, 459);
    Body* lying = resting.bodies.Current();
    RunSteps(resting, 120);
    ASSERT_TRUE(lying->resting);
    PinBody(resting, *lying);
    EXPECT_FALSE(lying->resting);
    UnpinBody(resting, *lying);
    EXPECT_EQ(lying->mass, 1.0f);
}

}  // namespace

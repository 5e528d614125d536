#include <gtest/gtest.h>

#include "dynamics/body_geometry.h"
#include "tests/world/scene.h"

namespace {

TEST(BodyGeometry, ABoxGetsItsCentreAndBoundsAndFollowsMovedCorners) {
    World world;
    StartWorld(world);
    Body* box = AddBox(world, 100, 100, 140, 140);
    UpdateBodyGeometry(world);
    EXPECT_VEC_EQ(box->centre, 120, 120);
    EXPECT_VEC_EQ(box->boundsMin, 100, 100);
    EXPECT_VEC_EQ(box->boundsMax, 140, 140);

    BodyParticle(*box, 3)->position = {148, 144};
    BodyParticle(*box, 1)->position = {96, 100};
    UpdateBodyGeometry(world);
    EXPECT_VEC_EQ(box->centre, 121, 121);
    EXPECT_VEC_EQ(box->boundsMin, 96, 100);
    EXPECT_VEC_EQ(box->boundsMax, 148, 144);
}

TEST(BodyGeometry, TheWorldBodyAndABodyWithoutParticlesKeepWhatTheyHad) {
    World world;
    StartWorld(world);
    Body* empty = CreateBody(world, 1, 1);
    empty->centre = {5, 6};
    AddBox(world, 100, 100, 140, 140);
    UpdateBodyGeometry(world);
    EXPECT_VEC_EQ(world.worldBody->centre, 0, 0);
    EXPECT_VEC_EQ(world.worldBody->boundsMax, 0, 0);
    EXPECT_VEC_EQ(empty->centre, 5, 6);
    EXPECT_VEC_EQ(empty->boundsMin, 0, 0);
}

}  // namespace

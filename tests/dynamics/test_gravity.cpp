#include <gtest/gtest.h>

#include "tests/dynamics/sandbox_scenes.h"
#include "tests/world/scene.h"

namespace {

TEST(Gravity, TheSwitchSetsTheSettingAndEveryParticlesAccelerationAndNewOnesCopyIt) {
    World world;
    StartWorld(world);
    DropBox(world, 100, 100);
    DropShape(world, Shape::Hexagon, 300, 100);
    SetGravity(world, true);
    EXPECT_VEC_EQ(world.settings.Gravity, 0, 1);
    for (const Particle& p : world.particles) EXPECT_VEC_EQ(p.acceleration, 0, 1);
    DropShape(world, Shape::Triangle, 500, 100);
    for (const Particle& p : world.particles) EXPECT_VEC_EQ(p.acceleration, 0, 1);

    SetGravity(world, false);
    EXPECT_VEC_EQ(world.settings.Gravity, 0, 0);
    for (const Particle& p : world.particles) EXPECT_VEC_EQ(p.acceleration, 0, 0);
}

TEST(Gravity, ARestartKeepsItAndABoxFallsToTheFloorInAboutASecond) {
    World world;
    StartWorld(world);
    SetGravity(world, true);
    RestartWorld(world);
    EXPECT_VEC_EQ(world.settings.Gravity, 0, 1);
    DropBox(world, 320, 21);
    Body* box = world.bodies.Current();
    RunSteps(world, 45);
    EXPECT_LT(box->boundsMax.y, 470);  // still falling after three quarters of a second
    RunSteps(world, 30);
    EXPECT_NEAR(box->centre.y, 459, 1);  // on the floor after a second and a quarter
}

}  // namespace

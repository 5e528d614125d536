#include <gtest/gtest.h>

#include "dynamics/drag.h"
#include "dynamics/pins.h"
#include "dynamics/rest.h"
#include "tests/dynamics/sandbox_scenes.h"
#include "tests/world/scene.h"

namespace {

int32_t RestingBodies(const World& world) {
    int32_t resting = 0;
    for (const Body& b : world.bodies) resting += b.resting ? 1 : 0;
    return resting;
}

// Steps until every body rests, at most `limit` steps; the steps taken.
int32_t StepUntilAllRest(World& world, int32_t limit) {
    for (int32_t step = 1; step <= limit; ++step) {
        StepWorld(world);
        if (RestingBodies(world) == world.bodies.Size() - 1)
            return step;
    }
    return -1;
}

TEST(Rest, AColumnOfEightBoxesStandsStillForTenSecondsOnceSettled) {
    World world;
    StartWorldWithGravity(world);
    Body* top = BuildColumn(world);
    RunSteps(world, 300);
    const Vec2 start = top->centre;
    double sway = 0;
    for (int32_t i = 0; i < 600; ++i) {
        StepWorld(world);
        sway = std::max(sway, std::hypot(top->centre.x - start.x, top->centre.y - start.y));
    }
    EXPECT_LT(sway, 0.5);
    EXPECT_GT(top->centre.y, 170);  // the column stands: eight boxes high, not fallen over
    RecordProperty("top_box_sway_px", std::to_string(sway));
}

TEST(Rest, APileOfSixtyBoxesIsStillTenSecondsAfterTheLastDrop) {
    World world;
    StartWorldWithGravity(world);
    BuildPile(world, 60, {Shape::Box40});
    RunSteps(world, 590);  // BuildPile ran 10 steps after the last drop
    const double largest = LargestStepMotion(world);
    EXPECT_LT(largest, 0.001);
    EXPECT_EQ(RestingBodies(world), 60);
    RecordProperty("largest_step_motion_px", std::to_string(largest));
}

TEST(Rest, ABoxDroppedOnARestingPileWakesItAndAllComesToRestAgain) {
    World world;
    StartWorldWithGravity(world);
    BuildPile(world, 20, {Shape::Box40});
    ASSERT_GT(StepUntilAllRest(world, 600), 0);
    DropBox(world, 300, 40);
    int32_t fewestResting = 20;
    for (int32_t i = 0; i < 120; ++i) {
        StepWorld(world);
        fewestResting = std::min(fewestResting, RestingBodies(world));
    }
    EXPECT_LT(fewestResting, 19);  // the landing woke more than the body it hit
    EXPECT_GT(StepUntilAllRest(world, 600), 0);
    EXPECT_LT(LargestStepMotion(world), 0.001);
}

TEST(Rest, NoBoxIsLeftHangingWhenTheBoxBelowIsDraggedAway) {
    World world;
    StartWorldWithGravity(world);
    Body* top = BuildColumn(world, 2);
    Body* bottom = nullptr;
    for (const Body& b : world.bodies) {
        if (b.particleCount > 0 && &b != top)
            bottom = const_cast<Body*>(&b);
    }
    ASSERT_GT(StepUntilAllRest(world, 600), 0);
    const int32_t x = static_cast<int32_t>(bottom->centre.x);
    ASSERT_TRUE(GrabAt(world, x, 470));
    EXPECT_FALSE(bottom->resting);
    AimGrab(world, x + 300, 470);
    RunSteps(world, 60);
    ReleaseGrab(world);
    RunSteps(world, 300);
    EXPECT_GT(top->centre.y, 455);  // on the floor, 40 lower than where it rested
    EXPECT_GT(StepUntilAllRest(world, 600), 0);
}

TEST(Rest, NeverActsWithGravityOff) {
    World on;
    World off;
    off.settings.Rest = 0;
    for (World* world : {&on, &off}) {
        StartWorld(*world);
        BuildPile(*world, 20, {Shape::Box40, Shape::Triangle, Shape::Hexagon});
        RunSteps(*world, 300);
    }
    EXPECT_EQ(RestingBodies(on), 0);
    std::vector<Vec2> a, b;
    for (const Particle& p : on.particles) a.push_back(p.position);
    for (const Particle& p : off.particles) b.push_back(p.position);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].x, b[i].x);
        EXPECT_EQ(a[i].y, b[i].y);
    }
}

TEST(Rest, SwitchesGrabsAndPinsWakeRestingBodies) {
    World world;
    StartWorldWithGravity(world);
    BuildPile(world, 6, {Shape::Box40});
    ASSERT_GT(StepUntilAllRest(world, 600), 0);
    for (const Body& b : world.bodies) {
        if (b.resting) {
            EXPECT_EQ(b.mass, 0.0f);
        }
    }

    SetRest(world, false);
    EXPECT_EQ(RestingBodies(world), 0);
    RunSteps(world, 120);
    EXPECT_EQ(RestingBodies(world), 0);  // switched off, nothing rests

    SetRest(world, true);
    ASSERT_GT(StepUntilAllRest(world, 600), 0);
    SetGravity(world, true);
    EXPECT_EQ(RestingBodies(world), 0);
    for (const Body& b : world.bodies) {
        if (b.particleCount > 0) {
            EXPECT_EQ(b.mass, 1.0f);
        }
    }

    ASSERT_GT(StepUntilAllRest(world, 600), 0);
    Body* last = nullptr;
    for (const Body& b : world.bodies) last = const_cast<Body*>(&b);
    ASSERT_TRUE(
        GrabAt(world, static_cast<int32_t>(last->centre.x), static_cast<int32_t>(last->centre.y)));
    EXPECT_FALSE(world.grab.particle->body->resting);
    ReleaseGrab(world);

    ASSERT_GT(StepUntilAllRest(world, 600), 0);
    ASSERT_TRUE(TogglePinAt(world, static_cast<int32_t>(last->centre.x),
                            static_cast<int32_t>(last->centre.y)));
    EXPECT_EQ(RestingBodies(world), 0);
}

}  // namespace

// The stress tester's checks and scenes: a check that cannot fail, or a
// scene that never reaches what it is meant to try, would pass for ever.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "dynamics/gravity.h"
#include "dynamics/pins.h"
#include "lighting/shadows.h"
#include "session/session.h"
#include "session/update_world.h"
#include "tools/stress/checks.h"
#include "tools/stress/stress.h"
#include "world/factories.h"
#include "world/shapes.h"

namespace {

class PassChecks : public ::testing::Test {
   protected:
    Session sim;

    void SetUp() override {
        StartSession(sim);
        DropBox(sim.world, 100, 100);
        DropBox(sim.world, 300, 200);
        Pass();
    }

    void Pass() { UpdateWorld(sim.world, sim.lighting, 500, 400); }

    std::vector<std::string> Problems() {
        std::vector<std::string> problems;
        const bool passed = CheckPass(sim.world, sim.lighting, problems);
        EXPECT_EQ(passed, problems.empty());
        return problems;
    }

    Particle& FirstParticle() { return *sim.world.particles.Next(); }
};

TEST_F(PassChecks, AHealthyWorldPasses) {
    EXPECT_EQ(Problems(), std::vector<std::string>{});
}

TEST_F(PassChecks, ANumberThatIsNotFiniteIsReportedWhereverItIs) {
    sim.world.particles.Reset();
    FirstParticle().position.y = NAN;
    ASSERT_EQ(Problems().size(), 1u);
    EXPECT_NE(Problems()[0].find("particle 1"), std::string::npos) << Problems()[0];

    Pass();  // the NaN spreads to the body's centre
    std::string all;
    for (const std::string& p : Problems()) {
        all += p + "\n";
    }
    EXPECT_NE(all.find("body 2 centred at"), std::string::npos) << all;
}

TEST_F(PassChecks, ContactsOrPairsLeftBetweenStepsAreReported) {
    sim.world.contacts.Append();
    sim.world.bodyPairs.Append();
    EXPECT_EQ(Problems().size(), 2u);
}

TEST_F(PassChecks, AShadowCornerOffTheWholeNumbersOrAMissingFanTriangleIsReported) {
    AddShadowSegment(sim.lighting, 1, 2, 3, 4, 5, 6);  // one triangle too many
    EXPECT_EQ(Problems().size(), 1u);

    BuildShadows(sim.world, sim.lighting);
    sim.lighting.shadowSegments.Reset();
    sim.lighting.shadowSegments.Next();
    sim.lighting.shadowSegments.Next()->p2.x = 0.5;
    ASSERT_EQ(Problems().size(), 1u);
    EXPECT_NE(Problems()[0].find("shadow triangle 1"), std::string::npos) << Problems()[0];
}

TEST_F(PassChecks, AQuadLeftOutIsCountedButIsNoFault) {
    UpdateWorld(sim.world, sim.lighting, 80,
                80);  // the light goes onto the first box's first corner
    Pass();
    EXPECT_EQ(MissingShadowQuads(sim.world, sim.lighting), 1);
    EXPECT_EQ(Problems(), std::vector<std::string>{});
}

TEST(WallChecks, ABoxDroppedOnTheCornerStartsOutsideAndIsBroughtInside) {
    Session sim;
    StartSession(sim);
    DropBox(sim.world, 0, 0);
    EXPECT_EQ(WallExcursion(sim.world), 21);  // (-20, -20) against walls at x = 1 and y = 1
    for (int pass = 0; pass < 100; ++pass) {
        UpdateWorld(sim.world, sim.lighting, 0, 0);
    }
    EXPECT_LE(WallExcursion(sim.world), WallTolerance(sim.world, false));
    EXPECT_EQ(WallTolerance(sim.world, false), 1.0);
}

// Under gravity the floor alone bears the pile: twice the margin; and once
// gravity has pressed an over-full room, no bound, even with gravity off.
TEST(WallChecks, GravityDoublesTheToleranceAndAnOverFullRoomPressedOrPinnedHasNone) {
    Session sim;
    StartSession(sim);
    for (int32_t i = 0; i < 96; ++i) {  // just over half the room
        DropBox(sim.world, 60 + (i % 12) * 45, 60 + (i / 12) * 45);
    }
    const double shared = WallTolerance(sim.world, false);
    EXPECT_GT(shared, 1.0);
    SetGravity(sim.world, true);
    EXPECT_EQ(WallTolerance(sim.world, true), 2 * shared);
    for (int32_t i = 0; i < 100; ++i) {  // 196 boxes cannot lie side by side in the room
        DropBox(sim.world, 320, 240);
    }
    EXPECT_EQ(WallTolerance(sim.world, true), INFINITY);
    SetGravity(sim.world, false);
    EXPECT_EQ(WallTolerance(sim.world, true), INFINITY);
    EXPECT_GT(WallTolerance(sim.world, false), 5.0);
    EXPECT_LT(WallTolerance(sim.world, false), INFINITY);
    // Nor while a pinned body holds part of an over-full room still.
    PinBody(sim.world, *sim.world.bodies.Current());
    EXPECT_EQ(WallTolerance(sim.world, false), INFINITY);
}

// Dozens of boxes dropped on one spot in a corner crush one flat, one side
// shorter than a millionth of a pixel. The place along that side where a
// corner meets it was once a distance divided by next to nothing, and threw
// the box 1.5 million pixels in one step, and on for ever.
TEST(StressFinds, ABoxCrushedFlatInACornerPileThrowsNothingAcrossTheWorld) {
    std::ifstream file(std::string(TUMBLE_TEST_DIR) + "/crushed_corner.script");
    ASSERT_TRUE(file) << "crushed_corner.script";
    Session sim;
    StartSession(sim);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScript(sim, file, out, err, nullptr), 0) << err.str();
    EXPECT_LT(WallExcursion(sim.world), 40.0);  // less than a box outside, as it was dropped
}

TEST(StressRuns, TheSameSeedGivesTheSameRunAndItsScriptReplaysIt) {
    StressOptions options;
    options.seed = 5;
    options.passes = 300;
    options.maxBoxes = 40;
    StressResult first = RunStress(options);
    StressResult second = RunStress(options);
    EXPECT_TRUE(first.passed);
    EXPECT_EQ(first.script, second.script);
    EXPECT_EQ(first.dump, second.dump);

    Session sim;
    StartSession(sim);
    std::istringstream script(first.script);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScript(sim, script, out, err, nullptr), 0) << err.str();
    EXPECT_EQ(out.str(), first.dump + "\n");

    options.seed = 6;
    EXPECT_NE(RunStress(options).script, first.script);
}

// Going back at random, past restarts and drags and right after drops: the
// checks hold, and tumble-sim's `back` takes the script to the same world.
TEST(StressRuns, ARunThatGoesBackReplaysToTheSameWorld) {
    StressOptions options;
    options.seed = 7;
    options.passes = 600;
    options.maxBoxes = 30;
    options.backEvery = 4;
    StressResult result = RunStress(options);
    EXPECT_TRUE(result.passed) << (result.problems.empty() ? "" : result.problems[0]);
    EXPECT_GE(result.counts.backs, 3);
    EXPECT_NE(result.script.find("\nback "), std::string::npos);

    Session sim;
    StartSession(sim);
    std::istringstream script(result.script);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScript(sim, script, out, err, nullptr), 0) << err.str();
    EXPECT_EQ(out.str(), result.dump + "\n");
}

TEST(StressRuns, AFailingPassStopsTheRunAndTheScriptEndsThere) {
    StressOptions options;
    options.seed = 3;
    options.passes = 1000;
    options.maxBoxes = 20;
    options.wallTolerance = 0;
    options.quietPasses = 1;  // every pass is checked, and a box across a wall fails it
    StressResult result = RunStress(options);
    ASSERT_FALSE(result.passed);
    ASSERT_FALSE(result.problems.empty());
    EXPECT_EQ(result.problems[0].rfind("pass " + std::to_string(result.passes) + ": ", 0), 0u)
        << result.problems[0];
    int64_t stepped = 0;
    std::istringstream lines(result.script);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("step ", 0) == 0 || line.rfind("idle ", 0) == 0) {
            stepped += std::stoll(line.substr(5));
        }
    }
    EXPECT_EQ(stepped, result.passes);
}

// Short runs of a few seeds already meet every situation the tester is for.
TEST(StressRuns, AFewSeedsMeetEverySituationTheTesterIsFor) {
    StressCounts all;
    int32_t mostBoxes = 0;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        StressOptions options;
        options.seed = seed;
        options.passes = 800;
        options.maxBoxes = 60;
        StressResult r = RunStress(options);
        EXPECT_TRUE(r.passed) << seed << ": " << (r.problems.empty() ? "" : r.problems[0]);
        mostBoxes = std::max(mostBoxes, r.counts.boxes);
        all.edgeDrops += r.counts.edgeDrops;
        all.cornerDrops += r.counts.cornerDrops;
        all.stackedDrops += r.counts.stackedDrops;
        all.lightOnCorner += r.counts.lightOnCorner;
        all.lightOnCentre += r.counts.lightOnCentre;
        all.lightInsideBox += r.counts.lightInsideBox;
        all.quietPassesChecked += r.counts.quietPassesChecked;
        all.grabs += r.counts.grabs;
        all.cornerDrags += r.counts.cornerDrags;
        all.pileDrags += r.counts.pileDrags;
        all.restarts += r.counts.restarts;
        all.lightsDropped += r.counts.lightsDropped;
        all.lightsRemoved += r.counts.lightsRemoved;
        all.softSwitches += r.counts.softSwitches;
        all.gravitySwitches += r.counts.gravitySwitches;
        all.pinChanges += r.counts.pinChanges;
        for (int32_t shape = 0; shape < kShapeCount; ++shape) {
            all.shapes[shape] += r.counts.shapes[shape];
        }
    }
    EXPECT_EQ(mostBoxes, 60);
    EXPECT_GT(all.edgeDrops, 0);
    EXPECT_GT(all.cornerDrops, 0);
    EXPECT_GT(all.stackedDrops, 0);
    EXPECT_GT(all.lightOnCorner, 0);
    EXPECT_GT(all.lightOnCentre, 0);
    EXPECT_GT(all.lightInsideBox, 0);
    EXPECT_GT(all.quietPassesChecked, 0);
    EXPECT_GT(all.grabs, 0);
    EXPECT_GT(all.cornerDrags, 0);
    EXPECT_GT(all.pileDrags, 0);
    EXPECT_GT(all.restarts, 0);
    EXPECT_GT(all.lightsDropped, 0);
    EXPECT_GT(all.lightsRemoved, 0);
    EXPECT_GT(all.softSwitches, 0);
    EXPECT_GT(all.gravitySwitches, 0);
    EXPECT_GT(all.pinChanges, 0);
    for (int32_t shape = 0; shape < kShapeCount; ++shape) {
        EXPECT_GT(all.shapes[shape], 0) << ShapeName(static_cast<Shape>(shape));
    }
}

}  // namespace

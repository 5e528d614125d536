#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "collision/broad_phase.h"
#include "dynamics/body_geometry.h"
#include "tests/world/scene.h"

namespace {

using PairList = std::vector<std::pair<Body*, Body*>>;

// Box A spans (100, 100) to (140, 140); the other boxes are placed around it.
struct BroadPhase : ::testing::Test {
    World world;
    Body* a = nullptr;

    void SetUp() override {
        StartWorld(world);
        a = AddBox(world, 100, 100, 140, 140);
    }

    // A box level with A, `gap` to the right of it.
    Body* RightOfA(int gap) { return AddBox(world, 140 + gap, 100, 180 + gap, 140); }

    PairList Pairs() {
        UpdateBodyGeometry(world);
        BuildBodyPairs(world);
        PairList out;
        for (const BodyPair& pair : world.bodyPairs) out.emplace_back(pair.first, pair.second);
        return out;
    }

    bool OverlapAsTheyAre(const Body* b) {
        return BoundsOverlap(a->boundsMin, a->boundsMax, b->boundsMin, b->boundsMax);
    }
};

TEST_F(BroadPhase, BoxesThreeApartArePairedOnlyThroughTheMarginAndFourApartNever) {
    Body* b = RightOfA(3);
    EXPECT_EQ(Pairs(), (PairList{{a, b}}));
    EXPECT_FALSE(OverlapAsTheyAre(b));

    ShiftBody(b, 1, 0);
    world.bodyPairs.Clear();
    EXPECT_EQ(Pairs(), PairList{});
    EXPECT_FALSE(OverlapAsTheyAre(b));
}

TEST_F(BroadPhase, TouchingBoxesReachTheNarrowPhaseOnlyInPairListMode) {
    RightOfA(0);
    UpdateBodyGeometry(world);
    CollideAllPairs(world);
    EXPECT_EQ(world.contacts.Size(), 0);

    BuildBodyPairs(world);
    CollidePairList(world);
    EXPECT_EQ(world.contacts.Size(), 1);  // of depth 0
}

TEST_F(BroadPhase, NeitherTheWorldBodyNorTwoImmovableBodiesArePaired) {
    world.worldBody->boundsMax = {640, 480};
    Body* fixed1 = AddBox(world, 110, 110, 150, 150, 0);
    Body* fixed2 = AddBox(world, 120, 90, 160, 130, 0);
    EXPECT_EQ(Pairs(), (PairList{{a, fixed1}, {a, fixed2}}));
}

TEST_F(BroadPhase, APairThatDriftsApartIsDroppedForTheRestOfTheStep) {
    Body* b = RightOfA(3);
    Body* c = AddBox(world, 100, 138, 140, 178);  // overlaps A from below by 2
    ASSERT_EQ(Pairs(), (PairList{{a, b}, {a, c}, {b, c}}));

    ShiftBody(b, 100, 0);
    UpdateBodyGeometry(world);
    CollidePairList(world);
    EXPECT_EQ(world.contacts.Size(), 1);  // A and C, after the dropped pair, were tested

    ShiftBody(b, -105, 0);  // back, now overlapping A by 2
    UpdateBodyGeometry(world);
    CollidePairList(world);
    EXPECT_EQ(world.bodyPairs.Size(), 1);
    EXPECT_VEC_EQ(BodyParticle(*b, 1)->position, 138, 100);  // not pushed out of A
}

// The search sweeps along x and sorts its finds back; what it lists must be
// what the plain walk over all pairs lists, in the walk's order. A crowd with
// boxes on the same spot, bodies of every size, immovable ones and equal
// left edges exercises the sweep's ties.
TEST_F(BroadPhase, TheSweepListsWhatTheWalkOverAllPairsLists) {
    std::mt19937 generator(11);
    auto coordinate = [&](int range) { return static_cast<int32_t>(generator() % range); };
    for (int i = 0; i < 300; ++i) {
        const int32_t x = coordinate(600) - 20;
        const int32_t y = i % 7 == 0 ? 200 : coordinate(440);
        const int32_t size = 4 + coordinate(70);
        AddBox(world, x, y, x + size, y + size, i % 5 == 0 ? 0 : 1);
    }
    const PairList listed = Pairs();

    PairList walked;
    const int32_t m = world.settings.PairMargin;
    for (const Body& first : world.bodies) {
        bool after = false;
        for (const Body& second : world.bodies) {
            if (&second == &first) {
                after = true;
                continue;
            }
            if (!after || first.id == kWorldBodyId || second.id == kWorldBodyId ||
                (first.mass == 0 && second.mass == 0)) {
                continue;
            }
            if (BoundsOverlap({first.boundsMin.x - m, first.boundsMin.y - m},
                              {first.boundsMax.x + m, first.boundsMax.y + m},
                              {second.boundsMin.x - m, second.boundsMin.y - m},
                              {second.boundsMax.x + m, second.boundsMax.y + m})) {
                walked.emplace_back(const_cast<Body*>(&first), const_cast<Body*>(&second));
            }
        }
    }
    ASSERT_GT(walked.size(), 300u);
    EXPECT_EQ(listed, walked);
}

}  // namespace

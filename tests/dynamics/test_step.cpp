#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "dynamics/step.h"
#include "tests/world/scene.h"

namespace {

TEST(Step, AWorldOfOnlyTheWorldBodyStaysAsItIs) {
    World world;
    StartWorld(world);
    StepWorld(world);
    EXPECT_EQ(world.bodies.Size(), 1);
    EXPECT_EQ(world.particles.Size(), 0);
    EXPECT_EQ(world.contacts.Size(), 0);
}

// How far the particle furthest outside the walls (1 <= x <= 639, 1 <= y <= 479) is out;
// infinite when a position is not a number.
double WorstExcursion(const World& world) {
    double worst = 0;
    for (const Particle& p : world.particles) {
        const Vec2& q = p.position;
        if (!std::isfinite(q.x) || !std::isfinite(q.y))
            return INFINITY;
        worst = std::max({worst, 1 - q.x, q.x - 639, 1 - q.y, q.y - 479});
    }
    return worst;
}

// Four boxes dropped onto each other near the middle and one across the
// bottom-left corner, stepped for five seconds of frames: after every step all
// are inside the walls; at the end they keep their shape and no longer overlap.
void DropACrowdAndLetItSettle(int8_t usePairList) {
    World world;
    StartWorld(world);
    world.settings.UsePairList = usePairList;
    std::vector<Body*> boxes;
    const int drops[][2] = {{320, 240}, {335, 248}, {310, 228}, {326, 262}, {12, 472}};
    for (const auto& at : drops) {
        DropBox(world, at[0], at[1]);
        boxes.push_back(world.bodies.Current());
    }
    for (int step = 1; step <= 300; ++step) {
        StepWorld(world);
        ASSERT_LE(WorstExcursion(world), 1.0) << "after step " << step;
        ASSERT_EQ(world.contacts.Size() + world.bodyPairs.Size(), 0);
    }
    for (size_t i = 0; i < boxes.size(); ++i) {
        for (int side = 1; side <= 4; ++side) {
            const Stick& s = *BodyStick(*boxes[i], side);
            const Vec2& a = s.particleA->position;
            const Vec2& b = s.particleB->position;
            EXPECT_NEAR(std::hypot(b.x - a.x, b.y - a.y), 40, 2) << "box " << i;
        }
        // Squares of side 40 that do not overlap have their centres at least 40 apart.
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const Vec2& a = boxes[i]->centre;
            const Vec2& b = boxes[j]->centre;
            EXPECT_GE(std::hypot(a.x - b.x, a.y - b.y), 38) << "boxes " << i << " and " << j;
        }
    }
}

TEST(Step, BoxesDroppedOntoEachOtherPushApartAndStayInsideTheWalls) {
    DropACrowdAndLetItSettle(1);
}

TEST(Step, BoxesDroppedOntoEachOtherPushApartWhenEveryPassSearchesAllPairs) {
    DropACrowdAndLetItSettle(0);
}

}  // namespace

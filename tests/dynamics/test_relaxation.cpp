#include <gtest/gtest.h>

#include <cmath>

#include "dynamics/relaxation.h"
#include "tests/world/scene.h"

namespace {

// A stick of rest length 40 from A at (0, 0) to B at (40, 0), then B pulled to (50, 0).
struct Relaxation : ::testing::Test {
    World world;
    Body* body = nullptr;
    Particle* a = nullptr;
    Particle* b = nullptr;

    void SetUp() override {
        StartWorld(world);
        body = CreateBody(world, 1, 1);
    }

    void Stretch(float massOfB = 1, float stiffness = 1) {
        a = CreateParticle(world, body, 0, 0);
        b = CreateParticle(world, CreateBody(world, massOfB, 1), 40, 0);
        CreateStick(world, body, a, b, stiffness);
        b->position.x = 50;
    }
};

TEST_F(Relaxation, AStretchedStickIsRestoredInOneVisitHalfByEachEnd) {
    Stretch();
    RelaxSticks(world);
    EXPECT_VEC_NEAR(a->position, 5, 0, 1e-5);
    EXPECT_VEC_NEAR(b->position, 45, 0, 1e-5);
}

TEST_F(Relaxation, AgainstAnImmovableEndTheStickClosesHalfItsErrorPerVisit) {
    Stretch(0);
    RelaxSticks(world);
    EXPECT_NEAR(a->position.x, 5, 1e-5);
    EXPECT_EQ(b->position.x, 50);
    RelaxSticks(world);
    EXPECT_NEAR(b->position.x - a->position.x, 42.5, 1e-5);
}

TEST_F(Relaxation, HalfStiffnessHalvesTheCorrection) {
    Stretch(1, 0.5f);
    RelaxSticks(world);
    EXPECT_NEAR(a->position.x, 2.5, 1e-5);
    EXPECT_NEAR(b->position.x, 47.5, 1e-5);
}

TEST_F(Relaxation, AStickWhoseEndsCoincideIsLeftAlone) {
    Stretch();
    b->position = a->position;
    RelaxSticks(world);
    EXPECT_VEC_EQ(a->position, 0, 0);
    EXPECT_VEC_EQ(b->position, 0, 0);
}

TEST_F(Relaxation, TheBracesHeldByTheWorldBodyAreRelaxedWithTheirBox) {
    Body* box = AddBox(world, 100, 100, 140, 140);
    BodyParticle(*box, 2)->position = {150, 90};
    RelaxSticks(world);
    // The last stick of the pass is the brace from bottom-right to top-left.
    const Vec2& from = BodyParticle(*box, 3)->position;
    const Vec2& to = BodyParticle(*box, 1)->position;
    EXPECT_NEAR(std::hypot(to.x - from.x, to.y - from.y), 56.5685, 1e-3);
}

}  // namespace

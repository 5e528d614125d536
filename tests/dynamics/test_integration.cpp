#include <gtest/gtest.h>

#include "dynamics/integration.h"
#include "dynamics/step.h"
#include "tests/world/scene.h"

namespace {

struct Integration : ::testing::Test {
    World world;
    Body* body = nullptr;

    void SetUp() override {
        StartWorld(world);
        body = CreateBody(world, 1, 1);
    }
};

TEST_F(Integration, AVelocityBeyondTheLimitKeepsOnlyTheOvershoot) {
    Particle* fast = AddMovedParticle(world, body, {100, 100}, {136, 148});   // moved 60
    Particle* limit = AddMovedParticle(world, body, {100, 200}, {130, 240});  // moved 50
    IntegrateParticles(world);
    EXPECT_VEC_EQ(fast->velocity, 6, 8);
    EXPECT_VEC_EQ(limit->velocity, 30, 40);
    EXPECT_VEC_EQ(fast->previous, 136, 148);
}

TEST_F(Integration, FullDampingStopsEveryParticle) {
    world.settings.Damping = 1;
    Particle* p = AddMovedParticle(world, body, {100, 100}, {104, 103});
    StepWorld(world);
    EXPECT_VEC_EQ(p->velocity, 0, 0);
    EXPECT_VEC_EQ(p->position, 104, 103);
}

TEST_F(Integration, EachPassAdvancesATenthOfTheVelocity) {
    Particle* p = AddMovedParticle(world, body, {95, 102}, {100, 100});
    IntegrateParticles(world);
    AdvanceParticles(world);
    EXPECT_VEC_EQ(p->position, 100.5, 99.8);
}

TEST_F(Integration, AFreeParticleMovesOnByItsMotionOfTheLastStep) {
    Particle* pushed = AddMovedParticle(world, body, {100, 100}, {103, 100});
    Particle* still = AddParticleAt(world, body, {200, 200});
    StepWorld(world);
    EXPECT_VEC_NEAR(pushed->position, 106, 100, 1e-9);
    EXPECT_VEC_EQ(pushed->previous, 103, 100);
    EXPECT_VEC_EQ(still->position, 200, 200);
}

TEST_F(Integration, ParticlesOfAnImmovableBodyStayAndAreSettledAtTheEndOfTheStep) {
    Particle* p = AddMovedParticle(world, CreateBody(world, 0, 1), {40, 40}, {50, 50});
    p->velocity = {7, 7};
    StepWorld(world);
    EXPECT_VEC_EQ(p->velocity, 7, 7);
    EXPECT_VEC_EQ(p->position, 50, 50);
    EXPECT_VEC_EQ(p->previous, 50, 50);
}

}  // namespace

#include <gtest/gtest.h>

#include "collision/walls.h"
#include "collision/contact_registry.h"
#include "tests/world/scene.h"

namespace {

struct Walls : ::testing::Test {
    World world;
    Body* body = nullptr;

    void SetUp() override {
        StartWorld(world);
        body = CreateBody(world, 1, 1);
    }
};

TEST_F(Walls, AParticleFarBelowTheFloorIsLiftedTenPerPassAndRecordedOnce) {
    Particle* p = AddParticleAt(world, body, {320, 504});
    CollideWalls(world);
    EXPECT_VEC_EQ(p->position, 320, 494);
    EXPECT_VEC_EQ(p->previous, 320, 504);
    ASSERT_EQ(world.contacts.Size(), 1);
    const Contact& c = *world.contacts.begin();
    EXPECT_EQ(c.kind, WallContact);
    EXPECT_EQ(c.particle, p);
    EXPECT_EQ(c.edgeA, nullptr);
    EXPECT_VEC_EQ(c.penetration, 0, 10);

    ClearContacts(world);
    CollideWalls(world);
    CollideWalls(world);
    EXPECT_VEC_EQ(p->position, 320, 479);
}

TEST_F(Walls, BeyondACornerBothWallsMoveTheParticleButOnlyTheFirstRecordsIt) {
    Particle* p = AddParticleAt(world, body, {-3, 483});
    CollideWalls(world);
    EXPECT_VEC_EQ(p->position, 1, 479);
    ASSERT_EQ(world.contacts.Size(), 1);
    EXPECT_VEC_EQ(world.contacts.begin()->penetration, -4, 0);  // the left wall's
}

TEST_F(Walls, ParticlesOnTheLineOrOfImmovableBodiesAreLeftAlone) {
    Particle* onFloor = AddParticleAt(world, body, {320, 479});
    Particle* fixed = AddParticleAt(world, CreateBody(world, 0, 1), {-20, -20});
    CollideWalls(world);
    EXPECT_VEC_EQ(onFloor->position, 320, 479);
    EXPECT_VEC_EQ(fixed->position, -20, -20);
    EXPECT_EQ(world.contacts.Size(), 0);
}

}  // namespace

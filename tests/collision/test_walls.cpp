#include <gtest/gtest.h>

#include "collision/walls.h"
#include "collision/contact_registry.h"
#include "world/factories.h"
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

// The four boundary walls fill one group of lanes; a wall made after them
// starts a second, and a particle outside it alone is still pushed back. A
// particle a hair outside a wall is not taken for one inside.
TEST_F(Walls, AWallBeyondTheFirstFourAndAHairOutsideCountAsMuchAsAnyOther) {
    CreateWall(world, 0, 400, 1, 0);  // y <= 400
    Particle* below = AddParticleAt(world, body, {320, 403});
    Particle* hair = AddParticleAt(world, body, {639.0001, 200});
    Particle* inside = AddParticleAt(world, body, {320, 200});
    CollideWalls(world);
    EXPECT_VEC_EQ(below->position, 320, 400);
    EXPECT_LT(hair->position.x, 639.0001);
    EXPECT_NEAR(hair->position.x, 639, 1e-6);
    EXPECT_VEC_EQ(inside->position, 320, 200);
    EXPECT_EQ(world.contacts.Size(), 2);
}

}  // namespace

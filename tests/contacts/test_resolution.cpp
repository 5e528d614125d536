#include <gtest/gtest.h>

#include "collision/contact_registry.h"
#include "contacts/resolution.h"
#include "tests/world/scene.h"

namespace {

struct Resolution : ::testing::Test {
    World world;
    Body* edgeBody = nullptr;
    Body* otherBody = nullptr;

    void SetUp() override {
        StartWorld(world);
        edgeBody = CreateBody(world, 1, 1);
        otherBody = CreateBody(world, 1, 1);
    }

    Particle* OnWall(Vec2 from, Vec2 at, Vec2 penetration) {
        Particle* p = AddMovedParticle(world, otherBody, from, at);
        CreateContact(world, nullptr, nullptr, p, penetration)->kind = WallContact;
        return p;
    }
};

TEST_F(Resolution, SlidingAlongAWallLosesATenthOfAPixelPerContactWhicheverWayItGoes) {
    Particle* right = OnWall({100, 470}, {103, 479}, {0, 2});  // on the floor
    Particle* left = OnWall({103, 470}, {100, 479}, {0, 2});
    Particle* down = OnWall({1, 200}, {1, 205}, {-3, 0});  // on the left wall
    ResolveContacts(world);
    EXPECT_VEC_NEAR(right->position, 102.9, 479, 1e-9);
    EXPECT_VEC_NEAR(left->position, 100.1, 479, 1e-9);
    EXPECT_VEC_NEAR(down->position, 1, 204.9, 1e-9);
    EXPECT_EQ(world.contacts.Size(), 0);
}

TEST_F(Resolution, SlidingShorterThanTheFrictionStepIsCancelled) {
    Particle* slow = OnWall({100, 470}, {100.05, 479}, {0, 2});
    Particle* straightIn = OnWall({200, 470}, {200, 479}, {0, 2});
    ResolveContacts(world);
    EXPECT_VEC_NEAR(slow->position, 100, 479, 1e-6);
    EXPECT_VEC_EQ(straightIn->position, 200, 479);
}

// An edge from A (0, 0) to B (10, 0) that has not moved in this step.
struct EdgeResolution : Resolution {
    Particle* a = nullptr;
    Particle* b = nullptr;

    void SetUp() override {
        Resolution::SetUp();
        a = AddParticleAt(world, edgeBody, {0, 0});
        b = AddParticleAt(world, edgeBody, {10, 0});
    }

    Particle* Slider(Vec2 from, Vec2 at) {
        Particle* p = AddMovedParticle(world, otherBody, from, at);
        CreateContact(world, a, b, p, {0, -2});
        return p;
    }
};

TEST_F(EdgeResolution, AParticleSlidingAlongAnEdgeDragsTheEdgeAlong) {
    Particle* p = Slider({4, 0}, {5, 0.5});
    ResolveContacts(world);
    EXPECT_VEC_NEAR(a->position, 0.2, 0, 1e-7);
    EXPECT_VEC_NEAR(b->position, 10.2, 0, 1e-7);
    EXPECT_VEC_NEAR(p->position, 4.6, 0.5, 1e-7);
    EXPECT_EQ(world.contacts.Size(), 0);
}

TEST_F(EdgeResolution, OnlyTheMotionOfTheSecondEndStandsForTheEdge) {
    a->previous = {-1, 0};
    Particle* p = Slider({4, 0}, {5, 0.5});
    ResolveContacts(world);
    EXPECT_VEC_NEAR(p->position, 4.6, 0.5, 1e-7);
}

TEST_F(EdgeResolution, SlowSlidingIsStoppedWithoutBeingReversed) {
    Particle* p = Slider({5, 0}, {5.3, 0.5});
    ResolveContacts(world);
    EXPECT_VEC_NEAR(a->position, 0.1, 0, 1e-6);
    EXPECT_VEC_NEAR(b->position, 10.1, 0, 1e-6);
    EXPECT_VEC_NEAR(p->position, 5.1, 0.5, 1e-6);
}

TEST_F(EdgeResolution, AnImmovableSliderStaysAndOnlyTheEdgeMoves) {
    otherBody->mass = 0;
    Particle* p = Slider({4, 0}, {5, 0.5});
    ResolveContacts(world);
    EXPECT_VEC_NEAR(a->position, 0.2, 0, 1e-7);
    EXPECT_VEC_NEAR(b->position, 10.2, 0, 1e-7);
    EXPECT_VEC_EQ(p->position, 5, 0.5);
}

TEST_F(EdgeResolution, EveryContactIsGoneAfterwardsWhateverItsKind) {
    Particle* p = Slider({4, 0}, {4, 0});
    OnWall({7, 1}, {7, 1}, {0, 1});
    CreateContact(world, a, b, p, {0, -1})->kind = 7;
    ResolveContacts(world);
    EXPECT_EQ(world.contacts.Size(), 0);
    EXPECT_VEC_EQ(p->position, 4, 0);
}

}  // namespace

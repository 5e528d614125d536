#include <gtest/gtest.h>

#include "collision/narrow_phase.h"
#include "dynamics/body_geometry.h"
#include "tests/world/scene.h"

namespace {

// Box A spans (100, 100) to (140, 140); box B, the same size, is placed below it.
struct NarrowPhase : ::testing::Test {
    World world;
    Body* a = nullptr;
    Body* b = nullptr;

    void SetUp() override { StartWorld(world); }

    void Stack(int bLeft, int bTop, int massA = 1, int massB = 1) {
        a = AddBox(world, 100, 100, 140, 140, massA);
        b = AddBox(world, bLeft, bTop, bLeft + 40, bTop + 40, massB);
        UpdateBodyGeometry(world);
    }

    Particle* A(int slot) { return BodyParticle(*a, slot); }
    Particle* B(int slot) { return BodyParticle(*b, slot); }

    void ExpectUnmoved(Body* body, double left, double top) {
        const double x[5] = {0, 0, 40, 40, 0};
        const double y[5] = {0, 0, 0, 40, 40};
        for (int i = 1; i <= 4; ++i) {
            SCOPED_TRACE(i);
            EXPECT_VEC_EQ(BodyParticle(*body, i)->position, left + x[i], top + y[i]);
        }
    }
};

TEST_F(NarrowPhase, AnUpperBoxSinkingTwoIntoALowerOneIsHitOnItsBottomSide) {
    Stack(100, 138);
    CollideBodies(world, a, b);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(BodyStick(*a, i)->collisionCount, i == 1 ? 1 : 0);
        EXPECT_EQ(BodyStick(*b, i)->collisionCount, 0);
    }
    ASSERT_EQ(world.contacts.Size(), 1);
    const Contact& c = *world.contacts.begin();
    EXPECT_EQ(c.kind, EdgeContact);
    EXPECT_EQ(c.edgeA, A(4));
    EXPECT_EQ(c.edgeB, A(3));
    EXPECT_EQ(c.particle, B(1));
    EXPECT_VEC_EQ(c.penetration, 0, -2);
    EXPECT_VEC_EQ(A(4)->position, 100, 139);
    EXPECT_VEC_EQ(A(3)->position, 140, 140);
    EXPECT_VEC_EQ(B(1)->position, 100, 139);
    EXPECT_VEC_EQ(B(2)->position, 140, 138);
}

TEST_F(NarrowPhase, BoxesHalfAPixelApartAreLeftAlone) {
    Stack(100, 140);
    ShiftBody(b, 0, 0.5);
    UpdateBodyGeometry(world);
    CollideBodies(world, a, b);
    EXPECT_EQ(world.contacts.Size(), 0);
    EXPECT_EQ(BodyStick(*a, 1)->collisionCount, 0);
    ExpectUnmoved(a, 100, 100);
    ExpectUnmoved(b, 100, 140.5);
}

TEST_F(NarrowPhase, TouchingBoxesRecordAContactOfDepthZeroAndStayPut) {
    Stack(100, 140);
    CollideBodies(world, a, b);
    ASSERT_EQ(world.contacts.Size(), 1);
    EXPECT_VEC_EQ(world.contacts.begin()->penetration, 0, 0);
    EXPECT_EQ(BodyStick(*a, 1)->collisionCount, 1);
    ExpectUnmoved(a, 100, 100);
    ExpectUnmoved(b, 100, 140);
}

TEST_F(NarrowPhase, AnImmovableVertexBodyLeavesTheWholeCorrectionToTheEdge) {
    Stack(110, 138, 1, 0);
    CollideBodies(world, a, b);
    EXPECT_VEC_EQ(A(4)->position, 100, 138.5);
    EXPECT_VEC_EQ(A(3)->position, 140, 139.5);
    ExpectUnmoved(b, 110, 138);
}

TEST_F(NarrowPhase, AnImmovableEdgeBodyLeavesTheWholeCorrectionToTheVertex) {
    Stack(110, 138, 0, 1);
    CollideBodies(world, a, b);
    ExpectUnmoved(a, 100, 100);
    EXPECT_VEC_EQ(B(1)->position, 110, 140);
    EXPECT_VEC_EQ(B(2)->position, 150, 138);
}

TEST_F(NarrowPhase, AnEdgeOfZeroLengthMovesNothing) {
    // A collapsed body: two particles on one spot joined by its only stick, inside box B.
    Body* collapsed = CreateBody(world, 1, 1);
    Particle* end1 = CreateParticle(world, collapsed, 100, 150);
    Particle* end2 = CreateParticle(world, collapsed, 100, 150);
    CreateStick(world, collapsed, end1, end2, 1);
    b = AddBox(world, 90, 130, 130, 170);
    UpdateBodyGeometry(world);
    CollideBodies(world, collapsed, b);
    EXPECT_VEC_EQ(end1->position, 100, 150);
    EXPECT_VEC_EQ(end2->position, 100, 150);
    ExpectUnmoved(b, 90, 130);
}

TEST_F(NarrowPhase, ATriangleCanBeHitOnItsLastStick) {
    // Seven candidate axes: the box's four, then the triangle's three, the
    // last of them the slanted edge x + y = 279 that the box's lower right
    // corner (140, 140) went through.
    a = AddBox(world, 100, 100, 140, 140);
    Body* triangle = CreateBody(world, 1, 1);
    Particle* t1 = CreateParticle(world, triangle, 189, 90);
    Particle* t2 = CreateParticle(world, triangle, 99, 180);
    Particle* t3 = CreateParticle(world, triangle, 200, 200);
    CreateStick(world, triangle, t2, t3, 1);
    CreateStick(world, triangle, t3, t1, 1);
    Stick* slanted = CreateStick(world, triangle, t1, t2, 1);
    UpdateBodyGeometry(world);
    CollideBodies(world, a, triangle);

    EXPECT_EQ(slanted->collisionCount, 1);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(BodyStick(*a, i)->collisionCount, 0);
    ASSERT_EQ(world.contacts.Size(), 1);
    const Contact& c = *world.contacts.begin();
    EXPECT_EQ(c.particle, A(3));
    EXPECT_EQ(c.edgeA, t1);
    EXPECT_EQ(c.edgeB, t2);
    // The corner goes back up and left, the edge down and right.
    EXPECT_LT(A(3)->position.x, 140);
    EXPECT_LT(A(3)->position.y, 140);
    EXPECT_GT(t1->position.x + t1->position.y, 279);
    EXPECT_GT(t2->position.x + t2->position.y, 279);
}

}  // namespace

#include <gtest/gtest.h>

#include <vector>

#include "tests/world/scene.h"

namespace {

template <typename T>
std::vector<T*> Records(OrderedList<T>& list) {
    std::vector<T*> out;
    list.Reset();
    while (T* record = list.Next()) out.push_back(record);
    return out;
}

TEST(Factories, StartUpMakesTheWorldBodyAndFourWallsFacingIntoTheScreen) {
    World world;
    StartWorld(world);
    ASSERT_EQ(world.bodies.Size(), 1);
    const Body& worldBody = *world.worldBody;
    EXPECT_EQ(worldBody.id, 1);
    EXPECT_EQ(worldBody.mass, 1.0f);
    EXPECT_EQ(worldBody.friction, 0.0f);
    EXPECT_EQ(world.nextBodyId, 2);

    std::vector<Wall*> walls = Records(world.walls);
    ASSERT_EQ(walls.size(), 4u);
    // top, left, right, bottom: the inner sides are y >= 1, x >= 1, x <= 639, y <= 479
    const double expected[4][4] = {{1, 1, 0, 1}, {1, 1, 1, 0}, {639, 0, -1, 0}, {0, 479, 0, -1}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_VEC_EQ(walls[i]->point, expected[i][0], expected[i][1]);
        EXPECT_VEC_EQ(walls[i]->normal, expected[i][2], expected[i][3]);
    }
}

TEST(Factories, ADroppedBoxHasItsCornersAndSidesInOrderAndItsBracesInTheWorldBody) {
    World world;
    StartWorld(world);
    DropBox(world, 320, 240);
    Body* box = world.bodies.Current();
    EXPECT_EQ(box->id, 2);
    EXPECT_EQ(box->friction, 1.0f);

    std::vector<Particle*> p = Records(world.particles);
    ASSERT_EQ(p.size(), 4u);
    ASSERT_EQ(box->particleCount, 4);
    const double corners[4][2] = {{300, 220}, {340, 220}, {340, 260}, {300, 260}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p[i]->id, i + 1);
        EXPECT_EQ(BodyParticle(*box, i + 1), p[i]);
        EXPECT_EQ(p[i]->body, box);
        EXPECT_VEC_EQ(p[i]->position, corners[i][0], corners[i][1]);
    }

    std::vector<Stick*> s = Records(world.sticks);
    ASSERT_EQ(s.size(), 6u);
    // bottom, right, top, left, then top-right to bottom-left and bottom-right to top-left
    const int ends[6][2] = {{3, 2}, {2, 1}, {1, 0}, {0, 3}, {1, 3}, {2, 0}};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(s[i]->particleA, p[ends[i][0]]);
        EXPECT_EQ(s[i]->particleB, p[ends[i][1]]);
        EXPECT_EQ(s[i]->restLength, i < 4 ? 40.0f : 56.56854248046875f);
        EXPECT_EQ(s[i]->body, i < 4 ? box : world.worldBody);
    }
    for (int i = 0; i < 4; ++i) EXPECT_EQ(BodyStick(*box, i + 1), s[i]);
    EXPECT_EQ(box->stickCount, 4);
    EXPECT_EQ(world.worldBody->stickCount, 0);
}

// Before any step: a box dropped while the world is paused already has the
// centre its shadow fans from and the bounds the study view draws.
TEST(Factories, ADroppedBoxIsMeasuredAsItIsMade) {
    World world;
    StartWorld(world);
    DropBox(world, 320, 240);
    CreateBox(world, 10, 20, 50, 100, 1, 1.0, 1.0, 0);
    auto box = world.bodies.begin();
    ++box;  // past the world body
    EXPECT_VEC_EQ(box->centre, 320, 240);
    EXPECT_VEC_EQ(box->boundsMin, 300, 220);
    EXPECT_VEC_EQ(box->boundsMax, 340, 260);
    ++box;
    EXPECT_VEC_EQ(box->centre, 30, 60);
    EXPECT_VEC_EQ(box->boundsMin, 10, 20);
    EXPECT_VEC_EQ(box->boundsMax, 50, 100);
    EXPECT_VEC_EQ(world.worldBody->centre, 0, 0);
}

TEST(Factories, TheWorldBodyHoldsTheBracesOfAnyNumberOfBoxesWithoutSlots) {
    World world;
    StartWorld(world);
    for (int i = 0; i < 600; ++i) DropBox(world, 100 + i % 400, 100 + i % 250);
    EXPECT_EQ(world.sticks.Size(), 3600);
    EXPECT_EQ(world.worldBody->stickCount, 0);
    EXPECT_EQ(world.bodies.Current()->id, 601);
    EXPECT_EQ(world.particles.Current()->id, 2400);
}

TEST(Factories, ABoxThatKeepsItsBracesHoldsThemInSlotsFiveAndSix) {
    World world;
    StartWorld(world);
    CreateBox(world, 0, 0, 30, 40, 1, 1.0, 1.0, 0);
    Body* box = world.bodies.Current();
    ASSERT_EQ(box->stickCount, 6);
    auto p = [&](int slot) { return BodyParticle(*box, slot); };
    EXPECT_EQ(BodyStick(*box, 5)->particleA, p(2));
    EXPECT_EQ(BodyStick(*box, 5)->particleB, p(4));
    EXPECT_EQ(BodyStick(*box, 6)->particleA, p(3));
    EXPECT_EQ(BodyStick(*box, 6)->particleB, p(1));
    EXPECT_EQ(BodyStick(*box, 6)->body, box);
    EXPECT_EQ(BodyStick(*box, 6)->restLength, 50.0f);
}

TEST(Factories, RefusedRequestsCreateNothing) {
    World world;
    StartWorld(world);
    Body* body = CreateBody(world, 1, 1);
    Particle* a = CreateParticle(world, body, 5, 5);
    EXPECT_EQ(CreateStick(world, body, a, a, 1), nullptr);
    EXPECT_EQ(world.sticks.Size(), 0);
    EXPECT_EQ(body->stickCount, 0);
    EXPECT_EQ(world.nextParticleId, 2);
    EXPECT_EQ(world.nextBodyId, 3);

    EXPECT_EQ(CreateWall(world, 10, 10, 0, 0), nullptr);
    EXPECT_EQ(world.walls.Size(), 4);

    Particle* twin = CreateParticle(world, body, 5, 5);  // a distinct particle at one place is fine
    ASSERT_NE(CreateStick(world, body, a, twin, 1), nullptr);
    EXPECT_EQ(world.sticks.Current()->restLength, 0.0f);
}

TEST(Factories, ABodyTakesAtMost999ParticlesAnd999Sticks) {
    World world;
    StartWorld(world);
    Body* body = CreateBody(world, 1, 1);
    for (int i = 0; i < 999; ++i) ASSERT_NE(CreateParticle(world, body, i, 0), nullptr);
    EXPECT_EQ(CreateParticle(world, body, 0, 1), nullptr);
    EXPECT_EQ(body->particleCount, 999);
    EXPECT_EQ(world.particles.Size(), 999);
    EXPECT_EQ(world.nextParticleId, 1000);

    for (int slot = 1; slot <= 999; ++slot) EXPECT_EQ(BodyParticle(*body, slot)->position.x, slot - 1);

    Particle* a = BodyParticle(*body, 1);
    Particle* b = BodyParticle(*body, 2);
    for (int i = 0; i < 999; ++i) ASSERT_NE(CreateStick(world, body, a, b, 1), nullptr);
    EXPECT_EQ(BodyStick(*body, 999), world.sticks.Current());
    EXPECT_EQ(CreateStick(world, body, b, a, 1), nullptr);
    EXPECT_EQ(body->stickCount, 999);
    EXPECT_EQ(world.sticks.Size(), 999);
}

}  // namespace

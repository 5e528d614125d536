#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/dynamics/sandbox_scenes.h"
#include "tests/world/scene.h"

namespace {

TEST(Shapes, TheFortyBoxIsTheDroppedBoxBitForBit) {
    World shape;
    World box;
    StartWorld(shape);
    StartWorld(box);
    DropShape(shape, Shape::Box40, 123, 77);
    DropBox(box, 123, 77);
    ASSERT_EQ(shape.particles.Size(), box.particles.Size());
    ASSERT_EQ(shape.sticks.Size(), box.sticks.Size());
    auto p = box.particles.begin();
    for (const Particle& q : shape.particles) {
        EXPECT_EQ(std::memcmp(&q.position, &p->position, sizeof(Vec2)), 0);
        EXPECT_EQ(q.id, p->id);
        ++p;
    }
    auto s = box.sticks.begin();
    for (const Stick& t : shape.sticks) {
        EXPECT_EQ(t.particleA->id, s->particleA->id);
        EXPECT_EQ(t.particleB->id, s->particleB->id);
        EXPECT_EQ(t.restLength, s->restLength);
        EXPECT_EQ(t.body->id, s->body->id);
        ++s;
    }
}

struct Expected {
    Shape shape;
    int32_t corners;
    int32_t braces;
    double shortSide;
    double longSide;
};

TEST(Shapes, EachIsOneConvexBodyWithItsSidesBracedByTheWorldBodyAndCentredWhereDropped) {
    const Expected all[] = {
        {Shape::SmallBox, 4, 2, 20, 20}, {Shape::BigBox, 4, 2, 80, 80},
        {Shape::Plank, 4, 2, 20, 120},   {Shape::Triangle, 3, 0, 48, 48},
        {Shape::Hexagon, 6, 6, 26, 26},
    };
    for (const Expected& e : all) {
        SCOPED_TRACE(std::string(ShapeName(e.shape)));
        World world;
        StartWorld(world);
        DropShape(world, e.shape, 300, 200);
        const Body& body = *world.bodies.Current();
        ASSERT_EQ(body.particleCount, e.corners);
        ASSERT_EQ(body.stickCount, e.corners);
        EXPECT_EQ(world.sticks.Size(), e.corners + e.braces);
        EXPECT_EQ(body.mass, 1.0f);
        for (int32_t i = 1; i <= body.stickCount; ++i) {
            const float length = BodyStick(body, i)->restLength;
            EXPECT_TRUE(std::fabs(length - e.shortSide) < 1e-4 ||
                        std::fabs(length - e.longSide) < 1e-4)
                << length;
        }
        for (const Stick& stick : world.sticks) {
            if (stick.body != &body) {
                EXPECT_EQ(stick.body, world.worldBody);
            }
        }
        double x = 0, y = 0;
        for (int32_t i = 1; i <= body.particleCount; ++i) {
            x += BodyParticle(body, i)->position.x / body.particleCount;
            y += BodyParticle(body, i)->position.y / body.particleCount;
        }
        EXPECT_NEAR(x, 300, 1e-4);
        EXPECT_NEAR(y, 200, 1e-4);
        // Measured as it is made, before any step: the same sum, term by term.
        EXPECT_EQ(body.centre.x, x);
        EXPECT_EQ(body.centre.y, y);
        EXPECT_TRUE(IsConvexAsMade(body));
    }
}

TEST(Shapes, NamesReadBackAndTheChoiceGoesRound) {
    Shape shape = Shape::Box40;
    for (int32_t i = 0; i < kShapeCount; ++i) {
        Shape read{};
        ASSERT_TRUE(ShapeFromName(ShapeName(shape), read));
        EXPECT_EQ(read, shape);
        shape = NextShape(shape);
    }
    EXPECT_EQ(shape, Shape::Box40);
    Shape untouched = Shape::Plank;
    EXPECT_FALSE(ShapeFromName("circle", untouched));
    EXPECT_EQ(untouched, Shape::Plank);
}

TEST(Shapes, APolygonBodyNeedsThreeToSixCorners) {
    World world;
    StartWorld(world);
    const ShapeCorner two[2] = {{0, 0}, {10, 0}};
    EXPECT_EQ(CreatePolygonBody(world, two, 2, nullptr, 0), nullptr);
    EXPECT_EQ(world.bodies.Size(), 1);
}

}  // namespace

#include <gtest/gtest.h>

#include "collision/contact_registry.h"
#include "tests/world/scene.h"

namespace {

// Edge contacts are looked up by the particle and by the first end of the existing edge.
TEST(ContactRegistry, AContactMatchesTheSameParticleOnAnEdgeSharingItsFirstEnd) {
    World world;
    StartWorld(world);
    Body* body = CreateBody(world, 1, 1);
    Particle* p1 = CreateParticle(world, body, 0, 0);
    Particle* p2 = CreateParticle(world, body, 10, 0);
    Particle* p3 = CreateParticle(world, body, 10, 10);
    Particle* v = CreateParticle(world, CreateBody(world, 1, 1), 5, 1);
    auto found = [&](int16_t kind, Particle* a, Particle* b, Particle* particle) {
        return FindContact(world, Contact{kind, a, b, particle, {0, 0}});
    };

    EXPECT_FALSE(found(EdgeContact, p1, p2, v));
    CreateContact(world, p1, p2, v, {0, -1});
    EXPECT_TRUE(found(EdgeContact, p2, p1, v));
    EXPECT_TRUE(found(EdgeContact, p1, p3, v));
    EXPECT_FALSE(found(EdgeContact, p2, p3, v));
    EXPECT_FALSE(found(EdgeContact, p1, p2, p3));
    EXPECT_TRUE(found(WallContact, nullptr, nullptr, v));

    ClearContacts(world);
    CreateContact(world, nullptr, nullptr, v, {0, 1})->kind = WallContact;
    EXPECT_TRUE(found(EdgeContact, p2, p3, v));  // a wall contact blocks every later one
    EXPECT_FALSE(found(EdgeContact, p2, v, p1));
}

}  // namespace

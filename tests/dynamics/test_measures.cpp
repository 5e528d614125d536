#include <gtest/gtest.h>

#include "dynamics/measures.h"
#include "dynamics/step.h"
#include "world/factories.h"
#include "world/world.h"

namespace {

// The first body after the world body, and the one after it.
Body& NthBox(World& world, int n) {
    world.bodies.Reset();
    world.bodies.Next();  // the world body
    Body* body = nullptr;
    for (int i = 0; i < n; ++i) {
        body = world.bodies.Next();
    }
    return *body;
}

void Shift(Particle& p, double dx, double dy) {
    p.position.x += dx;
    p.position.y += dy;
}

// Box A (mass 1) moved (3, 4) in every corner: 4 × ½ × 1 × 25 = 50. Box B
// (mass 2) moved (1, 0) in every corner: 4 × ½ × 2 × 1 = 4. An immovable box
// moved (5, 0) counts nothing. Moved whole, no stick is stretched (the braces
// differ from their rest lengths by the rounding of those to floats); then
// A's top side stretched to 43 is the worst stick.
TEST(Measures, TwoBoxesByHand) {
    World world;
    StartWorld(world);
    CreateBox(world, 100, 100, 140, 140, 1, 1, 1, 1);
    CreateBox(world, 300, 100, 340, 140, 2, 1, 1, 1);
    CreateBox(world, 500, 100, 540, 140, 0, 1, 1, 1);
    Body& a = NthBox(world, 1);
    for (int32_t slot = 1; slot <= 4; ++slot) {
        Shift(*BodyParticle(a, slot), 3, 4);
    }
    for (int32_t slot = 1; slot <= 4; ++slot) {
        Shift(*BodyParticle(NthBox(world, 2), slot), 1, 0);
        Shift(*BodyParticle(NthBox(world, 3), slot), 5, 0);
    }
    EXPECT_EQ(KineticEnergy(world), 54);
    EXPECT_NEAR(LargestStickError(world), 0, 1e-5);

    Shift(*BodyParticle(a, 2), 3, 0);  // top-right corner: the top side is now 43 long
    EXPECT_EQ(LargestStickError(world), 3);
}

// The contact count is the study trace's, whether the trace is collected or not.
TEST(Measures, ContactsOfTheLastPassMatchTheTrace) {
    World traced;
    World plain;
    for (World* world : {&traced, &plain}) {
        StartWorld(*world);
        CreateBox(*world, 100, 100, 140, 140, 1, 1, 1, 1);
        CreateBox(*world, 120, 120, 160, 160, 1, 1, 1, 1);  // overlapping the first
        CreateBox(*world, 300, 455, 340, 495, 1, 1, 1, 1);  // through the floor
    }
    traced.trace.collecting = true;
    int32_t seen = 0;
    for (int step = 0; step < 5; ++step) {
        StepWorld(traced);
        StepWorld(plain);
        EXPECT_EQ(traced.lastPassContacts, static_cast<int32_t>(traced.trace.contacts.size()));
        EXPECT_EQ(plain.lastPassContacts, traced.lastPassContacts);
        seen += traced.lastPassContacts;
    }
    EXPECT_GT(seen, 0);
    const PassFigures figures = MeasureWorld(plain);
    EXPECT_EQ(figures.contacts, plain.lastPassContacts);
    EXPECT_EQ(figures.kineticEnergy, KineticEnergy(plain));
}

}  // namespace

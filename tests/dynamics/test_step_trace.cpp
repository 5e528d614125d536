// The study view's moments of a step: the most stretched stick, the deepest
// wall push, the separation along the edge and the friction of the last edge
// contact. Collecting them changes nothing the step does.

#include <gtest/gtest.h>

#include <cmath>

#include "collision/contact_registry.h"
#include "collision/narrow_phase.h"
#include "contacts/resolution.h"
#include "dynamics/body_geometry.h"
#include "dynamics/step.h"
#include "tests/world/scene.h"

namespace {

// Two boxes dropped overlapping each other and one dropped 26 beyond the
// right wall (x 639), as the tour drops them.
void DropTourScene(World& world) {
    StartWorld(world);
    DropBox(world, 300, 240);
    DropBox(world, 330, 250);
    DropBox(world, 645, 240);
}

TEST(StepTrace, CollectingTheMomentsMovesEveryParticleExactlyAsWithout) {
    World traced;
    World plain;
    DropTourScene(traced);
    DropTourScene(plain);
    traced.trace.collecting = true;
    for (int step = 0; step < 5; ++step) {
        StepWorld(traced);
        StepWorld(plain);
    }
    auto t = traced.particles.begin();
    for (const Particle& p : plain.particles) {
        EXPECT_EQ(t->position.x, p.position.x);
        EXPECT_EQ(t->position.y, p.position.y);
        EXPECT_EQ(t->previous.x, p.previous.x);
        EXPECT_EQ(t->previous.y, p.previous.y);
        ++t;
    }
    // Nothing is noted while the view is off.
    EXPECT_EQ(plain.trace.stretch.pass, 0);
    EXPECT_EQ(plain.trace.wallPush.pass, 0);
    EXPECT_EQ(plain.trace.separation.pass, 0);
    EXPECT_EQ(plain.trace.friction.pass, 0);
}

TEST(StepTrace, AWallPushesAParticle26BeyondItByTenInTheFirstPass) {
    World world;
    StartWorld(world);
    world.trace.collecting = true;
    DropBox(world, 645, 240);
    StepWorld(world);
    const StudyTrace::WallPushMark& push = world.trace.wallPush;
    EXPECT_EQ(push.pass, 1);
    EXPECT_EQ(push.depth, 26);
    EXPECT_VEC_EQ(push.from, 665, 220);  // the top-right corner, first of the two
    EXPECT_VEC_EQ(push.to, 655, 220);
}

TEST(StepTrace, TheMostStretchedStickIsNearerItsLengthAfterItsRelaxation) {
    World world;
    DropTourScene(world);
    world.trace.collecting = true;
    StepWorld(world);
    const StudyTrace::StretchMark& stretch = world.trace.stretch;
    // Dropped at rest, every stick has its length until the first pass's
    // pushes; the wall shortened the third box's top and bottom sides by 10.
    EXPECT_EQ(stretch.pass, 2);
    EXPECT_EQ(stretch.before, -10);
    EXPECT_LT(std::fabs(stretch.after), 0.1f);
    // A new step notes its own moments only.
    StepWorld(world);
    EXPECT_LT(std::fabs(world.trace.stretch.before), 10);
    EXPECT_EQ(world.trace.wallPush.pass, 0);
}

// Box A above box B, overlapping by 2: B's top-left corner goes through A's
// bottom side at its first end.
TEST(StepTrace, TheSeparationNotesWhereAlongTheEdgeTheCornerLayAndWhereTheEdgeWent) {
    World world;
    StartWorld(world);
    world.trace.collecting = true;
    world.trace.pass = 3;
    Body* a = AddBox(world, 100, 100, 140, 140);
    Body* b = AddBox(world, 100, 138, 140, 178);
    UpdateBodyGeometry(world);
    CollideBodies(world, a, b);
    const StudyTrace::SeparationMark& mark = world.trace.separation;
    EXPECT_EQ(mark.pass, 3);
    EXPECT_EQ(mark.depth, 2);
    EXPECT_EQ(mark.along, 0);
    EXPECT_VEC_EQ(mark.edgeA, 100, 140);
    EXPECT_VEC_EQ(mark.edgeAAfter, 100, 139);  // half the push, all at the near end
    EXPECT_VEC_EQ(mark.edgeBAfter, 140, 140);
    EXPECT_VEC_EQ(mark.corner, 100, 138);
    EXPECT_VEC_EQ(mark.cornerAfter, 100, 139);
}

// A at (0, 0) and B at (10, 0) have not moved in this step; P moved from
// (4, 0) to (5, 0.5) and went 2 deep: friction takes 0.2 off each edge end's
// sliding and twice that off P's.
TEST(StepTrace, FrictionNotesTheSlidingAlongTheEdgeBeforeAndAfter) {
    World world;
    StartWorld(world);
    world.trace.collecting = true;
    world.trace.pass = 7;
    Body* edgeBody = CreateBody(world, 1, 1);
    Body* other = CreateBody(world, 1, 1);
    Particle* a = AddParticleAt(world, edgeBody, {0, 0});
    Particle* b = AddParticleAt(world, edgeBody, {10, 0});
    Particle* p = AddMovedParticle(world, other, {4, 0}, {5, 0.5});
    CreateContact(world, a, b, p, {0, -2});
    ResolveContacts(world);
    const StudyTrace::FrictionMark& mark = world.trace.friction;
    EXPECT_EQ(mark.pass, 7);
    EXPECT_EQ(mark.before, -1);
    EXPECT_NEAR(mark.after, -0.4, 1e-6);
    EXPECT_VEC_NEAR(mark.particle, 4.6, 0.5, 1e-6);
    EXPECT_VEC_EQ(mark.tangent, 1, 0);
}

}  // namespace

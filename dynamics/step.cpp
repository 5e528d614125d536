#include "dynamics/step.h"

#include "collision/broad_phase.h"
#include "collision/walls.h"
#include "contacts/resolution.h"
#include "dynamics/body_geometry.h"
#include "dynamics/drag.h"
#include "dynamics/integration.h"
#include "dynamics/relaxation.h"
#include "dynamics/rest.h"

namespace {

void CollideBodyPairs(World& world, int32_t iteration) {
    if (world.settings.UsePairList == 0) {
        CollideAllPairs(world);
        return;
    }
    // The candidates are found once, from the bounds of the first pass, and
    // only re-tested in the passes after it.
    if (iteration == 1) {
        BuildBodyPairs(world);
    }
    CollidePairList(world);
}

// The study view's record of this pass's contacts, before they are resolved
// and cleared.
void TraceContacts(World& world) {
    world.trace.contacts.clear();
    for (const Contact& contact : world.contacts) {
        world.trace.contacts.push_back({contact.particle->position, contact.penetration});
    }
}

void TracePairs(World& world) {
    world.trace.pairs.clear();
    for (const BodyPair& pair : world.bodyPairs) {
        world.trace.pairs.push_back({pair.first->centre, pair.second->centre});
    }
}

}  // namespace

void StepWorld(World& world) {
    if (world.trace.collecting) {
        world.trace.separation = {};
    }
    IntegrateParticles(world);
    // The count is read again at every test, as the loop runs.
    for (int32_t iteration = 1; iteration <= world.settings.IterationCount; ++iteration) {
        world.trace.pass = iteration;
        AdvanceParticles(world);
        UpdateBodyGeometry(world);
        RelaxSticks(world);
        if (IsGrabbing(world)) {
            PullGrabbedParticle(world);
        }
        CollideWalls(world);
        CollideBodyPairs(world, iteration);
        if (iteration == world.settings.IterationCount) {
            world.lastPassContacts = world.contacts.Size();
            if (world.trace.collecting) {
                TraceContacts(world);
            }
        }
        ResolveContacts(world);
    }
    SettleImmovable(world);
    if (world.trace.collecting) {
        TracePairs(world);
    }
    UpdateRest(world);
    world.bodyPairs.Clear();
}

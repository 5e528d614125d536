#include "dynamics/step.h"

#include <cmath>

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

// One relaxation of every stick; for the study view, the stick furthest
// from its rest length as it begins is noted when it is further off than
// any noted before in this step.
void RelaxSticksTraced(World& world) {
    const Stick* worst = nullptr;
    float error = 0;
    for (const Stick& stick : world.sticks) {
        const float e = StickLengthError(stick);
        if (std::fabs(e) > std::fabs(error)) {
            worst = &stick;
            error = e;
        }
    }
    RelaxSticks(world);
    StudyTrace::StretchMark& mark = world.trace.stretch;
    if (worst != nullptr && std::fabs(error) > std::fabs(mark.before)) {
        mark = {world.trace.pass, error, StickLengthError(*worst), worst->particleA->position,
                worst->particleB->position};
    }
}

}  // namespace

void StepWorld(World& world) {
    if (world.trace.collecting) {
        world.trace.separation = {};
        world.trace.stretch = {};
        world.trace.wallPush = {};
        world.trace.friction = {};
    }
    IntegrateParticles(world);
    // The count is read again at every test, as the loop runs.
    for (int32_t iteration = 1; iteration <= world.settings.IterationCount; ++iteration) {
        world.trace.pass = iteration;
        AdvanceParticles(world);
        UpdateBodyGeometry(world);
        if (world.trace.collecting) {
            RelaxSticksTraced(world);
        } else {
            RelaxSticks(world);
        }
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

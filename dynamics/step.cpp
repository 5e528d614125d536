#include "dynamics/step.h"

#include "collision/broad_phase.h"
#include "collision/walls.h"
#include "contacts/resolution.h"
#include "dynamics/body_geometry.h"
#include "dynamics/integration.h"
#include "dynamics/relaxation.h"

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

}  // namespace

void StepWorld(World& world) {
    IntegrateParticles(world);
    // The count is read again at every test, as the loop runs.
    for (int32_t iteration = 1; iteration <= world.settings.IterationCount; ++iteration) {
        AdvanceParticles(world);
        UpdateBodyGeometry(world);
        RelaxSticks(world);
        CollideWalls(world);
        CollideBodyPairs(world, iteration);
        ResolveContacts(world);
    }
    SettleImmovable(world);
    world.bodyPairs.Clear();
}

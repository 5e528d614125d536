#include "bench/crowd_scene.h"

#include <sstream>

#include "dynamics/gravity.h"
#include "dynamics/step.h"
#include "tools/sim/crowd.h"
#include "world/shapes.h"

void BuildCrowd(Session& sim, int32_t boxes) {
    StartSession(sim);
    std::istringstream script(CrowdScript(boxes, kSettlePasses));
    std::ostringstream out;
    RunScript(sim, script, out, out, nullptr);
}

void BuildMixedCrowd(Session& sim, int32_t bodies) {
    constexpr Shape kMix[] = {Shape::Box40, Shape::SmallBox, Shape::Plank, Shape::Triangle,
                              Shape::Hexagon};
    StartSession(sim);
    SetGravity(sim.world, true);
    int32_t i = 0;
    for (auto [x, y] : CrowdDrops(bodies)) {
        DropShape(sim.world, kMix[i++ % 5], x, y);
    }
    for (int32_t pass = 0; pass < kSettlePasses; ++pass) {
        StepWorld(sim.world);
    }
}

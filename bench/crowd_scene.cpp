#include "bench/crowd_scene.h"

#include <sstream>

#include "tools/sim/crowd.h"

void BuildCrowd(Sim& sim, int32_t boxes) {
    StartSim(sim);
    std::istringstream script(CrowdScript(boxes, kSettlePasses));
    std::ostringstream out;
    RunScript(sim, script, out, out, nullptr);
}

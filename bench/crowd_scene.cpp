#include "bench/crowd_scene.h"

#include <sstream>

#include "tools/sim/crowd.h"

void BuildCrowd(Session& sim, int32_t boxes) {
    StartSession(sim);
    std::istringstream script(CrowdScript(boxes, kSettlePasses));
    std::ostringstream out;
    RunScript(sim, script, out, out, nullptr);
}

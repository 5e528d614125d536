#include "tools/sim/crowd.h"

#include <random>

std::vector<std::pair<int32_t, int32_t>> CrowdDrops(int32_t boxes, uint32_t seed) {
    // mt19937's sequence is fixed by the language standard (the
    // distributions are not), so the scene is the same on every machine.
    std::mt19937 generator(seed);
    std::vector<std::pair<int32_t, int32_t>> drops;
    for (int32_t i = 0; i < boxes; ++i) {
        int32_t x = static_cast<int32_t>(generator() % 640);
        int32_t y = static_cast<int32_t>(generator() % 480);
        drops.emplace_back(x, y);
    }
    return drops;
}

std::string CrowdScript(int32_t boxes, int32_t settlePasses, uint32_t seed) {
    std::string script = "# crowd of " + std::to_string(boxes) + ", seed " + std::to_string(seed) +
                         "\nmouse 320 240\n";
    for (auto [x, y] : CrowdDrops(boxes, seed)) {
        script += "box " + std::to_string(x) + " " + std::to_string(y) + "\n";
    }
    script += "step " + std::to_string(settlePasses) + "\n";
    return script;
}

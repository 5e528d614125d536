#include "tools/sim/crowd.h"

#include <random>

std::string CrowdScript(int32_t boxes, int32_t settlePasses, uint32_t seed) {
    // mt19937's sequence is fixed by the language standard (the
    // distributions are not), so the scene is the same on every machine.
    std::mt19937 generator(seed);
    std::string script = "# crowd of " + std::to_string(boxes) + ", seed " +
                         std::to_string(seed) + "\nmouse 320 240\n";
    for (int32_t i = 0; i < boxes; ++i) {
        uint32_t x = generator() % 640;
        uint32_t y = generator() % 480;
        script += "box " + std::to_string(x) + " " + std::to_string(y) + "\n";
    }
    script += "step " + std::to_string(settlePasses) + "\n";
    return script;
}

#pragma once

#include <cstdint>
#include <string>

// The crowd scene, shared by the benchmarks and the regression tests: the
// mouse at the centre of the screen, `boxes` boxes dropped as Space does at
// mouse positions spread over the whole screen by a fixed-seed generator,
// then `settlePasses` passes. A tumble-sim script.
std::string CrowdScript(int32_t boxes, int32_t settlePasses = 120, uint32_t seed = 1);

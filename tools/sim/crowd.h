#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The crowd scene, shared by the benchmarks and the regression tests: the
// mouse at the centre of the screen, `boxes` boxes dropped as Space does at
// mouse positions spread over the whole screen by a fixed-seed generator,
// then `settlePasses` passes.

// Where the boxes are dropped, in order: centres within 0 … 639 and 0 … 479.
std::vector<std::pair<int32_t, int32_t>> CrowdDrops(int32_t boxes, uint32_t seed = 1);

// The scene as a tumble-sim script.
std::string CrowdScript(int32_t boxes, int32_t settlePasses = 120, uint32_t seed = 1);

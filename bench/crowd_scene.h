#pragma once

// The crowd scene of the benchmarks: N boxes dropped by the Space handler at
// fixed-seed mouse positions over the whole screen, settled for 120 passes,
// with the light at the centre of the screen.

#include <cstdint>

#include "session/session.h"

constexpr int32_t kSettlePasses = 120;

void BuildCrowd(Session& sim, int32_t boxes);
void BuildCrowd(Session& sim, int32_t boxes);

// The sandbox's crowd: gravity on, then `bodies` shapes dropped at the crowd's
// positions, cycling through the 40 box, the small box, the plank, the
// triangle and the hexagon (the big box is left out: a sixth of 200 of them
// would cover two thirds of the screen on their own), settled for 120 steps.
void BuildMixedCrowd(Session& sim, int32_t bodies);

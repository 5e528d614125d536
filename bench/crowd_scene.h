#pragma once

// The crowd scene of the benchmarks: N boxes dropped by the Space handler at
// fixed-seed mouse positions over the whole screen, settled for 120 passes,
// with the light at the centre of the screen.

#include <cstdint>

#include "session/session.h"

constexpr int32_t kSettlePasses = 120;

void BuildCrowd(Session& sim, int32_t boxes);

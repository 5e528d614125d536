// Once a scene has settled, a pass of the world (step and shadow rebuild)
// allocates nothing: contacts, pairs, outlines and shadow triangles reuse the
// storage of earlier passes. This program counts every allocation made
// through operator new while passes run.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <sstream>

#include "session/session.h"
#include "session/update_world.h"
#include "tools/sim/crowd.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

TEST(Allocation, ASettledCrowdRunsItsPassesWithoutAllocating) {
    Session sim;
    StartSession(sim);
    std::istringstream script(CrowdScript(200, 500));
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScript(sim, script, out, err, nullptr), 0);

    // Registries and scratch storage have reached their largest sizes by now.
    long before = allocations.load();
    for (int pass = 0; pass < 500; ++pass) {
        UpdateWorld(sim.world, sim.lighting, 320, 240);
    }
    EXPECT_EQ(allocations.load() - before, 0);
}

}  // namespace

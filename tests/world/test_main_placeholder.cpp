#include <gtest/gtest.h>

#include "dynamics/step.h"
#include "world/factories.h"

TEST(Smoke, BoxStaysPut) {
    World world;
    StartWorld(world);
    DropBox(world, 320, 240);
    for (int i = 0; i < 10; ++i) StepWorld(world);
    EXPECT_EQ(world.particles.Size(), 4);
}

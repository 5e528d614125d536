#include "world/world.h"

#include <memory>

#include "world/factories.h"
#include "world/rounding.h"

void StartWorld(World& world) {
    CreateWorldBody(world);
    const Vec2& screen = world.settings.ScreenSize;
    CreateWall(world, 1, 1, -1, 0);                              // top: y >= 1
    CreateWall(world, 1, 1, 0, 1);                               // left: x >= 1
    CreateWall(world, RoundToInt32(screen.x - 1), 0, 0, -1);     // right: x <= 639
    CreateWall(world, 0, RoundToInt32(screen.y - 1), 1, 0);      // bottom: y <= 479
}

void RestartWorld(World& world) {
    const Settings settings = world.settings;
    const bool collecting = world.trace.collecting;
    std::destroy_at(&world);
    std::construct_at(&world);
    world.settings = settings;
    world.trace.collecting = collecting;
    StartWorld(world);
}

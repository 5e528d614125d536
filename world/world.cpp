#include "world/world.h"

#include <algorithm>
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

void MeasureBody(Body& body) {
    const int32_t count = body.particleCount;
    if (count < 1) {
        return;
    }
    SetVec2(body.centre, 0, 0);
    Vec2 max = BodyParticle(body, 1)->position;
    Vec2 min = max;
    for (int32_t i = 1; i <= count; ++i) {
        const Vec2& p = BodyParticle(body, i)->position;
        body.centre.x += p.x / count;
        body.centre.y += p.y / count;
        max = {std::max(max.x, p.x), std::max(max.y, p.y)};
        min = {std::min(min.x, p.x), std::min(min.y, p.y)};
    }
    body.boundsMax = max;
    body.boundsMin = min;
}

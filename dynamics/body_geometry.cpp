#include "dynamics/body_geometry.h"

void UpdateBodyGeometry(World& world) {
    world.bodies.Reset();
    while (Body* body = world.bodies.Next()) {
        if (body == world.worldBody || body->particleCount < 1) {
            continue;
        }
        const int32_t count = body->particleCount;
        SetVec2(body->centre, 0, 0);
        Vec2 max = BodyParticle(*body, 1)->position;
        Vec2 min = max;
        for (int32_t i = 1; i <= count; ++i) {
            const Vec2& p = BodyParticle(*body, i)->position;
            // Each term is divided before it is added, in slot order.
            body->centre.x += p.x / count;
            body->centre.y += p.y / count;
            if (p.x > max.x) max.x = p.x;
            if (p.x < min.x) min.x = p.x;
            if (p.y > max.y) max.y = p.y;
            if (p.y < min.y) min.y = p.y;
        }
        body->boundsMax = max;
        body->boundsMin = min;
    }
}

#include "collision/walls.h"

#include "collision/contact_registry.h"

namespace {

// One wall moves one particle by at most this much per pass.
constexpr float kMaxWallPush = 10;

void CollideWallParticle(World& world, const Wall& wall, Particle* p) {
    Vec2 offset = {p->position.x - wall.point.x, p->position.y - wall.point.y};
    float d = static_cast<float>(Dot(offset, wall.normal));
    if (!(d < 0)) {
        return;  // on the line or on the inner side
    }
    if (d < -kMaxWallPush) {
        d = -kMaxWallPush;
    }
    Vec2 pen = {wall.normal.x * d, wall.normal.y * d};
    p->position.x = p->position.x - pen.x;
    p->position.y = p->position.y - pen.y;

    Contact probe{};
    probe.kind = WallContact;
    probe.particle = p;
    if (FindContact(world, probe)) {
        return;
    }
    Contact* contact = CreateContact(world, nullptr, nullptr, p, pen);
    contact->kind = WallContact;
}

}  // namespace

void CollideWalls(World& world) {
    world.walls.Reset();
    while (const Wall* wall = world.walls.Next()) {
        // A particle meets each later wall where the earlier walls left it.
        world.particles.Reset();
        while (Particle* p = world.particles.Next()) {
            if (p->body->mass == 0) {
                continue;
            }
            CollideWallParticle(world, *wall, p);
        }
    }
}

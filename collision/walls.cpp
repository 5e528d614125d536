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

// Each wall is met in turn by every particle, a particle meeting each later
// wall where the earlier walls left it. Walking particle by particle, each
// through the walls in order, does exactly the same to every particle and
// reads each one once instead of once per wall. Only the order in which the
// wall contacts are recorded changes, and nothing depends on it: a particle
// gets at most one wall contact per pass, and resolving one moves and reads
// its own particle alone.
void CollideWalls(World& world) {
    world.particles.Reset();
    while (Particle* p = world.particles.Next()) {
        if (p->body->mass == 0) {
            continue;
        }
        for (const Wall& wall : world.walls) {
            CollideWallParticle(world, wall, p);
        }
    }
}

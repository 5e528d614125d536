#include "collision/walls.h"

#include <algorithm>

#include "collision/contact_registry.h"
#include "world/world.h"

namespace {

// One wall moves one particle by at most this much per pass.
constexpr float kMaxWallPush = 10;

void CollideWallParticle(World& world, const Wall& wall, Particle* p) {
    Vec2 offset = {p->position.x - wall.point.x, p->position.y - wall.point.y};
    float d = static_cast<float>(Dot(offset, wall.normal));
    if (!(d < 0)) {
        return;  // on the line or on the inner side
    }
    const float depth = -d;
    const Vec2 before = p->position;
    if (d < -kMaxWallPush) {
        d = -kMaxWallPush;
    }
    Vec2 pen = {wall.normal.x * d, wall.normal.y * d};
    p->position.x = p->position.x - pen.x;
    p->position.y = p->position.y - pen.y;
    if (world.trace.collecting && depth > world.trace.wallPush.depth) {
        world.trace.wallPush = {world.trace.pass, depth, before, p->position};
    }

    Contact probe{};
    probe.kind = WallContact;
    probe.particle = p;
    if (FindContact(world, probe)) {
        return;
    }
    Contact* contact = CreateContact(world, nullptr, nullptr, p, pen);
    contact->kind = WallContact;
}

// The walls in groups of four lanes, as they are now.
const std::vector<WallGroup>& GroupWalls(World& world) {
    std::vector<WallGroup>& groups = world.wallGroups;
    groups.clear();
    double value[4][4] = {};  // point x, point y, normal x, normal y of each lane
    int32_t lane = 0;
    auto flush = [&] {
        groups.push_back({Load(value[0]), Load(value[1]), Load(value[2]), Load(value[3])});
        std::fill(&value[0][0], &value[0][0] + 16, 0.0);
        lane = 0;
    };
    for (const Wall& wall : world.walls) {
        value[0][lane] = wall.point.x;
        value[1][lane] = wall.point.y;
        value[2][lane] = wall.normal.x;
        value[3][lane] = wall.normal.y;
        if (++lane == 4) {
            flush();
        }
    }
    if (lane > 0) {
        flush();
    }
    return groups;
}

// Whether the particle, where it is, lies on the inner side (or on the line)
// of every wall: the wall pass's first test, d < 0, for all walls at once.
bool InsideAllWalls(const std::vector<WallGroup>& groups, const Vec2& p) {
    for (const WallGroup& g : groups) {
        const Doubles4 d =
            (Broadcast(p.x) - g.pointX) * g.normalX + (Broadcast(p.y) - g.pointY) * g.normalY;
        if (AnyBelowZero(ToFloats(d), 4)) {
            return false;
        }
    }
    return true;
}

}  // namespace

// Each wall is met in turn by every particle, a particle meeting each later
// wall where the earlier walls left it. Walking particle by particle, each
// through the walls in order, does exactly the same to every particle and
// reads each one once instead of once per wall. Only the order in which the
// wall contacts are recorded changes, and nothing depends on it: a particle
// gets at most one wall contact per pass, and resolving one moves and reads
// its own particle alone.
//
// Nearly every particle is inside every wall, which one test of all the
// walls side by side tells; only the others go through the walls one by one.
void CollideWalls(World& world) {
    const std::vector<WallGroup>& groups = GroupWalls(world);
    world.particles.Reset();
    while (Particle* p = world.particles.Next()) {
        if (p->body->mass == 0 || InsideAllWalls(groups, p->position)) {
            continue;
        }
        for (const Wall& wall : world.walls) {
            CollideWallParticle(world, wall, p);
        }
    }
}

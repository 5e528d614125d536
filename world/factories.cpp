#include "world/factories.h"

#include <cmath>

#include "world/rounding.h"

namespace {

bool IsWorldBody(const Body* body) { return body->id == kWorldBodyId; }

// The place of a new slot: in the body for the first ones, then in a table the
// world keeps, made the first time the body needs it.
template <typename T>
T*& NewSlot(T* (&first)[kInlineSlots], T**& more, std::vector<std::unique_ptr<T*[]>>& tables,
            int32_t slot, int32_t maxSlots) {
    if (slot <= kInlineSlots) {
        return first[slot - 1];
    }
    if (more == nullptr) {
        tables.emplace_back(new T*[maxSlots - kInlineSlots]());
        more = tables.back().get();
    }
    return more[slot - kInlineSlots - 1];
}

}  // namespace

void CreateWorldBody(World& world) {
    Body* body = world.bodies.Add();
    world.worldBody = body;
    body->mass = 1.0f;
    body->id = kWorldBodyId;
    world.nextBodyId = world.nextBodyId + 1;
}

Body* CreateBody(World& world, float mass, float friction) {
    Body* body = world.bodies.Add();
    body->mass = mass;
    body->friction = friction;
    body->id = world.nextBodyId;
    world.nextBodyId = world.nextBodyId + 1;
    return body;
}

Particle* CreateParticle(World& world, Body* body, float x, float y) {
    if (body == nullptr) {
        return nullptr;
    }
    // The world body owns no particles, so it has no slots to fill.
    bool takesSlot = !IsWorldBody(body);
    if (takesSlot && body->particleCount >= kMaxBodyParticles) {
        return nullptr;
    }
    Particle* particle = world.particles.Add();
    SetVec2(particle->position, x, y);
    SetVec2(particle->previous, x, y);
    particle->id = world.nextParticleId;
    world.nextParticleId = world.nextParticleId + 1;
    particle->body = body;
    if (takesSlot) {
        body->particleCount = body->particleCount + 1;
        NewSlot(body->firstParticles, body->moreParticles, world.moreParticleSlots,
                body->particleCount, kMaxBodyParticles) = particle;
    }
    particle->acceleration = world.settings.Gravity;
    return particle;
}

Stick* CreateStick(World& world, Body* body, Particle* a, Particle* b, float stiffness) {
    if (a == b || a == nullptr || b == nullptr || body == nullptr) {
        return nullptr;
    }
    bool takesSlot = !IsWorldBody(body);
    if (takesSlot && body->stickCount >= kMaxBodySticks) {
        return nullptr;
    }
    Stick* stick = world.sticks.Add();
    stick->particleA = a;
    stick->particleB = b;
    double dx = b->position.x - a->position.x;
    double dy = b->position.y - a->position.y;
    stick->restLength = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    stick->stiffness = stiffness;
    stick->body = body;
    if (takesSlot) {
        body->stickCount = body->stickCount + 1;
        NewSlot(body->firstSticks, body->moreSticks, world.moreStickSlots, body->stickCount,
                kMaxBodySticks) = stick;
    }
    return stick;
}

Wall* CreateWall(World& world, int32_t x, int32_t y, float dx, float dy) {
    if (dx == 0 && dy == 0) {
        return nullptr;
    }
    Wall* wall = world.walls.Add();
    SetVec2(wall->point, x, y);
    SetVec2(wall->direction, dx, dy);
    // A quarter turn of the direction; with y downwards, (-1, 0) gives (0, 1).
    SetVec2(wall->normal, dy, -static_cast<double>(dx));
    float len = static_cast<float>(Length(wall->normal));
    SetVec2(wall->normal, wall->normal.x / len, wall->normal.y / len);
    return wall;
}

void CreateBox(World& world, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t mass,
               double friction, double stiffness, int32_t bracesToWorld) {
    Body* body = CreateBody(world, static_cast<float>(mass), static_cast<float>(friction));
    auto corner = [&](int32_t x, int32_t y) {
        return CreateParticle(world, body, static_cast<float>(x), static_cast<float>(y));
    };
    Particle* p1 = corner(x1, y1);
    Particle* p2 = corner(x2, y1);
    Particle* p3 = corner(x2, y2);
    Particle* p4 = corner(x1, y2);

    float s = static_cast<float>(stiffness);
    CreateStick(world, body, p4, p3, s);
    CreateStick(world, body, p3, p2, s);
    CreateStick(world, body, p2, p1, s);
    CreateStick(world, body, p1, p4, s);

    Body* braceOwner = bracesToWorld > 0 && world.worldBody != nullptr ? world.worldBody : body;
    CreateStick(world, braceOwner, p2, p4, s);
    CreateStick(world, braceOwner, p3, p1, s);
    MeasureBody(*body);
}

void DropBox(World& world, int32_t mouseX, int32_t mouseY) {
    CreateBox(world, mouseX - 20, mouseY - 20, mouseX + 20, mouseY + 20, 1, 1.0, 1.0, 1);
}

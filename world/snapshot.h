#pragma once

// A snapshot of a world: a plain copy of everything that decides its future,
// taken between two steps, with every pointer between records turned into the
// record's place in its registry. Restoring it rebuilds the world in place, so
// that the steps after a restore give, bit for bit, the steps after the take.
//
// Left out, because a step empties or rebuilds them before reading them: the
// contacts and candidate pairs (both empty between steps) and the collision
// scratch storage. The velocities are kept although each step works them out
// afresh: a snapshot copies the world, it does not judge it.

#include <cstdint>
#include <vector>

#include "world/settings.h"
#include "world/vec2.h"
#include "world/world.h"

// A place in a registry, counted from 0; -1 for none (a null pointer, or a
// cursor before the first element).
constexpr int32_t kNoPlace = -1;

struct ParticleState {
    Vec2 position;
    Vec2 previous;
    Vec2 velocity;
    Vec2 acceleration;
    int32_t id;
    int32_t body;
};

struct StickState {
    int32_t particleA;
    int32_t particleB;
    float stiffness;
    float restLength;
    int32_t collisionCount;
    int32_t body;
};

// A body's slots are the places of its particles and sticks in
// WorldSnapshot::slots, from firstSlot on: particleCount particles, then
// stickCount sticks.
struct BodyState {
    Vec2 centre;
    Vec2 boundsMin;
    Vec2 boundsMax;
    float mass;
    float friction;
    int32_t id;
    int32_t particleCount;
    int32_t stickCount;
    int32_t firstSlot;
};

// Each registry's records in order, and where its cursor rested.
template <typename T>
struct RegistryState {
    std::vector<T> records;
    int32_t cursor = kNoPlace;
};

struct WorldSnapshot {
    RegistryState<ParticleState> particles;
    RegistryState<StickState> sticks;
    RegistryState<BodyState> bodies;
    RegistryState<Wall> walls;
    std::vector<int32_t> slots;
    Settings settings;
    int32_t nextParticleId = 1;
    int32_t nextBodyId = 1;
    int32_t worldBody = kNoPlace;
    int32_t grabbed = kNoPlace;  // the grabbed particle's place
    Vec2 grabAim{};
    int32_t lastPassContacts = 0;
    StudyTrace trace;  // what the study view shows of the last step, and whether it is collected
};

// The world as it stands between two steps. Its contacts and candidate pairs
// must be empty, as every step leaves them.
void TakeWorldSnapshot(const World& world, WorldSnapshot& snapshot);

// Rebuilds the world from the snapshot in place. Registries and scratch
// storage keep their memory, so a restore into a world that has held as much
// allocates next to nothing.
void RestoreWorldSnapshot(World& world, const WorldSnapshot& snapshot);

// The bytes the snapshot's records take (what a history keeping it pays).
std::size_t WorldSnapshotBytes(const WorldSnapshot& snapshot);

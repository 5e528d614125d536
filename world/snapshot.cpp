#include "world/snapshot.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// The place of every record of a registry, by its address: the records are
// walked once, so the lookup is a binary search over addresses sorted once.
template <typename T>
class Places {
   public:
    explicit Places(const OrderedList<T>& list) {
        int32_t place = 0;
        for (const T& record : list) {
            byAddress_.push_back({&record, place++});
        }
        std::sort(byAddress_.begin(), byAddress_.end(),
                  [](const Entry& a, const Entry& b) { return std::less<>{}(a.record, b.record); });
    }
    int32_t Of(const T* record) const {
        if (record == nullptr) {
            return kNoPlace;
        }
        auto found =
            std::lower_bound(byAddress_.begin(), byAddress_.end(), record,
                             [](const Entry& e, const T* r) { return std::less<>{}(e.record, r); });
        return found != byAddress_.end() && found->record == record ? found->place : kNoPlace;
    }

   private:
    struct Entry {
        const T* record;
        int32_t place;
    };
    std::vector<Entry> byAddress_;
};

template <typename T>
int32_t CursorPlace(const OrderedList<T>& list, const Places<T>& places) {
    return places.Of(list.Current());
}

// The registry emptied and refilled with `count` zero-filled records, whose
// addresses are returned in order; the cursor is put back afterwards.
template <typename T>
std::vector<T*> Refill(OrderedList<T>& list, std::size_t count) {
    list.Clear();
    std::vector<T*> records(count);
    for (T*& record : records) {
        record = list.Append();
    }
    return records;
}

template <typename T>
void PutCursor(OrderedList<T>& list, const std::vector<T*>& records, int32_t cursor) {
    if (cursor == kNoPlace) {
        list.Reset();
    } else {
        list.SetCurrent(records[cursor]);
    }
}

template <typename T>
T* At(const std::vector<T*>& records, int32_t place) {
    return place == kNoPlace ? nullptr : records[place];
}

void TakeBodies(const World& world, const Places<Particle>& particles, const Places<Stick>& sticks,
                WorldSnapshot& snapshot) {
    for (const Body& b : world.bodies) {
        const int32_t firstSlot = static_cast<int32_t>(snapshot.slots.size());
        for (int32_t slot = 1; slot <= b.particleCount; ++slot) {
            snapshot.slots.push_back(particles.Of(BodyParticle(b, slot)));
        }
        for (int32_t slot = 1; slot <= b.stickCount; ++slot) {
            snapshot.slots.push_back(sticks.Of(BodyStick(b, slot)));
        }
        snapshot.bodies.records.push_back({b.centre, b.boundsMin, b.boundsMax, b.mass, b.friction,
                                           b.id, b.particleCount, b.stickCount, firstSlot});
    }
}

// The slot table a body keeps beyond its inline slots, made as the factories make it.
template <typename T>
T** MoreSlots(std::vector<std::unique_ptr<T*[]>>& tables, int32_t maxSlots) {
    tables.emplace_back(new T*[maxSlots - kInlineSlots]());
    return tables.back().get();
}

void RestoreBodySlots(World& world, Body& body, const BodyState& state,
                      const std::vector<int32_t>& slots, const std::vector<Particle*>& particles,
                      const std::vector<Stick*>& sticks) {
    if (state.particleCount > kInlineSlots) {
        body.moreParticles = MoreSlots(world.moreParticleSlots, kMaxBodyParticles);
    }
    if (state.stickCount > kInlineSlots) {
        body.moreSticks = MoreSlots(world.moreStickSlots, kMaxBodySticks);
    }
    const int32_t* slot = slots.data() + state.firstSlot;  // the world body has no slots
    for (int32_t i = 0; i < state.particleCount; ++i) {
        Particle* p = At(particles, *slot++);
        (i < kInlineSlots ? body.firstParticles[i] : body.moreParticles[i - kInlineSlots]) = p;
    }
    for (int32_t i = 0; i < state.stickCount; ++i) {
        Stick* s = At(sticks, *slot++);
        (i < kInlineSlots ? body.firstSticks[i] : body.moreSticks[i - kInlineSlots]) = s;
    }
}

template <typename T>
std::size_t RecordBytes(const std::vector<T>& records) {
    return records.size() * sizeof(T);
}

}  // namespace

void TakeWorldSnapshot(const World& world, WorldSnapshot& snapshot) {
    snapshot = WorldSnapshot{};
    const Places<Particle> particles(world.particles);
    const Places<Stick> sticks(world.sticks);
    const Places<Body> bodies(world.bodies);
    for (const Particle& p : world.particles) {
        snapshot.particles.records.push_back(
            {p.position, p.previous, p.velocity, p.acceleration, p.id, bodies.Of(p.body)});
    }
    for (const Stick& s : world.sticks) {
        snapshot.sticks.records.push_back({particles.Of(s.particleA), particles.Of(s.particleB),
                                           s.stiffness, s.restLength, s.collisionCount,
                                           bodies.Of(s.body)});
    }
    TakeBodies(world, particles, sticks, snapshot);
    for (const Wall& w : world.walls) {
        snapshot.walls.records.push_back(w);
    }
    snapshot.particles.cursor = CursorPlace(world.particles, particles);
    snapshot.sticks.cursor = CursorPlace(world.sticks, sticks);
    snapshot.bodies.cursor = CursorPlace(world.bodies, bodies);
    snapshot.walls.cursor = CursorPlace(world.walls, Places<Wall>(world.walls));
    snapshot.settings = world.settings;
    snapshot.nextParticleId = world.nextParticleId;
    snapshot.nextBodyId = world.nextBodyId;
    snapshot.worldBody = bodies.Of(world.worldBody);
    snapshot.grabbed = particles.Of(world.grab.particle);
    snapshot.grabAim = world.grab.aim;
    snapshot.lastPassContacts = world.lastPassContacts;
    snapshot.trace = world.trace;
}

void RestoreWorldSnapshot(World& world, const WorldSnapshot& snapshot) {
    const auto particles = Refill(world.particles, snapshot.particles.records.size());
    const auto sticks = Refill(world.sticks, snapshot.sticks.records.size());
    const auto bodies = Refill(world.bodies, snapshot.bodies.records.size());
    const auto walls = Refill(world.walls, snapshot.walls.records.size());
    world.moreParticleSlots.clear();
    world.moreStickSlots.clear();
    for (std::size_t i = 0; i < particles.size(); ++i) {
        const ParticleState& state = snapshot.particles.records[i];
        *particles[i] = {state.position,     state.previous, state.velocity,
                         state.acceleration, state.id,       At(bodies, state.body)};
    }
    for (std::size_t i = 0; i < sticks.size(); ++i) {
        const StickState& state = snapshot.sticks.records[i];
        *sticks[i] = {At(particles, state.particleA),
                      At(particles, state.particleB),
                      state.stiffness,
                      state.restLength,
                      static_cast<int16_t>(state.collisionCount),
                      At(bodies, state.body)};
    }
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        const BodyState& state = snapshot.bodies.records[i];
        Body& body = *bodies[i];
        body.particleCount = state.particleCount;
        body.stickCount = state.stickCount;
        RestoreBodySlots(world, body, state, snapshot.slots, particles, sticks);
        body.centre = state.centre;
        body.boundsMin = state.boundsMin;
        body.boundsMax = state.boundsMax;
        body.mass = state.mass;
        body.friction = state.friction;
        body.id = state.id;
    }
    for (std::size_t i = 0; i < walls.size(); ++i) {
        *walls[i] = snapshot.walls.records[i];
    }
    PutCursor(world.particles, particles, snapshot.particles.cursor);
    PutCursor(world.sticks, sticks, snapshot.sticks.cursor);
    PutCursor(world.bodies, bodies, snapshot.bodies.cursor);
    PutCursor(world.walls, walls, snapshot.walls.cursor);
    world.settings = snapshot.settings;
    world.nextParticleId = snapshot.nextParticleId;
    world.nextBodyId = snapshot.nextBodyId;
    world.worldBody = At(bodies, snapshot.worldBody);
    world.grab = {At(particles, snapshot.grabbed), snapshot.grabAim};
    world.lastPassContacts = snapshot.lastPassContacts;
    world.trace = snapshot.trace;
}

std::size_t WorldSnapshotBytes(const WorldSnapshot& snapshot) {
    return sizeof snapshot + RecordBytes(snapshot.particles.records) +
           RecordBytes(snapshot.sticks.records) + RecordBytes(snapshot.bodies.records) +
           RecordBytes(snapshot.walls.records) + RecordBytes(snapshot.slots) +
           RecordBytes(snapshot.trace.pairs) + RecordBytes(snapshot.trace.contacts) +
           RecordBytes(snapshot.trace.plots);
}

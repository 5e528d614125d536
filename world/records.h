#pragma once

// The records of the simulated world. All are plain data held in the
// registries of World; pointers between them do not own. Positions and
// vectors are doubles; masses, frictions, stiffnesses and rest lengths are
// floats, rounded when they are written.

#include <cstdint>

#include "world/vec2.h"

struct Body;

// A body holds at most 999 particles and 999 sticks, in slots numbered from 1.
constexpr int32_t kMaxBodyParticles = 999;
constexpr int32_t kMaxBodySticks = 999;
// The first slots are kept in the body record itself: a box fills exactly
// these, so a pass over boxes finds their corners next to the rest of the
// body. A body that grows beyond them keeps the rest in a table of the world's.
constexpr int32_t kInlineSlots = 4;

// The body of id 1, which owns no particles and holds the braces of every box.
constexpr int32_t kWorldBodyId = 1;

struct Particle {
    Vec2 position;
    Vec2 previous;      // position at the start of the current step
    Vec2 velocity;      // displacement per step, worked out at the start of each step
    Vec2 acceleration;  // copied from Gravity when the particle is made
    int32_t id;         // unique; contacts are matched by it
    Body* body;
};

struct Stick {
    Particle* particleA;
    Particle* particleB;
    float stiffness;
    float restLength;
    int16_t collisionCount;  // times chosen as the hit edge since the counts were last zeroed
    Body* body;              // owner; the world body for the braces of a box
};

struct Body {
    int32_t particleCount;  // slots 1 … particleCount are used
    int32_t stickCount;     // slots 1 … stickCount are used
    Particle* firstParticles[kInlineSlots];  // slots 1 … 4
    Stick* firstSticks[kInlineSlots];
    Particle** moreParticles;  // slots 5 … 999, held by the world; null until needed
    Stick** moreSticks;
    Vec2 centre;
    Vec2 boundsMin;
    Vec2 boundsMax;
    float mass;  // 0 means immovable
    float friction;
    int32_t id;
    // A pinned or resting body is immovable (mass 0) for a while; ownMass is
    // the mass it gets back when the pin or the rest ends (dynamics/pins.h,
    // dynamics/rest.h). Never both at once.
    bool pinned;
    bool resting;
    float ownMass;
    // Counted while gravity is on: the steps in a row that corners 1 and 2
    // stayed near where they were when the count began (quietFrom).
    int32_t quietSteps;
    Vec2 quietFrom[2];
};

// The particle in slot 1 … particleCount and the stick in slot 1 … stickCount.
inline Particle* BodyParticle(const Body& body, int32_t slot) {
    return slot <= kInlineSlots ? body.firstParticles[slot - 1]
                                : body.moreParticles[slot - kInlineSlots - 1];
}
inline Stick* BodyStick(const Body& body, int32_t slot) {
    return slot <= kInlineSlots ? body.firstSticks[slot - 1] : body.moreSticks[slot - kInlineSlots - 1];
}

// An infinite straight line; particles belong on the side its normal points to.
struct Wall {
    Vec2 point;
    Vec2 direction;
    Vec2 normal;
};

// Contact kinds.
constexpr int16_t EdgeContact = 0;  // a particle that went through an edge of another body
constexpr int16_t WallContact = 2;  // a particle that crossed a wall

// A penetration found in the current pass; lives until the end of that pass.
struct Contact {
    int16_t kind;
    Particle* edgeA;  // edge contacts: the ends of the edge that was hit
    Particle* edgeB;
    Particle* particle;  // the penetrating particle
    Vec2 penetration;    // from the particle into the obstacle; its length is the depth
};

// A candidate pair of the broad phase; `first` comes earlier in the body registry.
struct BodyPair {
    Body* first;
    Body* second;
};

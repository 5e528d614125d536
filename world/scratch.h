#pragma once

// The storage the collision passes keep from pass to pass inside the world,
// so that a pass allocates nothing once it has grown. Only the collision code
// reads or writes it; it lives here so that the world can hold it without
// knowing the passes that use it.

#include <cstdint>
#include <vector>

#include "world/lanes.h"
#include "world/records.h"
#include "world/vec2.h"

// Storage of the pair search, kept from step to step so that a search
// allocates nothing once it has grown.
struct SweepEntry {
    Vec2 min;  // the grown bounds
    Vec2 max;
    int32_t order;  // place in the body registry
    bool immovable;
    Body* body;
};
struct CandidatePair {
    int32_t firstOrder;
    int32_t secondOrder;
    Body* first;
    Body* second;
};
struct BroadPhaseScratch {
    std::vector<SweepEntry> sweep;
    std::vector<CandidatePair> candidates;
    std::vector<CandidatePair> sorted;   // the candidates in the order of the walk
    std::vector<int32_t> firstOrderEnd;  // by registry place: where its pairs end in `sorted`
};

// The candidate axes of a test are the normals of the first body's sticks,
// then the second's, worked on four at a time; the last group is filled up
// with copies of the last stick.
constexpr int32_t kMaxCandidateAxes = (kMaxBodySticks * 2 + 3) / 4 * 4;

// Where a test copies the corners of its two bodies, lists its candidate
// sticks and keeps their normals.
struct NarrowPhaseScratch {
    Vec2 firstCorners[kMaxBodyParticles];
    Vec2 secondCorners[kMaxBodyParticles];
    Stick* candidates[kMaxCandidateAxes];
    double normalX[kMaxCandidateAxes];
    double normalY[kMaxCandidateAxes];
};

// The walls four to a group, one per lane, for the quick test that a
// particle lies inside all of them. Lanes past the last wall have a zero
// normal, which nothing lies outside of.
struct WallGroup {
    Doubles4 pointX;
    Doubles4 pointY;
    Doubles4 normalX;
    Doubles4 normalY;
};

// The contacts of the current pass indexed by the identifier of their
// penetrating particle (collision/contact_index.h).
struct ContactIndex {
    struct Entry {
        const Contact* contact;
        int32_t edgeAId;  // of the contact's edgeA (-1 without one), which FindContact compares
        int32_t next;     // the particle's previous entry, or -1
    };
    uint32_t pass = 1;                   // entries stamped with another pass are gone
    std::vector<uint32_t> particlePass;  // by particle id: the pass of its latest entry
    std::vector<int32_t> newestEntry;    // by particle id
    std::vector<Entry> entries;
};

#pragma once

// The whole simulated world: its registries, settings and identifier
// counters. A test begins from a fresh world by making a new one; the program
// makes one at start-up and keeps it until exit.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "world/ordered_list.h"
#include "world/records.h"
#include "world/scratch.h"
#include "world/settings.h"

// The particle the mouse holds, and the point it is pulled toward.
struct Grab {
    Particle* particle = nullptr;  // null: nothing is held
    Vec2 aim{};
};

// What the study view shows of the last step, collected only while
// `collecting` is on: the candidate pairs (as the centres of their bodies at
// the end of the step), the contacts of the step's last pass (where the
// penetrating particle was and its penetration vector), one moment each of
// the relaxation, the wall push, the separation and the friction, the time
// the last pass's step and shadow rebuild took, and the plots' figures of the
// last kPlotSteps steps. A snapshot copies it, so going back shows the plots
// as they stood.
constexpr int32_t kPlotSteps = 600;  // ten seconds at 60 passes a second

struct StudyTrace {
    struct PairLine {
        Vec2 first;
        Vec2 second;
    };
    struct ContactMark {
        Vec2 particle;
        Vec2 penetration;
    };
    // The last separating-axis test of the step that found two bodies
    // overlapping: the axis it chose (pointing from the body hit on an edge
    // towards the body hit on a corner), the overlap along it, the edge's
    // ends and the corner before and after the separation, and where along
    // the edge the corner lay (0 at its first end, 1 at its second).
    struct SeparationMark {
        int32_t pass = 0;  // which of the step's passes; 0 when no test found an overlap
        float depth = 0;
        Vec2 axis{};
        Vec2 edgeA{};
        Vec2 edgeB{};
        Vec2 corner{};
        Vec2 cornerAfter{};
        float along = 0;
        Vec2 edgeAAfter{};
        Vec2 edgeBAfter{};
    };
    // The stick furthest from its rest length when a relaxation began, over
    // the step's passes: how much longer it was (negative: shorter) before
    // that pass's relaxation and after it, and its ends after it.
    struct StretchMark {
        int32_t pass = 0;  // 0 when every stick had its rest length
        float before = 0;
        float after = 0;
        Vec2 a{};
        Vec2 b{};
    };
    // The deepest wall push of the step: how far beyond the wall the particle
    // was, and where it was before and after the push.
    struct WallPushMark {
        int32_t pass = 0;  // 0 when no particle went beyond a wall
        float depth = 0;
        Vec2 from{};
        Vec2 to{};
    };
    // The last edge contact friction acted on in the step: the sliding along
    // the edge (the edge's second end's motion in this step minus the
    // particle's, along the edge) before and after, at the particle.
    struct FrictionMark {
        int32_t pass = 0;  // 0 when no edge contact was resolved
        float before = 0;
        float after = 0;
        Vec2 particle{};
        Vec2 tangent{};
    };
    bool collecting = false;
    int32_t pass = 0;  // the pass of the step under way
    SeparationMark separation;
    StretchMark stretch;
    WallPushMark wallPush;
    FrictionMark friction;
    std::vector<PairLine> pairs;
    std::vector<ContactMark> contacts;
    // How long the last pass's step and shadow rebuild took.
    double stepMilliseconds = 0;
    double shadowMilliseconds = 0;
    // What a step left, as the plots draw it (single precision is plenty for a pixel).
    struct PlotSample {
        float kineticEnergy;
        int32_t contacts;
        float largestStickError;
        float stepMilliseconds;
    };
    std::vector<PlotSample> plots;  // oldest first, at most kPlotSteps
};

struct World {
    // Registries, in the order start-up creates them.
    OrderedList<Particle> particles;
    OrderedList<Stick> sticks;
    OrderedList<Body> bodies;
    OrderedList<Wall> walls;
    OrderedList<Contact> contacts;    // the contacts of the current pass only
    OrderedList<BodyPair> bodyPairs;  // candidate pairs of the current step only

    Settings settings;
    int32_t nextParticleId = 1;
    int32_t nextBodyId = 1;
    Body* worldBody = nullptr;  // id 1; set once by CreateWorldBody
    Grab grab;
    StudyTrace trace;
    // How many contacts the last pass of the last step found, for the plots.
    int32_t lastPassContacts = 0;

    // Lookup structure over `contacts`, kept in step by CreateContact and ClearContacts.
    ContactIndex contactIndex;
    // The slot tables of bodies that outgrew the slots kept in the body itself.
    std::vector<std::unique_ptr<Particle*[]>> moreParticleSlots;
    std::vector<std::unique_ptr<Stick*[]>> moreStickSlots;
    // Storage of the broad phase's pair search.
    BroadPhaseScratch broadPhaseScratch;
    NarrowPhaseScratch narrowPhaseScratch;
    std::vector<WallGroup> wallGroups;  // the wall pass's lanes, made anew each pass
};

// What start-up builds of the world: the world body, then the four boundary
// walls (top, left, right, bottom), all normals pointing into the screen.
void StartWorld(World& world);

// The world as start-up leaves it, made anew in place: no boxes, the
// identifier counters back to 1, nothing grabbed. The settings and whether
// the study trace is collected are kept.
void RestartWorld(World& world);

// A body's centre (the mean of its particles, each divided before it is
// added, in slot order) and its axis-aligned bounds, from where its particles
// are now. A body without particles keeps what it had. The step measures
// every body in each pass; the factories measure a body as they make it, so
// that a box dropped while the world is paused has its own centre at once.
// Inline: the step runs it on every body in every pass.
inline void MeasureBody(Body& body) {
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

#pragma once

// The whole simulated world: its registries, settings and identifier
// counters. A test begins from a fresh world by making a new one; the program
// makes one at start-up and keeps it until exit.

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
// the end of the step) and the contacts of the step's last pass (where the
// penetrating particle was and its penetration vector), the time the last
// pass's step and shadow rebuild took, and the plots' figures of the last
// kPlotSteps steps. A snapshot copies it, so going back shows the plots as
// they stood.
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
    // ends before the separation, and the corner before and after it.
    struct SeparationMark {
        int32_t pass = 0;  // which of the step's passes; 0 when no test found an overlap
        float depth = 0;
        Vec2 axis{};
        Vec2 edgeA{};
        Vec2 edgeB{};
        Vec2 corner{};
        Vec2 cornerAfter{};
    };
    bool collecting = false;
    int32_t pass = 0;  // the pass of the step under way
    SeparationMark separation;
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

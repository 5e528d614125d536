#pragma once

// The whole simulated world: its registries, settings and identifier
// counters. A test begins from a fresh world by making a new one; the program
// makes one at start-up and keeps it until exit.

#include <cstdint>
#include <memory>
#include <vector>

#include "collision/broad_phase.h"
#include "collision/contact_index.h"
#include "collision/narrow_phase.h"
#include "shell/ordered_list.h"
#include "world/records.h"
#include "world/settings.h"

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

    // Lookup structure over `contacts`, kept in step by CreateContact and ClearContacts.
    ContactIndex contactIndex;
    // The slot tables of bodies that outgrew the slots kept in the body itself.
    std::vector<std::unique_ptr<Particle*[]>> moreParticleSlots;
    std::vector<std::unique_ptr<Stick*[]>> moreStickSlots;
    // Storage of the broad phase's pair search.
    BroadPhaseScratch broadPhaseScratch;
    NarrowPhaseScratch narrowPhaseScratch;
};

// What start-up builds of the world: the world body, then the four boundary
// walls (top, left, right, bottom), all normals pointing into the screen.
void StartWorld(World& world);

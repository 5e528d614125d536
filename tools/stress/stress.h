#pragma once

// The randomised scene tester: from a seed, a run of box drops and light
// moves of the kinds a user can make with Space and the mouse (on the edges
// and corners of the screen, many boxes on one spot, piles of up to 300, the
// light on a box's corner, on its centre or inside it, boxes dragged across
// the screen, into corners and piles and let go, paused passes, restarts),
// with the checks of
// checks.h after every pass, and the walls checked once no box has been
// dropped for a while.
//
// A run is a tumble-sim script: the same seed gives the same script and the
// same world, and the script reproduces the run in tumble-sim.

#include <cstdint>
#include <string>
#include <vector>

#include "world/shapes.h"

struct StressOptions {
    uint32_t seed = 1;
    int64_t passes = 2000;
    int32_t maxBoxes = 300;
    // Passes without a new box after which every particle must be inside the
    // walls within WallTolerance, or within this many pixels when it is 0 or more.
    int32_t quietPasses = 100;
    double wallTolerance = -1;
    // One episode in this many goes back in time a few passes (sometimes
    // right after a drop), as `back N`; 0: never, and the run is as before.
    int32_t backEvery = 0;
};

// How often the run met the situations it is meant to bring about.
struct StressCounts {
    int32_t boxes = 0;
    int32_t edgeDrops = 0;       // centred on an edge of the screen: half outside it
    int32_t cornerDrops = 0;     // centred on a corner: three quarters outside
    int32_t stackedDrops = 0;    // onto the very spot of the box dropped before
    int64_t lightOnCorner = 0;   // passes whose shadows came from a light on a box corner
    int64_t lightOnCentre = 0;   // … on a box's centre
    int64_t lightInsideBox = 0;  // … inside a box's bounds
    int64_t missingQuads = 0;    // shadow quads left out, over all passes
    int64_t quietPassesChecked = 0;
    int32_t grabs = 0;        // grabs that caught a box
    int32_t cornerDrags = 0;  // a held box dragged toward a corner of the screen
    int32_t pileDrags = 0;    // … onto another box
    int32_t restarts = 0;
    int32_t lightsDropped = 0;
    int32_t lightsRemoved = 0;
    int32_t softSwitches = 0;
    int32_t backs = 0;
    int32_t gravitySwitches = 0;
    int32_t pinChanges = 0;            // pin commands, whether or not a body was there
    int32_t shapes[kShapeCount] = {};  // the drops of each shape (world/shapes.h)
    double smallestHeldArea = 1600;    // of a box while it was held
};

struct StressResult {
    bool passed = true;
    std::vector<std::string> problems;  // those of the first failing pass
    int64_t passes = 0;                 // run; the failing one is the last
    StressCounts counts;
    // After the quiet passes: the furthest outside the walls, and the pass
    // that came closest to its tolerance (how far out, the tolerance, the
    // boxes there were). Then the furthest out at any pass.
    double worstQuietExcursion = 0;
    double closestExcursion = 0;
    double closestTolerance = 0;
    int32_t closestBoxes = 0;
    double worstExcursion = 0;
    std::string script;  // the run as a tumble-sim script, ending with a dump
    std::string dump;    // what that dump prints
};

StressResult RunStress(const StressOptions& options);

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "lighting/lighting_snapshot.h"
#include "session/session.h"
#include "session/state_dump.h"
#include "session/state_hash.h"
#include "world/factories.h"
#include "world/snapshot.h"

namespace {

// A session cut into single lines, every step a pass of its own, so that a
// snapshot can be taken between any two lines: drops, a drag, lights, the
// study view, soft shadows, a restart, a frozen light and idle passes.
std::vector<std::string> SceneLines() {
    const char* script[] = {
        "mouse 320 100", "box 300 100",   "box 330 90",    "box 200 300", "box 500 420",
        "step 30",       "light 100 100", "view study",    "step 20",     "mouse 205 305",
        "grab",          "step 5",        "mouse 400 250", "step 10",     "release",
        "step 10",       "light 500 400", "soft on",       "step 10",     "reset",
        "box 320 240",   "box 335 250",   "step 20",       "unlight",     "idle 3",
        "freeze",        "mouse 100 100", "step 5",        "follow",      "box 100 400",
        "view outlines", "step 15",
    };
    std::vector<std::string> lines;
    for (const std::string line : script) {
        if (line.rfind("step ", 0) == 0 || line.rfind("idle ", 0) == 0) {
            const int passes = std::stoi(line.substr(5));
            for (int i = 0; i < passes; ++i) {
                lines.push_back(line.substr(0, 5) + "1");
            }
        } else {
            lines.push_back(line);
        }
    }
    return lines;
}

// Runs lines[from … to).
void RunLines(Session& sim, const std::vector<std::string>& lines, std::size_t from,
              std::size_t to = SIZE_MAX) {
    std::ostringstream script;
    for (std::size_t i = from; i < std::min(to, lines.size()); ++i) {
        script << lines[i] << '\n';
    }
    std::istringstream in(script.str());
    std::ostringstream out;
    ASSERT_EQ(RunScript(sim, in, out, out, nullptr), 0) << out.str();
}

// Everything a Session holds that decides its future.
struct SimSnapshot {
    WorldSnapshot world;
    LightingSnapshot lighting;
    int32_t mouseX;
    int32_t mouseY;
    int64_t passes;
    PlayState play;
};

SimSnapshot TakeSim(const Session& sim) {
    SimSnapshot s{{}, {}, sim.mouseX, sim.mouseY, sim.passes, sim.play};
    TakeWorldSnapshot(sim.world, s.world);
    TakeLightingSnapshot(sim.lighting, s.lighting);
    return s;
}

void RestoreSim(Session& sim, const SimSnapshot& s) {
    RestoreWorldSnapshot(sim.world, s.world);
    RestoreLightingSnapshot(sim.lighting, s.lighting);
    sim.mouseX = s.mouseX;
    sim.mouseY = s.mouseY;
    sim.passes = s.passes;
    sim.play = s.play;
}

std::string Fingerprint(const Session& sim) {
    return HashText(HashState(sim.world, sim.lighting)) + " " + DumpSession(sim);
}

// Snapshots taken along a straight run, each restored into the world that
// ran to the end (its storage warm, its registries longer) and into a fresh
// one, then run to the end again: after every line both show what the
// straight run showed after it.
TEST(SnapshotRestore, EveryRestoredSnapshotRunsAsTheStraightRun) {
    const std::vector<std::string> lines = SceneLines();
    ASSERT_EQ(lines.size(), 150u);
    const std::vector<std::size_t> cuts = {0,  1,   5,   40,  58,  62,  70,
                                           90, 100, 101, 123, 126, 135, 149};
    Session straight;
    StartSession(straight);
    std::vector<SimSnapshot> snapshots;
    std::vector<std::string> trail;  // the fingerprint before each line, and at the end
    for (std::size_t line = 0; line <= lines.size(); ++line) {
        if (std::find(cuts.begin(), cuts.end(), line) != cuts.end()) {
            snapshots.push_back(TakeSim(straight));
        }
        trail.push_back(Fingerprint(straight));
        RunLines(straight, lines, line, line + 1);
    }

    Session warm;
    StartSession(warm);
    RunLines(warm, lines, 0);
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        SCOPED_TRACE("snapshot before line " + std::to_string(cuts[i]));
        Session fresh;
        for (Session* sim : {&warm, &fresh}) {
            RestoreSim(*sim, snapshots[i]);
            for (std::size_t line = cuts[i]; line <= lines.size(); ++line) {
                ASSERT_EQ(Fingerprint(*sim), trail[line]) << "before line " << line;
                RunLines(*sim, lines, line, line + 1);
            }
        }
    }
}

// The grab, the cursors and the trace come back, not only the positions.
TEST(SnapshotRestore, KeepsTheGrabTheCursorsAndTheTrace) {
    const std::vector<std::string> lines = SceneLines();
    Session sim;
    StartSession(sim);
    RunLines(sim, lines, 0, 70);  // in the middle of the drag
    ASSERT_NE(sim.world.grab.particle, nullptr);
    const SimSnapshot s = TakeSim(sim);
    Session other;
    RestoreSim(other, s);
    EXPECT_EQ(other.world.grab.particle->id, sim.world.grab.particle->id);
    EXPECT_EQ(other.world.grab.aim.x, sim.world.grab.aim.x);
    EXPECT_EQ(other.world.particles.Current()->id, sim.world.particles.Current()->id);
    EXPECT_EQ(other.world.worldBody->id, kWorldBodyId);
    EXPECT_TRUE(other.world.trace.collecting);
    EXPECT_EQ(other.world.trace.contacts.size(), sim.world.trace.contacts.size());
    EXPECT_EQ(other.world.lastPassContacts, sim.world.lastPassContacts);
    EXPECT_EQ(other.lighting.casters.size(), sim.lighting.casters.size());
}

// A body beyond the slots kept in the body record has its table made anew.
TEST(SnapshotRestore, BodiesWithMoreThanFourSlots) {
    World world;
    StartWorld(world);
    Body* body = CreateBody(world, 1, 1);
    Particle* previous = nullptr;
    for (int i = 0; i < 7; ++i) {
        Particle* p = CreateParticle(world, body, 100 + 10 * i, 100 + (i % 2) * 10);
        if (previous != nullptr) {
            CreateStick(world, body, previous, p, 1);
        }
        previous = p;
    }
    WorldSnapshot snapshot;
    TakeWorldSnapshot(world, snapshot);
    World copy;
    RestoreWorldSnapshot(copy, snapshot);
    Lighting lighting;
    EXPECT_EQ(DumpState(copy, lighting, 0), DumpState(world, lighting, 0));
    auto second = copy.bodies.begin();
    ++second;
    const Body& restored = *second;
    ASSERT_EQ(restored.particleCount, 7);
    ASSERT_EQ(restored.stickCount, 6);
    EXPECT_EQ(BodyParticle(restored, 7)->position.x, 160);
    EXPECT_EQ(BodyStick(restored, 6)->particleB, BodyParticle(restored, 7));
}

}  // namespace

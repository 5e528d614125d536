// The play commands of tumble-sim: idle, reset, grab and release, freeze and
// follow, view and hash, and the drag they make possible.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "dynamics/drag.h"
#include "session/session.h"
#include "session/state_hash.h"

namespace {

struct PlayRun {
    Session sim;
    int status = 0;
    std::string out;
    std::string err;

    explicit PlayRun(const std::string& text) {
        StartSession(sim);
        std::istringstream script(text);
        std::ostringstream o;
        std::ostringstream e;
        status = RunScript(sim, script, o, e, nullptr);
        out = o.str();
        err = e.str();
    }
};

// The "particles" … "shadows" part of a dump: the world without the pass count and light.
std::string WorldPart(const std::string& dump) {
    return dump.substr(dump.find("\"particles\""));
}

TEST(SimPlay, IdlePassesLeaveEveryParticleWhereItWasWhileTheShadowsFollowTheLight) {
    PlayRun run(
        "box 300 240\nbox 310 250\nmouse 100 100\nstep 5\ndump\n"
        "mouse 600 100\nidle 3\ndump\nstep 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string before, idle, stepped;
    std::getline(lines, before);
    std::getline(lines, idle);
    std::getline(lines, stepped);
    const auto particles = [](const std::string& d) {
        return d.substr(d.find("\"particles\""), d.find("\"bodies\"") - d.find("\"particles\""));
    };
    EXPECT_EQ(particles(idle), particles(before));
    EXPECT_NE(idle.find("\"light\": [600, 100]"), std::string::npos) << idle;
    EXPECT_NE(idle.substr(idle.find("\"shadows\"")), before.substr(before.find("\"shadows\"")));
    EXPECT_NE(particles(stepped), particles(idle));  // the overlapping boxes move again
    EXPECT_NE(idle.find("\"pass\": 8"), std::string::npos);
}

TEST(SimPlay, ResetGivesTheWorldOfANewProgramAndRunsOnAsOneWould) {
    const std::string scene = "box 200 200\nbox 215 210\nbox 400 300\nmouse 50 60\nstep 30\ndump\n";
    PlayRun fresh("mouse 50 60\nstep 1\n" + scene);
    PlayRun again(
        "box 100 100\nbox 105 100\nmouse 320 240\ngrab\nstep 20\nview study\n"
        "reset\nmouse 50 60\nstep 1\n" +
        scene);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(WorldPart(again.out), WorldPart(fresh.out));
    EXPECT_FALSE(IsGrabbing(again.sim.world));
    EXPECT_EQ(again.sim.world.nextBodyId, fresh.sim.world.nextBodyId);
    EXPECT_EQ(again.sim.world.nextParticleId, fresh.sim.world.nextParticleId);
    EXPECT_EQ(again.sim.play.view, View::Study);  // the view is kept

    PlayRun empty("box 320 240\nmouse 20 30\nstep 3\nreset\ndump\n");
    EXPECT_NE(
        empty.out.find("\"light\": [20, 30], \"particles\": [], \"bodies\": [], \"shadows\": []"),
        std::string::npos)
        << empty.out;
}

TEST(SimPlay, ResettingAThousandTimesLeavesTheRegistriesAtTheirStartUpSize) {
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += "box 320 240\nstep 1\nreset\n";
    }
    PlayRun run(text);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.sim.world.bodies.Size(), 1);
    EXPECT_EQ(run.sim.world.walls.Size(), 4);
    EXPECT_EQ(run.sim.world.moreParticleSlots.size(), 0u);
}

TEST(SimPlay, AGrabbedBoxFollowsTheMouseAndTheLightWaitsUntilItIsLetGo) {
    PlayRun run("box 200 200\nmouse 210 210\nstep 1\ngrab\nmouse 500 300\nstep 40\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(IsGrabbing(run.sim.world));
    const Particle& held = *run.sim.world.grab.particle;
    EXPECT_EQ(held.id, 3);  // the bottom-right corner, nearest (210, 210)
    EXPECT_LT(std::hypot(held.position.x - 500, held.position.y - 300), 25);
    const Body& box = *held.body;
    EXPECT_GT(box.centre.x, 440);
    const Light& light = *run.sim.lighting.lights.begin();
    EXPECT_EQ(light.x, 210);  // where it was when the box was grabbed
    EXPECT_EQ(light.y, 210);

    PlayRun let(
        "box 200 200\nmouse 210 210\nstep 1\ngrab\nmouse 500 300\nstep 40\nrelease\nstep "
        "1\ndump\n");
    EXPECT_NE(let.out.find("\"light\": [500, 300]"), std::string::npos);
}

TEST(SimPlay, AGrabOverNoBoxHoldsNothingAndMovesNothing) {
    PlayRun plain("box 200 200\nmouse 400 400\nstep 10\ndump\n");
    PlayRun grabbed("box 200 200\nmouse 400 400\ngrab\nstep 10\nrelease\ndump\n");
    EXPECT_EQ(grabbed.out, plain.out);
    PlayRun world("grab\nstep 2\nrelease\nhash\n");
    EXPECT_EQ(world.status, 0) << world.err;
}

TEST(SimPlay, ADragFarBeyondTheScreenOrIntoAPileStaysFiniteAndInsideTheWalls) {
    std::string text = "box 100 100\n";
    for (int i = 0; i < 12; ++i) {
        text += "box " + std::to_string(560 + (i % 3) * 20) + " " +
                std::to_string(400 + (i / 3) * 15) + "\n";
    }
    text +=
        "mouse 100 100\ngrab\nmouse -1000000 1000000\nstep 60\nmouse 1000000 -1000000\nstep 60\n"
        "mouse 580 420\nstep 80\nmouse 639 479\nstep 60\nrelease\nstep 200\n";
    PlayRun run(text);
    ASSERT_EQ(run.status, 0) << run.err;
    for (const Particle& p : run.sim.world.particles) {
        ASSERT_TRUE(std::isfinite(p.position.x) && std::isfinite(p.position.y));
        EXPECT_GT(p.position.x, -10);
        EXPECT_LT(p.position.x, 650);
        EXPECT_GT(p.position.y, -10);
        EXPECT_LT(p.position.y, 490);
    }
}

TEST(SimPlay, AFrozenLightStaysAndFollowsAgainAfterward) {
    PlayRun run(
        "mouse 100 100\nstep 1\nfreeze\nmouse 300 300\nstep 5\ndump\nfollow\nstep 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const size_t second = run.out.find('\n') + 1;
    EXPECT_EQ(run.out.find("\"light\": [100, 100]"), run.out.find("\"light\""));
    EXPECT_NE(run.out.find("\"light\": [300, 300]", second), std::string::npos);
}

TEST(SimPlay, HashIsSixteenHexDigitsThatFollowTheWorld) {
    PlayRun a("box 300 200\nstep 10\nhash\n");
    PlayRun b("box 300 200\nstep 10\nhash\n");
    PlayRun c("box 300 201\nstep 10\nhash\n");
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out, c.out);
    EXPECT_EQ(a.out.size(), 17u);
    EXPECT_EQ(a.out.find_first_not_of("0123456789abcdef\n"), std::string::npos) << a.out;
    EXPECT_EQ(a.out, HashText(HashState(a.sim.world, a.sim.lighting)) + "\n");
    // FNV-1a of nothing is its offset basis: the hash of no state at all.
    EXPECT_EQ(HashText(14695981039346656037ull), "cbf29ce484222325");
}

TEST(SimPlay, StudyViewCollectsThePairsAndContactsOfTheLastStepOnlyWhileItIsOn) {
    PlayRun off("box 300 240\nbox 320 240\nstep 1\n");
    EXPECT_TRUE(off.sim.world.trace.pairs.empty());
    PlayRun on("view study\nbox 300 240\nbox 320 240\nstep 1\n");
    EXPECT_EQ(on.sim.world.trace.pairs.size(), 1u);
    EXPECT_FALSE(on.sim.world.trace.contacts.empty());
    PlayRun back("view study\nbox 300 240\nbox 320 240\nstep 1\nview roles\n");
    EXPECT_TRUE(back.sim.world.trace.pairs.empty());
    EXPECT_FALSE(back.sim.world.trace.collecting);
}

// A paused window right after a drop: the box's shadow fans from its own
// centre, not from the corner of the screen.
TEST(SimPlay, ABoxDroppedWhilePausedCastsItsShadowFromItsCentre) {
    PlayRun run("mouse 320 60\nbox 300 240\nidle 1\ndump\n");
    EXPECT_NE(run.out.find("\"bodies\": [[300, 240, 280, 220, 320, 260]]"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"shadows\": [[300, 240, 280, 220, 320, 220]"), std::string::npos)
        << run.out;
}

// The trace leaves out a moment the step did not have.
TEST(SimPlay, TheTraceNamesTheMomentsOfTheLastStep) {
    PlayRun apart("view study\nbox 100 240\nbox 400 240\nstep 1\ntrace\n");
    EXPECT_EQ(apart.out.find("\"separation\""), std::string::npos) << apart.out;
    EXPECT_EQ(apart.out.find("\"wall\""), std::string::npos) << apart.out;
    EXPECT_NE(apart.out.find("\"motion\": [[80, 220, 0, 0], "), std::string::npos) << apart.out;
    PlayRun wall("view study\nbox 645 240\nbox 300 240\nbox 330 250\nstep 1\ntrace\n");
    for (const char* key : {"\"stretch\"", "\"wall\"", "\"separation\"", "\"friction\"",
                            "\"along\"", "\"edgeAfter\""}) {
        EXPECT_NE(wall.out.find(key), std::string::npos) << key << " in " << wall.out;
    }
}

TEST(SimPlay, MalformedPlayCommandsNameTheirLine) {
    EXPECT_EQ(PlayRun("idle\n").status, 2);
    EXPECT_EQ(PlayRun("step 1\nidle -1\n").err,
              "tumble-sim: line 2: '-1' is out of range (0 to 2147483647): idle -1\n");
    PlayRun view("view\n");
    EXPECT_EQ(view.status, 2);
    PlayRun sideways("dump\nview sideways\ndump\n");
    EXPECT_EQ(sideways.status, 2);
    EXPECT_NE(sideways.err.find("line 2: unknown view 'sideways'"), std::string::npos)
        << sideways.err;
    for (const char* extra :
         {"reset now\n", "grab 1 2\n", "release x\n", "freeze 1\n", "follow me\n", "hash 3\n"}) {
        PlayRun run(extra);
        EXPECT_EQ(run.status, 2) << extra;
        EXPECT_NE(run.err.find("too many arguments"), std::string::npos) << run.err;
    }
}

}  // namespace

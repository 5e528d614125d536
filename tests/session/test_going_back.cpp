// The session's history: a session gone back and forth at random shows at
// every pass what the straight run showed there, and ends where it ends;
// `back` beyond the history is an error naming its line; `figures` writes a
// row a pass.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "session/commands.h"
#include "session/session.h"

namespace {

// Drops, a drag, lights, a restart, a frozen light, idle passes and the
// study view, one pass a line so that every pass can be looked at.
std::vector<std::string> SessionLines() {
    std::vector<std::string> lines = {"box 300 100", "box 330 40", "light 500 100", "mouse 310 90"};
    const auto passes = [&lines](const char* kind, int count) {
        for (int i = 0; i < count; ++i) {
            lines.push_back(kind);
        }
    };
    passes("step 1", 40);
    lines.insert(lines.end(), {"grab", "mouse 200 200"});
    passes("step 1", 20);
    lines.insert(lines.end(), {"release", "freeze", "colour", "view study"});
    passes("idle 1", 5);
    passes("step 1", 15);
    lines.insert(lines.end(), {"reset", "follow", "box 320 200", "radius 300", "soft on"});
    passes("step 1", 30);
    lines.insert(lines.end(), {"unlight", "box 100 300"});
    passes("step 1", 250);  // past the first periodic snapshot
    return lines;
}

void RunLine(Session& session, const std::string& line) {
    std::istringstream in(line + "\n");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScript(session, in, out, err, nullptr), 0) << err.str();
}

std::string Fingerprint(const Session& session) {
    return HashSession(session) + DumpSession(session);
}

TEST(GoingBack, ScrubbedAtRandomEveryPassIsTheStraightRunsAndSoIsTheEnd) {
    const std::vector<std::string> lines = SessionLines();
    Session straight;
    StartSession(straight);
    std::vector<std::string> seen = {Fingerprint(straight)};  // by pass
    for (const std::string& line : lines) {
        RunLine(straight, line);
        if (static_cast<int64_t>(seen.size()) == straight.passes) {
            seen.push_back(Fingerprint(straight));
        }
    }

    Session scrubbed;
    StartSession(scrubbed);
    std::mt19937 random(22);
    for (const std::string& line : lines) {
        RunLine(scrubbed, line);
        if (random() % 16 != 0 || line.rfind("step", 0) != 0) {
            continue;
        }
        const int64_t end = scrubbed.passes;
        for (int hop = 0; hop < 4; ++hop) {  // back and forth within what was run
            const int64_t pass =
                FirstSessionPass(scrubbed) +
                static_cast<int64_t>(random() % (end - FirstSessionPass(scrubbed) + 1));
            ASSERT_TRUE(ReturnSessionTo(scrubbed, pass));
            ASSERT_EQ(Fingerprint(scrubbed), seen[pass]) << "pass " << pass;
        }
        ASSERT_TRUE(ReturnSessionTo(scrubbed, end));
    }
    EXPECT_EQ(Fingerprint(scrubbed), Fingerprint(straight));
}

// After `back`, the next command takes over: the old future is gone, and
// the session runs on as a script that never had it.
TEST(GoingBack, BackThenADropIsTheSessionThatDroppedThere) {
    Session branched;
    StartSession(branched);
    for (const char* line : {"box 300 100", "step 60", "light 100 100", "step 40", "back 70",
                             "box 200 150", "step 30"}) {
        RunLine(branched, line);
    }
    EXPECT_EQ(LastSessionPass(branched), 60);
    Session direct;
    StartSession(direct);
    for (const char* line : {"box 300 100", "step 30", "box 200 150", "step 30"}) {
        RunLine(direct, line);
    }
    EXPECT_EQ(Fingerprint(branched), Fingerprint(direct));
}

TEST(GoingBack, BackBeyondTheHistoryIsAnErrorNamingTheLine) {
    Session session;
    StartSession(session);
    std::istringstream in("box 300 100\nstep 10\nback 10\nstep 5\nback 6\nhash\n");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunScript(session, in, out, err, nullptr), 1);
    EXPECT_EQ(err.str(),
              "tumble-sim: line 5: cannot go back 6 passes: the history holds 5: back 6\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(session.passes, 5);
}

// The oldest passes go when the history is over its budget; what is left
// is still reached exactly, and going back further is refused.
TEST(GoingBack, AHistoryOverItsBudgetForgetsItsOldestPasses) {
    Session session;
    StartSession(session);
    session.history.budget = 1;  // one periodic snapshot at a time
    session.history.nearbyBudget = 1;
    RunLine(session, "box 300 100");
    RunLine(session, "step 500");
    EXPECT_EQ(FirstSessionPass(session), 384);
    std::string error;
    ScriptCommand back;
    ASSERT_TRUE(ParseScriptLine("back 117", back, error));
    EXPECT_FALSE(RunCommand(session, back, {std::cout, nullptr}, error));
    back.count = 116;
    EXPECT_TRUE(RunCommand(session, back, {std::cout, nullptr}, error));
    EXPECT_EQ(session.passes, 384);
}

TEST(GoingBack, FiguresWritesAHeaderThenARowAPass) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "tumble-figures-test.csv").string();
    Session session;
    StartSession(session);
    RunLine(session, "box 300 100");
    RunLine(session, "step 2");
    RunLine(session, "figures " + path);
    RunLine(session, "step 3");
    RunLine(session, "idle 1");
    session.figures.reset();  // closes the file
    std::ifstream file(path);
    std::vector<std::string> rows;
    for (std::string row; std::getline(file, row);) {
        rows.push_back(row);
    }
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], "pass,kinetic_energy,contacts,largest_stick_error,step_ms");
    EXPECT_EQ(rows[1].rfind("3,", 0), 0u);
    EXPECT_EQ(rows[4].rfind("6,", 0), 0u);
    std::filesystem::remove(path);

    std::istringstream in("figures /no/such/folder/f.csv\n");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunScript(session, in, out, err, nullptr), 1);
    EXPECT_NE(err.str().find("cannot write /no/such/folder/f.csv"), std::string::npos);
}

// The figures of two 40 × 40 boxes worked out by hand from their corners:
// each side 40 long and each diagonal 40√2, each corner a quarter of its
// box's mass moving by position − previous. The CSV's last row and the
// study view's last plot sample say the same after the first step, while
// the boxes still press on each other.
TEST(GoingBack, FiguresOfTwoBoxesAreTheHandComputedOnes) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "tumble-two-boxes.csv").string();
    Session session;
    StartSession(session);
    RunLine(session, "view study");
    RunLine(session, "box 300 200");
    RunLine(session, "box 325 215");  // overlapping the first
    RunLine(session, "figures " + path);
    RunLine(session, "step 1");
    session.figures.reset();
    std::ifstream file(path);
    std::string row;
    for (std::string line; std::getline(file, line);) {
        row = line;
    }
    std::filesystem::remove(path);
    double energy = 0;
    double stickError = 0;
    for (const Body& body : session.world.bodies) {
        if (&body == session.world.worldBody) {
            continue;
        }
        ASSERT_EQ(body.particleCount, 4);
        for (int32_t i = 1; i <= 4; ++i) {
            const Particle* p = BodyParticle(body, i);
            const double dx = p->position.x - p->previous.x;
            const double dy = p->position.y - p->previous.y;
            energy += 0.5 * body.mass * (dx * dx + dy * dy);
            for (int32_t j = i + 1; j <= 4; ++j) {
                const Particle* q = BodyParticle(body, j);
                const double length =
                    std::hypot(q->position.x - p->position.x, q->position.y - p->position.y);
                const double rest = (j - i == 2) ? 40 * std::sqrt(2.0) : 40;  // corners in turn
                stickError = std::max(stickError, std::fabs(length - rest));
            }
        }
    }
    double pass, csvEnergy, csvError, ms;
    int contacts;
    ASSERT_EQ(std::sscanf(row.c_str(), "%lf,%lf,%d,%lf,%lf", &pass, &csvEnergy, &contacts,
                          &csvError, &ms),
              5)
        << row;
    EXPECT_EQ(pass, 1);
    EXPECT_GT(energy, 0);  // the overlap pushes the boxes apart
    EXPECT_NEAR(csvEnergy, energy, 1e-9 * energy);
    EXPECT_NEAR(csvError, stickError, 1e-4);  // rest lengths are stored as floats
    EXPECT_GT(contacts, 0);
    const StudyTrace::PlotSample& plotted = session.world.trace.plots.back();
    EXPECT_EQ(session.world.trace.plots.size(), 1u);
    EXPECT_EQ(plotted.kineticEnergy, static_cast<float>(csvEnergy));
    EXPECT_EQ(plotted.contacts, contacts);
    EXPECT_EQ(plotted.largestStickError, static_cast<float>(csvError));
}

}  // namespace

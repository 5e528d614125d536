#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "session/commands.h"
#include "session/session.h"
#include "world/shapes.h"

namespace {

struct ScriptRun {
    int status;
    std::string out;
    std::string err;
};

ScriptRun RunText(const std::string& text) {
    Session sim;
    StartSession(sim);
    std::istringstream script(text);
    std::ostringstream out;
    std::ostringstream err;
    int status = RunScript(sim, script, out, err, nullptr);
    return {status, out.str(), err.str()};
}

TEST(SimScript, DumpsTheWorldFieldByField) {
    ScriptRun run = RunText(
        "# one box under the light\n"
        "\n"
        "box 320 240\n"
        "mouse 320 40\n"
        "step 2\n"
        "dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "{\"pass\": 2, \"light\": [320, 40], "
              "\"particles\": [[300, 220], [340, 220], [340, 260], [300, 260]], "
              "\"bodies\": [[320, 240, 300, 220, 340, 260]], "
              "\"shadows\": [[320, 240, 300, 220, 340, 220], [320, 240, 340, 220, 340, 260], "
              "[320, 240, 340, 260, 300, 260], [320, 240, 300, 260, 300, 220], "
              "[173, 1360, 340, 220, 300, 220], [340, 220, 173, 1360, 467, 1360]]}\n");
}

TEST(SimScript, StartsAsStartUpLeavesTheWorld) {
    ScriptRun run = RunText("dump\n");
    EXPECT_EQ(run.out,
              "{\"pass\": 0, \"light\": [0, 0], \"particles\": [], \"bodies\": [], "
              "\"shadows\": []}\n");
}

TEST(SimScript, NumbersReadBackToTheSameDouble) {
    // A box dropped across the corner is pushed back by the walls, leaving
    // positions that are not whole numbers.
    ScriptRun run = RunText("box 5 7\nstep 3\ndump\n");
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find('.'), std::string::npos);
    EXPECT_EQ(run.out.find("e+"), std::string::npos);
    EXPECT_EQ(run.out.find("nan"), std::string::npos);
}

TEST(SimScript, MalformedLinesNameTheLineAndStopTheRun) {
    struct Case {
        const char* script;
        const char* message;
    } cases[] = {
        {"dump\njump 1 2\ndump\n", "line 2: unknown command 'jump': jump 1 2"},
        {"box 10\n", "line 1: missing argument (usage: box X Y): box 10"},
        {"mouse 1 2 3\n", "line 1: too many arguments"},
        {"step 1.5\n", "line 1: '1.5' is not a decimal integer: step 1.5"},
        {"box ten 10\n", "'ten' is not a decimal integer"},
        {"step -1\n", "'-1' is out of range (0 to 2147483647)"},
        {"box 1000001 0\n", "'1000001' is out of range"},
        {"mouse 0 99999999999999999999999\n", "is out of range"},
        {"dump now\n", "too many arguments"},
        {"light 5\n", "missing argument (usage: light X Y)"},
        {"radius 99\n", "'99' is out of range (100 to 1000)"},
        {"radius 1001\n", "out of range"},
        {"soft\n", "missing argument (usage: soft on|off)"},
        {"soft yes\n", "'yes' is neither on nor off"},
        {"colour blue\n", "too many arguments"},
        {"shape circle 1 2\n",
         "unknown shape 'circle' (box40, small, big, plank, triangle or hexagon)"},
        {"shape plank 1\n", "missing argument (usage: shape NAME X Y)"},
        {"shape 1 2 plank\n", "unknown shape '1'"},
        {"shape plank 1 2000000\n", "out of range"},
        {"choose\n", "missing argument (usage: choose NAME)"},
        {"gravity down\n", "'down' is neither on nor off"},
        {"rest\n", "missing argument (usage: rest on|off)"},
        {"pin 3 4\n", "too many arguments"},
    };
    for (const Case& c : cases) {
        ScriptRun run = RunText(c.script);
        EXPECT_EQ(run.status, 2) << c.script;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    // Lines before the bad one have run; nothing after it.
    ScriptRun run = RunText("dump\njump 1 2\ndump\n");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
}

// The sandbox's commands do what their keys do: a shape named in the script,
// gravity that pulls a box down, a pin that holds one where it stands.
TEST(SimScript, SandboxCommandsDropShapesSwitchGravityAndPin) {
    Session sim;
    StartSession(sim);
    std::istringstream script(
        "shape triangle 200 200\n"
        "shape hexagon 400 200\n"
        "box 300 100\n"
        "mouse 300 100\n"
        "pin\n"
        "gravity on\n"
        "step 60\n");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScript(sim, script, out, err, nullptr), 0) << err.str();
    std::vector<const Body*> bodies;
    for (const Body& body : sim.world.bodies) {
        if (body.id != kWorldBodyId) {
            bodies.push_back(&body);
        }
    }
    ASSERT_EQ(bodies.size(), 3u);
    EXPECT_EQ(bodies[0]->particleCount, 3);
    EXPECT_EQ(bodies[1]->particleCount, 6);
    EXPECT_GT(bodies[0]->centre.y, 250);  // fallen
    EXPECT_TRUE(bodies[2]->pinned);
    EXPECT_EQ(bodies[2]->centre.x, 300);  // held where it stands
    EXPECT_EQ(bodies[2]->centre.y, 100);
    EXPECT_EQ(sim.world.settings.Gravity.y, 1);

    // Pin again: unpinned, it falls too. Gravity off and a restart keep no weight.
    std::istringstream more("pin\nstep 20\ngravity off\nrest off\nreset\nbox 300 100\nstep 20\n");
    ASSERT_EQ(RunScript(sim, more, out, err, nullptr), 0) << err.str();
    EXPECT_EQ(sim.world.settings.Gravity.y, 0);
    EXPECT_EQ(sim.world.settings.Rest, 0);
    for (const Body& body : sim.world.bodies) {
        EXPECT_TRUE(body.id == kWorldBodyId || body.centre.y == 100);  // no weight
    }
}

// Choosing a shape is play state: kept through a restart, as the view is.
TEST(SimScript, TheShapeChosenOutlivesARestart) {
    Session sim;
    StartSession(sim);
    std::istringstream script("choose plank\nreset\n");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScript(sim, script, out, err, nullptr), 0) << err.str();
    EXPECT_EQ(sim.play.shape, Shape::Plank);
}

// Each command reads back as the recordings write it, every shape by its name.
TEST(SimScript, SandboxCommandsReadBackAsWritten) {
    for (const char* line :
         {"shape box40 -5 7", "shape small 1 2", "shape big 3 4", "shape plank 5 6",
          "shape triangle 7 8", "shape hexagon 9 10", "choose hexagon", "gravity on", "gravity off",
          "rest on", "rest off", "pin"}) {
        ScriptCommand command;
        std::string error;
        ASSERT_TRUE(ParseScriptLine(line, command, error)) << line << ": " << error;
        EXPECT_EQ(FormatScriptLine(command), line);
    }
}

// The README's table of script commands names every command of the table.
TEST(SimScript, TheReadmeListsEveryCommand) {
    std::ifstream readme(TUMBLE_README);
    ASSERT_TRUE(readme) << TUMBLE_README;
    std::string firstCells;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("| `", 0) == 0) {
            firstCells += line.substr(0, line.find(" |", 1)) + "\n";
        }
    }
    for (const CommandRow& row : CommandTable()) {
        const std::string name = std::string("`") + row.name;
        const bool listed = firstCells.find(name + "`") != std::string::npos ||
                            firstCells.find(name + " ") != std::string::npos;
        EXPECT_TRUE(listed) << row.name << " is missing from the README's scripts table";
    }
}

TEST(SimScript, DroppedLightsAreDumpedAfterTheMouseLightAndCastTheirShadowsAtOnce) {
    ScriptRun run = RunText(
        "box 320 240\n"
        "mouse 320 40\n"
        "step 2\n"
        "light 100 240\n"
        "colour\n"
        "radius 150\n"
        "dump\n"
        "unlight\n"
        "unlight\n"
        "dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string first = run.out.substr(0, run.out.find('\n'));
    const std::string second = run.out.substr(first.size() + 1);
    EXPECT_NE(first.find("\"light\": [320, 40], \"lights\": [[100, 240, 300, 230, 210, 170]], "
                         "\"particles\""),
              std::string::npos)
        << first;
    // The dropped light's own quad, from the worked example lit from (100, 240).
    EXPECT_NE(first.find("[1440, 106, 300, 260, 300, 220], [300, 260, 1440, 106, 1440, 374]"),
              std::string::npos)
        << first;
    // Gone again: the dump and its shadows are those of the mouse's light alone.
    EXPECT_EQ(second.find("lights"), std::string::npos);
    EXPECT_EQ(second.find("1440"), std::string::npos);
    EXPECT_NE(second.find("[173, 1360, 340, 220, 300, 220]"), std::string::npos);
}

TEST(SimScript, SoftShadowsListEveryPenumbraPointsTrianglesAndOffRestoresTheHardOnes) {
    const std::string scene = "box 320 240\nmouse 320 40\nstep 2\n";
    ScriptRun hard = RunText(scene + "dump\n");
    ScriptRun soft = RunText(scene + "soft on\ndump\nsoft off\ndump\n");
    ASSERT_EQ(soft.status, 0) << soft.err;
    const std::string on = soft.out.substr(0, soft.out.find('\n') + 1);
    EXPECT_EQ(soft.out.substr(on.size()), hard.out);
    // Eight casters of six triangles each: 48 triangles of 6 numbers.
    EXPECT_EQ(
        std::count(on.begin(), on.end(), '[') - std::count(hard.out.begin(), hard.out.end(), '['),
        48 - 6);
}

TEST(SimScript, AcceptsCommentsBlankLinesAndWindowsLineEnds) {
    ScriptRun run = RunText("  # indented comment\r\n   \r\nbox  -20   30\r\nstep 0\r\n");
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST(SimScript, ShotWithoutARendererIsAFailureNotASilentSuccess) {
    ScriptRun run = RunText("shot picture.png\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("line 1"), std::string::npos);
}

// The program itself: file arguments and exit statuses.
std::string SimCommand(const std::string& args) {
    return std::string(TUMBLE_SIM_PATH) + " " + args + " >/dev/null 2>&1";
}

int ExitStatus(const std::string& command) {
    int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(SimProgram, AMissingScriptFileIsAClearError) {
    EXPECT_EQ(ExitStatus(SimCommand("/nonexistent/script.txt")), 2);
    EXPECT_EQ(ExitStatus(SimCommand("a b")), 2);
}

TEST(SimProgram, TimeReportsThePassesAndTheirMedianOnStandardError) {
    std::string report = ::testing::TempDir() + "tumble_sim_time.txt";
    std::string command = "printf 'box 100 100\\nstep 7\\n' | " + std::string(TUMBLE_SIM_PATH) +
                          " --time 2>" + report;
    ASSERT_EQ(ExitStatus(command), 0);
    std::ifstream file(report);
    std::string line;
    std::getline(file, line);
    EXPECT_NE(line.find("7 passes, world update median "), std::string::npos) << line;
    EXPECT_NE(line.find("99th percentile"), std::string::npos) << line;
    EXPECT_EQ(ExitStatus(SimCommand("--no-such-option")), 2);
    std::remove(report.c_str());
}

TEST(SimProgram, ReadsAScriptFileOrStandardInput) {
    std::string path = ::testing::TempDir() + "tumble_sim_script.txt";
    std::ofstream(path) << "box 100 100\nstep 5\ndump\n";
    EXPECT_EQ(ExitStatus(SimCommand(path)), 0);
    EXPECT_EQ(ExitStatus("printf 'step 2\\ndump\\n' | " + SimCommand("")), 0);
    EXPECT_EQ(ExitStatus("printf 'step x\\n' | " + SimCommand("")), 2);
    std::remove(path.c_str());
}

}  // namespace

#ifdef TUMBLE_SIM_HAS_SHOT
namespace {

TEST(SimProgram, ShotWritesThePictureTheWindowWouldShow) {
    std::string picture = ::testing::TempDir() + "tumble_sim_shot.png";
    std::remove(picture.c_str());
    ASSERT_EQ(ExitStatus("printf 'box 320 240\\nmouse 100 100\\nstep 3\\nshot " + picture +
                         "\\n' | " + SimCommand("")),
              0);
    std::ifstream file(picture, std::ios::binary);
    char signature[8] = {};
    file.read(signature, sizeof signature);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    std::remove(picture.c_str());
}

TEST(SimProgram, APictureThatCannotBeWrittenIsAFailure) {
    EXPECT_EQ(ExitStatus("printf 'shot /nonexistent/dir/x.png\\n' | " + SimCommand("")), 1);
}

}  // namespace
#endif

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "session/session.h"

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

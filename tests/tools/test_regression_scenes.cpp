// Fixed scenes whose dumps are kept under tests/golden: a change that moves
// any number of any of them, in any bit, shows here. Run with
// TUMBLE_UPDATE_GOLDEN=1 to write the dumps anew after a deliberate change.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "session/session.h"
#include "tools/sim/crowd.h"

namespace {

std::string GoldenPath(const std::string& name) {
    return std::string(TUMBLE_GOLDEN_DIR) + "/" + name;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string RunToDump(const std::string& script) {
    Session sim;
    StartSession(sim);
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunScript(sim, in, out, err, nullptr), 0) << err.str();
    return out.str();
}

void ExpectSameAsGolden(const std::string& name, const std::string& script) {
    std::string dump = RunToDump(script);
    std::string path = GoldenPath(name + ".dump");
    if (std::getenv("TUMBLE_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(path, std::ios::binary) << dump;
        GTEST_SKIP() << "wrote " << path;
    }
    std::string golden = ReadFile(path);
    ASSERT_FALSE(golden.empty()) << "missing " << path;
    // Compare line by line so that a failure names the dump that moved.
    std::istringstream got(dump);
    std::istringstream want(golden);
    std::string gotLine;
    std::string wantLine;
    int line = 0;
    while (std::getline(want, wantLine)) {
        ++line;
        ASSERT_TRUE(std::getline(got, gotLine)) << name << ": dump " << line << " missing";
        ASSERT_EQ(gotLine, wantLine) << name << ": dump " << line << " differs";
    }
    EXPECT_FALSE(std::getline(got, gotLine)) << name << ": more dumps than kept";
}

TEST(RegressionScenes, BoxesAcrossTheCorners) {
    ExpectSameAsGolden("corners", ReadFile(GoldenPath("corners.script")));
}

TEST(RegressionScenes, APileOnOneSpot) {
    ExpectSameAsGolden("pile", ReadFile(GoldenPath("pile.script")));
}

TEST(RegressionScenes, ACrowdOfThreeHundredOverThreeHundredPasses) {
    ExpectSameAsGolden("crowd300", CrowdScript(300, 120) + "step 180\ndump\n");
}

// A jam from the first pass on: the boxes land on top of each other and are
// pushed apart; every twentieth pass is kept.
TEST(RegressionScenes, ACrowdOfFiveHundredEveryTwentyPasses) {
    std::string script = CrowdScript(500, 0);
    for (int i = 0; i < 10; ++i) script += "step 20\ndump\n";
    ExpectSameAsGolden("crowd500", script);
}

}  // namespace

// The sandbox's keys and the right button through the scripted services:
// each acts as its script command and is recorded as it, and what they
// change shows in the frame only while it is in use.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "session/recording.h"
#include "session/state_dump.h"
#include "session/state_hash.h"
#include "shell/offscreen.h"

namespace {

constexpr uint32_t kYellow = MakeColour(255, 255, 0);

class SandboxKeys : public ::testing::Test {
   protected:
    Offscreen program{true};
    ScriptedInput& input = program.input;
    Session& session = program.app.session;

    int32_t Yellow() {
        const Screen screen = program.Read();
        return static_cast<int32_t>(
            std::count(screen.pixels.begin(), screen.pixels.end(), kYellow));
    }

    const Body& LastBody() {
        const Body* last = nullptr;
        for (const Body& body : session.world.bodies) {
            last = &body;
        }
        return *last;
    }
};

TEST_F(SandboxKeys, GAndKSwitchGravityAndTheRestRule) {
    program.Tap(kKeyG);
    EXPECT_EQ(session.world.settings.Gravity.y, 1);
    program.Tap(kKeyK);
    EXPECT_EQ(session.world.settings.Rest, 0);
    program.Tap(kKeyR);  // a restart keeps both
    EXPECT_EQ(session.world.settings.Gravity.y, 1);
    program.Tap(kKeyG);
    program.Tap(kKeyK);
    EXPECT_EQ(session.world.settings.Gravity.y, 0);
    EXPECT_EQ(session.world.settings.Rest, 1);
}

TEST_F(SandboxKeys, TabChoosesWhatSpaceDropsAndTheCountsShowIt) {
    input.MoveMouse(320, 240);
    program.Run(1);
    const Screen startUp = program.Read();
    program.Tap(kKeyTab);
    program.Tap(kKeyTab);
    program.Tap(kKeyTab);
    program.Tap(kKeyTab);  // the triangle
    EXPECT_EQ(session.play.shape, Shape::Triangle);
    program.Tap(kKeySpace);
    EXPECT_EQ(LastBody().particleCount, 3);
    program.Run(1);
    const Screen chosen = program.Read();
    bool textDiffers = false;  // a line "shape : triangle" below the counts
    for (int32_t y = 32; y < 48; ++y) {
        for (int32_t x = 10; x < 140; ++x) {
            textDiffers = textDiffers || chosen.At(x, y) != startUp.At(x, y);
        }
    }
    EXPECT_TRUE(textDiffers);
    program.Tap(kKeyR);
    EXPECT_EQ(session.play.shape, Shape::Triangle);  // kept through the restart
    program.Tap(kKeyTab);
    program.Tap(kKeyTab);  // round to the 40 × 40 box
    EXPECT_EQ(session.play.shape, Shape::Box40);
}

TEST_F(SandboxKeys, TheRightButtonPinsAndUnpinsTheBodyUnderTheMouse) {
    input.MoveMouse(320, 240);
    program.Tap(kKeySpace);
    const Body& box = LastBody();
    EXPECT_EQ(Yellow(), 0);  // no pin, no cross
    input.rightButton = true;
    program.Run(1);
    EXPECT_TRUE(box.pinned);
    program.Run(3);  // held down: pinned once, not toggled every pass
    EXPECT_TRUE(box.pinned);
    EXPECT_GT(Yellow(), 0);
    input.rightButton = false;
    program.Run(1);
    input.rightButton = true;
    program.Run(2);
    EXPECT_FALSE(box.pinned);
    EXPECT_EQ(Yellow(), 0);
    input.rightButton = false;
    input.MoveMouse(-300, -220);  // over no body: nothing
    program.Run(1);
    input.rightButton = true;
    program.Run(1);
    EXPECT_FALSE(box.pinned);
}

// Each key is recorded as its command, and tumble-sim rebuilds the world from
// the recording bit for bit.
TEST_F(SandboxKeys, ARecordingOfTheSandboxKeysRebuildsTheSameWorld) {
    namespace fs = std::filesystem;
    const fs::path path =
        fs::temp_directory_path() / ("tumble-sandbox-" + std::to_string(getpid()));
    std::string error;
    ASSERT_TRUE(StartRecording(program.app.recording, path.string(),
                               RecordingHeader("test", 0, path.string()), error))
        << error;
    program.Tap(kKeyG);
    input.MoveMouse(300, 100);
    program.Tap(kKeySpace);  // the 40 × 40 box
    program.Tap(kKeyTab);
    program.Tap(kKeySpace);  // a small box on top of it
    program.Run(20);
    input.rightButton = true;
    program.Run(1);
    input.rightButton = false;
    program.Run(10);
    program.Tap(kKeyK);
    program.Run(10);
    ASSERT_TRUE(FinishRecording(program.app, stderr));

    std::ifstream file(path);
    std::stringstream script;
    script << file.rdbuf();
    fs::remove(path);
    for (const char* line : {"\ngravity on\n", "\nbox 300 100\n", "\nchoose small\n",
                             "\nshape small 300 100\n", "\npin\n", "\nrest off\n"}) {
        EXPECT_NE(script.str().find(line), std::string::npos) << line << " in\n" << script.str();
    }
    Session sim;
    StartSession(sim);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScript(sim, script, out, err, nullptr), 0) << err.str();
    EXPECT_EQ(DumpSession(sim), DumpState(session.world, session.lighting, session.passes));
    EXPECT_EQ(HashSession(sim), HashText(HashState(session.world, session.lighting)));
    EXPECT_EQ(sim.play.shape, Shape::SmallBox);
}

}  // namespace

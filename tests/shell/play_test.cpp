// The play keys and the mouse button through the scripted services, one
// story each: pause, single step, restart, views, drag, help and screenshot.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "dynamics/drag.h"
#include "lighting/light.h"
#include "lighting/shadows.h"
#include "render/light_sprite.h"
#include "render/render_frame.h"
#include "render/study_view.h"
#include "session/state_hash.h"
#include "shell/offscreen.h"
#include "shell/screenshot.h"

namespace {

class Play : public ::testing::Test {
   protected:
    Offscreen program{true};
    ScriptedInput& input = program.input;
    World& world = program.app.session.world;

    void Tap(int32_t key) { program.Tap(key); }

    std::vector<Vec2> Positions() {
        std::vector<Vec2> positions;
        for (const Particle& p : world.particles) {
            positions.push_back(p.position);
        }
        return positions;
    }

    static bool Same(const std::vector<Vec2>& a, const std::vector<Vec2>& b) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (a[i].x != b[i].x || a[i].y != b[i].y)
                return false;
        }
        return true;
    }

    int32_t Count(const Screen& screen, uint32_t colour) {
        return static_cast<int32_t>(std::count(screen.pixels.begin(), screen.pixels.end(), colour));
    }
};

TEST_F(Play, PausedPassesLeaveEveryParticleWhereItWasWhileTheShadowsFollowTheLight) {
    input.MoveMouse(300, 240);
    Tap(kKeySpace);
    input.MoveMouse(10, 5);
    Tap(kKeySpace);  // two overlapping boxes: they keep moving apart while running
    Tap(kKeyP);
    const std::vector<Vec2> frozen = Positions();
    const uint64_t shadowsBefore = HashState(World{}, program.app.session.lighting);
    input.MoveMouse(-250, -200);
    program.Run(5);
    EXPECT_TRUE(Same(Positions(), frozen));
    const Light& light = *program.app.session.lighting.lights.begin();
    EXPECT_EQ(light.x, 60);
    EXPECT_EQ(light.y, 45);
    EXPECT_NE(HashState(World{}, program.app.session.lighting),
              shadowsBefore);  // the shadows moved
    EXPECT_TRUE(program.app.session.play.paused);
    // Space still drops a box, which waits for the world to step.
    Tap(kKeySpace);
    EXPECT_EQ(world.bodies.Size(), 4);
    Tap(kKeyP);
    program.Run(1);
    EXPECT_FALSE(Same(Positions(), frozen));
}

TEST_F(Play, OStepsExactlyOnceWhilePausedAndNothingWhileRunning) {
    input.MoveMouse(300, 240);
    Tap(kKeySpace);
    input.MoveMouse(10, 5);
    Tap(kKeySpace);
    Tap(kKeyP);
    const std::vector<Vec2> before = Positions();
    input.keysDown[kKeyO] = 1;
    program.Run(1);
    input.keysDown[kKeyO] = 0;
    program.Run(1);  // the release is seen at the end of this pass
    EXPECT_TRUE(Same(Positions(), before));
    program.Run(1);  // the one step
    const std::vector<Vec2> stepped = Positions();
    EXPECT_FALSE(Same(stepped, before));
    program.Run(4);
    EXPECT_TRUE(Same(Positions(), stepped));
    EXPECT_FALSE(program.app.session.play.stepOnce);
}

TEST_F(Play, RGivesTheWorldOfANewProgramWithTheLightAtTheMouse) {
    input.MoveMouse(200, 200);
    Tap(kKeySpace);
    Tap(kKeySpace);
    input.leftButton = true;
    program.Run(3);
    ASSERT_TRUE(IsGrabbing(world));
    Tap(kKeyR);
    input.leftButton = false;
    program.Run(1);
    Offscreen fresh{true};
    fresh.input.MoveMouse(200, 200);
    fresh.Run(2);
    program.Run(1);
    EXPECT_FALSE(IsGrabbing(world));
    EXPECT_EQ(world.bodies.Size(), 1);
    EXPECT_EQ(world.particles.Size(), 0);
    EXPECT_EQ(world.nextBodyId, fresh.app.session.world.nextBodyId);
    EXPECT_EQ(world.nextParticleId, fresh.app.session.world.nextParticleId);
    EXPECT_EQ(HashState(world, program.app.session.lighting),
              HashState(fresh.app.session.world, fresh.app.session.lighting));
    const Light& light = *program.app.session.lighting.lights.begin();
    EXPECT_EQ(light.x, 200);
    EXPECT_EQ(light.y, 200);
}

TEST_F(Play, DCyclesTheThreeViewsAndTheOutlineViewDrawsWhatItAlwaysDrew) {
    Tap(kKeyD);
    EXPECT_EQ(program.app.session.play.view, View::Roles);
    input.MoveMouse(300, 240);
    Tap(kKeySpace);
    program.Run(1);
    EXPECT_GT(Count(program.Read(), MakeColour(0, 0, 255)), 20);  // the braces show in blue

    Tap(kKeyD);
    EXPECT_EQ(program.app.session.play.view, View::Study);
    input.MoveMouse(15, 10);
    Tap(kKeySpace);  // overlapping the first: a candidate pair and contacts in the next step
    program.Run(1);
    EXPECT_EQ(world.trace.pairs.size(), 1u);
    EXPECT_FALSE(world.trace.contacts.empty());
    program.Run(1);
    Screen study = program.Read();
    EXPECT_GT(Count(study, kBoundsColour), 100);
    EXPECT_GT(Count(study, kPairColour), 0);
    EXPECT_GT(Count(study, kContactColour), 0);

    Tap(kKeyD);
    EXPECT_EQ(program.app.session.play.view, View::Outlines);
    EXPECT_FALSE(world.trace.collecting);
    program.Run(1);

    // A program that never left the outline view draws the very same frame.
    Offscreen twin{true};
    auto twinPasses = [&](int32_t n) { twin.Run(n); };
    twinPasses(2);
    twin.input.MoveMouse(300, 240);
    twin.input.keysDown[kKeySpace] = 1;
    twinPasses(1);
    twin.input.keysDown[kKeySpace] = 0;
    twinPasses(4);
    twin.input.MoveMouse(15, 10);
    twin.input.keysDown[kKeySpace] = 1;
    twinPasses(1);
    twin.input.keysDown[kKeySpace] = 0;
    twinPasses(6);
    EXPECT_EQ(program.Read().pixels, twin.Read().pixels);
    EXPECT_EQ(HashState(world, program.app.session.lighting),
              HashState(twin.app.session.world, twin.app.session.lighting));
}

TEST_F(Play, TheLeftButtonDragsTheBoxTowardTheMouseAndLetsItGo) {
    input.MoveMouse(200, 200);
    Tap(kKeySpace);
    input.MoveMouse(15, 15);  // near the bottom-right corner, inside the box
    program.Run(1);
    input.leftButton = true;
    program.Run(1);
    ASSERT_TRUE(IsGrabbing(world));
    EXPECT_EQ(world.grab.particle->id, 3);
    input.MoveMouse(300, 200);
    program.Run(60);
    const Body& box = *world.grab.particle->body;
    EXPECT_GT(box.centre.x, 440);
    EXPECT_GT(box.centre.y, 350);
    const Light& light = *program.app.session.lighting.lights.begin();
    EXPECT_EQ(light.x, 215);  // the light waited where the grab began
    input.leftButton = false;
    program.Run(1);
    EXPECT_FALSE(IsGrabbing(world));
    program.Run(200);
    for (const Particle& p : world.particles) {
        EXPECT_TRUE(std::isfinite(p.position.x) && std::isfinite(p.position.y));
        EXPECT_GE(p.position.x, 0);
        EXPECT_LE(p.position.x, 640);
    }
    EXPECT_EQ(light.x, 515);
}

TEST_F(Play, FFreezesTheLightAndReleasesItToTheMouse) {
    input.MoveMouse(100, 100);
    program.Run(2);
    Tap(kKeyF);
    input.MoveMouse(200, 100);
    program.Run(3);
    const Light& light = *program.app.session.lighting.lights.begin();
    EXPECT_EQ(light.x, 100);
    Tap(kKeyF);
    program.Run(1);
    EXPECT_EQ(light.x, 300);
}

TEST_F(Play, HAndF1ShowAndHideTheHelp) {
    program.Run(1);
    constexpr uint32_t kPanel = MakeColour(32, 32, 48);
    EXPECT_EQ(Count(program.Read(), kPanel), 0);
    Tap(kKeyH);
    program.Run(1);
    EXPECT_GT(Count(program.Read(), kPanel), 50000);
    Tap(kKeyF1);
    program.Run(1);
    EXPECT_EQ(Count(program.Read(), kPanel), 0);
}

TEST_F(Play, PausedShowsAThirdTextLine) {
    program.Run(1);
    auto lit = [&](const Screen& s) {
        int32_t n = 0;
        for (int32_t y = 32; y < 48; ++y)
            for (int32_t x = 10; x < 80; ++x)
                n += RedOf(s.At(x, y)) >= 200 && BlueOf(s.At(x, y)) >= 200;
        return n;
    };
    EXPECT_EQ(lit(program.Read()), 0);
    Tap(kKeyP);
    program.Run(1);
    EXPECT_GT(lit(program.Read()), 20);
}

// The speed has a line of its own while it is not 1; [ stops at 1/8, ] at 1.
TEST_F(Play, TheSpeedIsShownWhileItIsNotOneAndStaysWithinItsLimits) {
    auto lit = [&](const Screen& s) {
        int32_t n = 0;
        for (int32_t y = 32; y < 48; ++y)
            for (int32_t x = 10; x < 120; ++x)
                n += RedOf(s.At(x, y)) >= 200 && BlueOf(s.At(x, y)) >= 200;
        return n;
    };
    program.Run(1);
    EXPECT_EQ(lit(program.Read()), 0);
    for (int i = 0; i < 4; ++i) {
        Tap(kKeyLeftBracket);
    }
    EXPECT_EQ(program.app.window.slowness, 8);
    EXPECT_EQ(program.app.window.note, "speed 1/8 at slowest");
    program.Run(1);
    EXPECT_GT(lit(program.Read()), 20);
    for (int i = 0; i < 4; ++i) {
        Tap(kKeyRightBracket);
    }
    EXPECT_EQ(program.app.window.slowness, 1);
    EXPECT_EQ(program.app.window.note, "speed 1 at fastest");
    program.Run(1);
    EXPECT_EQ(lit(program.Read()), 0);
}

// While paused, a bar along the bottom spans the history with a tick at the
// pass shown: at its right end until Left goes back.
TEST_F(Play, ThePausedFrameShowsWhereTheWorldIsInItsHistory) {
    input.MoveMouse(100, 100);
    Tap(kKeySpace);
    program.Run(40);
    const int32_t end = program.services.screenWidth - 11;
    const int32_t tickY = program.services.screenHeight - 10;
    EXPECT_NE(program.Read().RgbAt(end, tickY), "255,255,255");
    Tap(kKeyP);
    program.Run(1);
    EXPECT_EQ(program.Read().RgbAt(end, tickY), "255,255,255");
    for (int i = 0; i < 10; ++i) {
        Tap(kKeyLeft);
    }
    program.Run(1);
    EXPECT_NE(program.Read().RgbAt(end, tickY), "255,255,255");
}

TEST_F(Play, F12WritesAReadablePngAndAnUnwritableFolderDoesNotStopTheProgram) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tumble-shots-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    program.app.window.screenshotFolder = folder.string();
    Tap(kKeyF12);
    Tap(kKeyF12);  // within the same second: the second name gets "-2"
    program.Run(1);
    std::vector<std::filesystem::path> shots;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        shots.push_back(entry.path());
    }
    ASSERT_GE(shots.size(), 2u);
    for (const auto& shot : shots) {
        const std::string name = shot.filename().string();
        EXPECT_EQ(name.rfind("tumble-", 0), 0u) << name;
        std::ifstream file(shot, std::ios::binary);
        char magic[8] = {};
        file.read(magic, 8);
        EXPECT_EQ(std::string(magic + 1, 3), "PNG") << name;
    }
    std::filesystem::remove_all(folder);

    program.app.window.screenshotFolder = "/nonexistent/folder";
    testing::internal::CaptureStderr();
    Tap(kKeyF12);
    program.Run(2);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("tumble: cannot save the screenshot"), std::string::npos) << err;
    EXPECT_EQ(program.Run(1), LoopEnd::PassLimit);
}

TEST(ScreenshotNames, TakeTheTimeAndCountUpPastTakenNames) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tumble-names-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::tm when{};
    when.tm_year = 126;
    when.tm_mon = 11;
    when.tm_mday = 9;
    when.tm_hour = 7;
    when.tm_min = 5;
    when.tm_sec = 3;
    const std::string first = FreeScreenshotPath(folder.string(), when);
    EXPECT_EQ(std::filesystem::path(first).filename(), "tumble-20261209-070503.png");
    std::ofstream(first).put('x');
    const std::string second = FreeScreenshotPath(folder.string(), when);
    EXPECT_EQ(std::filesystem::path(second).filename(), "tumble-20261209-070503-2.png");
    std::ofstream(second).put('x');
    EXPECT_EQ(std::filesystem::path(FreeScreenshotPath(folder.string(), when)).filename(),
              "tumble-20261209-070503-3.png");
    std::filesystem::remove_all(folder);
}

}  // namespace

namespace {

// The light keys, with the session recorded: what the keys did, the
// recording says in script commands.
class LightKeys : public Play {
   protected:
    std::filesystem::path file = std::filesystem::temp_directory_path() /
                                 ("tumble-light-keys-" + std::to_string(getpid()) + ".script");
    Lighting& lighting = program.app.session.lighting;

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(StartRecording(program.app.recording, file.string(), "", error)) << error;
    }
    void TearDown() override { std::filesystem::remove(file); }

    std::string Recorded() {
        std::string error;
        EXPECT_TRUE(StopRecording(program.app.recording, error)) << error;
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    const Light& Last() {
        const Light* last = nullptr;
        for (const Light& light : lighting.lights) last = &light;
        return *last;
    }
};

TEST_F(LightKeys, LDropsColouredLightsThatStayAndBackspaceTakesThemBackButNeverTheMouses) {
    input.MoveMouse(100, 100);
    Tap(kKeyL);
    input.MoveMouse(300, 0);
    Tap(kKeyL);
    ASSERT_EQ(lighting.lights.Size(), 3);
    EXPECT_EQ(Last().x, 400);
    EXPECT_EQ(Last().red, kLightPalette[1].red);
    EXPECT_EQ(MouseLight(lighting)->x, 400);  // the mouse's light goes on following
    input.MoveMouse(-300, 200);
    program.Run(2);
    EXPECT_EQ(Last().x, 400);
    EXPECT_EQ(MouseLight(lighting)->x, 100);
    Tap(kKeyR);
    EXPECT_EQ(lighting.lights.Size(), 3);  // a restart leaves the lights
    for (int32_t i = 0; i < 4; ++i) Tap(kKeyBackspace);
    EXPECT_EQ(lighting.lights.Size(), 1);
    program.Run(1);
    EXPECT_EQ(program.services.sprites.count(LightSprite(1)), 0u);
    const std::string recorded = Recorded();
    EXPECT_NE(recorded.find("light 100 100\n"), std::string::npos) << recorded;
    EXPECT_NE(recorded.find("light 400 100\n"), std::string::npos) << recorded;
    EXPECT_NE(recorded.find("unlight\n"), std::string::npos) << recorded;
}

TEST_F(LightKeys, CMinusAndEqualsChangeTheMouseLightAndSSwitchesSoftShadows) {
    Tap(kKeyC);
    const Light& mouse = *MouseLight(lighting);
    EXPECT_EQ(mouse.red, kLightPalette[0].red);
    Tap(kKeyEquals);
    EXPECT_EQ(mouse.radius, 550);
    for (int32_t i = 0; i < 10; ++i) Tap(kKeyMinus);
    EXPECT_EQ(MouseLight(lighting)->radius, 100);
    MouseLight(lighting)->radius = 1000;  // a script's radius 1000, without nine large redraws
    Tap(kKeyEquals);
    EXPECT_EQ(mouse.radius, 1000);

    input.MoveMouse(300, 240);
    Tap(kKeySpace);
    input.MoveMouse(0, -200);
    program.Run(2);
    Tap(kKeyS);
    EXPECT_TRUE(lighting.softShadows);
    EXPECT_EQ(lighting.casters.size(), static_cast<size_t>(kPenumbraSamples));
    Tap(kKeyS);
    EXPECT_FALSE(lighting.softShadows);
    EXPECT_EQ(lighting.casters.size(), 1u);
    const std::string recorded = Recorded();
    for (const char* line :
         {"colour\n", "radius 550\n", "radius 150\n", "radius 100\n", "soft on\n", "soft off\n"}) {
        EXPECT_NE(recorded.find(line), std::string::npos) << line << recorded;
    }
    // Held at the limits: nothing more is written.
    EXPECT_EQ(recorded.find("radius 50\n"), std::string::npos);
    EXPECT_EQ(recorded.find("radius 1050"), std::string::npos);
}

TEST_F(LightKeys, LimitsAreSaidOnTheScreenForAWhileAndChangeNothing) {
    for (int32_t i = 0; i < kMaxDroppedLights; ++i) {
        input.MoveMouse(i == 0 ? 40 : 70, i == 0 ? 100 : 0);
        Tap(kKeyL);
    }
    ASSERT_EQ(DroppedLightCount(lighting), kMaxDroppedLights);
    EXPECT_EQ(program.app.window.note, "");
    const uint64_t before = HashState(world, lighting);
    Tap(kKeyL);
    EXPECT_EQ(DroppedLightCount(lighting), kMaxDroppedLights);
    EXPECT_EQ(HashState(world, lighting), before);
    EXPECT_EQ(program.app.window.note, "at most 8 lights besides the mouse's");
    // The note stands below the counts in yellow while it lasts.
    auto noteShown = [this] {
        const Screen screen = program.Read();
        for (int32_t y = 32; y < 48; ++y) {
            for (int32_t x = 10; x < 200; ++x) {
                const uint32_t colour = screen.At(x, y);
                if (RedOf(colour) > 200 && GreenOf(colour) > 200 && BlueOf(colour) < 60) {
                    return true;
                }
            }
        }
        return false;
    };
    program.Run(1);
    EXPECT_TRUE(noteShown());
    input.clock += 2100;
    program.Run(1);
    EXPECT_FALSE(noteShown());
    // The refused light is not part of the session.
    const std::string recorded = Recorded();
    int32_t lightLines = 0;
    for (size_t at = recorded.find("\nlight "); at != std::string::npos;
         at = recorded.find("\nlight ", at + 1)) {
        ++lightLines;
    }
    EXPECT_EQ(lightLines, kMaxDroppedLights) << recorded;

    // The radius at its limit says so too.
    MouseLight(lighting)->radius = kMaxLightRadius;
    Tap(kKeyEquals);
    EXPECT_EQ(program.app.window.note, "radius 1000 at most");
}

}  // namespace

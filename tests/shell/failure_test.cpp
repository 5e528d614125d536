// What the program does when the display lets it down: no window, no
// renderer, no font, a display device that is reset under it; and when it is
// asked to stop by a signal.

#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

#include "shell/offscreen.h"
#include "shell/program.h"
#include "shell/stop_request.h"
#include "world/factories.h"

namespace {

TEST(DisplayFailures, AWindowOrRendererThatCannotBeMadeIsSaidAndEndsWithStatus1) {
    ScriptedInput input;
    input.keysDown[kKeyEscape] = 1;  // were it to run, it would stop at once
    Refusals window;
    window.window = true;
    ProgramRun run = RunWhole(window, input);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said, "tumble: cannot open a window: the display refused the window\n");

    Refusals screen;
    screen.screen = true;
    run = RunWhole(screen, input);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said,
              "tumble: cannot open a window: no renderer for the window: the display refused a "
              "renderer\n");

    run = RunWhole(Refusals{}, input);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.said, "");
}

// The pixels of a frame below the two text lines, and the fully lit pixels
// of the text lines themselves.
struct FrameParts {
    std::vector<uint32_t> belowText;
    int32_t whiteInText = 0;
};

FrameParts FrameAfterABoxDrop(const Refusals& refuse) {
    Offscreen program(true, refuse);
    program.input.MoveMouse(300, 200);
    program.input.keysDown[kKeySpace] = 1;
    program.Run(2);
    program.input.keysDown[kKeySpace] = 0;
    program.Run(3);
    EXPECT_EQ(program.app.session.world.bodies.Size(), 2);
    Screen frame = program.Read();
    FrameParts parts;
    for (int32_t y = 0; y < 480; ++y) {
        for (int32_t x = 0; x < 640; ++x) {
            if (y >= 40) {
                parts.belowText.push_back(frame.At(x, y));
            } else {
                parts.whiteInText += frame.At(x, y) == MakeColour(255, 255, 255);
            }
        }
    }
    return parts;
}

TEST(DisplayFailures, AFontThatCannotBeLoadedLeavesOutTheTextAndNothingElse) {
    FrameParts withFont = FrameAfterABoxDrop(Refusals{});
    Refusals noFont;
    noFont.font = true;
    FrameParts withoutFont = FrameAfterABoxDrop(noFont);
    EXPECT_GT(withFont.whiteInText, 20);
    EXPECT_EQ(withoutFont.whiteInText, 0);
    EXPECT_TRUE(withFont.belowText == withoutFont.belowText);
}

// The display's events come from SDL here, as on the desktop, so that a
// reset pushed into SDL's queue takes the road a real one would.
class DeviceReset : public ::testing::TestWithParam<Uint32> {
   protected:
    DesktopInput input;
    Services services;
    App app;

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(StartServices(services, ScreenKind::Offscreen, input, error) &&
                    StartProgram(app, services, error))
            << error;
        DropBox(app.session.world, 320, 240);
    }
    void TearDown() override { StopServices(services); }

    int32_t TextTextures() const { return CachedTextLineCount(services); }

    std::vector<uint32_t> FrameBelowText() {
        std::vector<uint32_t> pixels = ReadBackBuffer(services);
        pixels.erase(pixels.begin(),
                     pixels.begin() + 40 * 640);  // the text's frame rate may change
        return pixels;
    }
};

TEST_P(DeviceReset, RebuildsEveryTextureFromTheSpritesAndTheLoopGoesOn) {
    RunMainLoop(app, services, 3);
    const std::vector<uint32_t> before = FrameBelowText();
    ASSERT_TRUE(SpriteHasTexture(services, 1));  // the light's gradient

    SDL_Event reset = {};
    reset.type = GetParam();
    ASSERT_EQ(SDL_PushEvent(&reset), 1);
    int32_t event = PollWindowEvent(services);
    while (event != kNoEvent && SpriteHasTexture(services, 1)) {
        event = PollWindowEvent(services);  // the dummy driver's own events come first
    }
    EXPECT_FALSE(SpriteHasTexture(services, 0));  // every texture is gone …
    EXPECT_FALSE(SpriteHasTexture(services, 1));
    EXPECT_EQ(TextTextures(), 0);

    EXPECT_EQ(RunMainLoop(app, services, 3), LoopEnd::PassLimit);
    EXPECT_TRUE(SpriteHasTexture(services, 0));  // … and made again from memory
    EXPECT_TRUE(SpriteHasTexture(services, 1));
    EXPECT_GE(TextTextures(), 2);
    EXPECT_TRUE(FrameBelowText() == before);
}

INSTANTIATE_TEST_SUITE_P(Events, DeviceReset,
                         ::testing::Values(SDL_RENDER_DEVICE_RESET, SDL_RENDER_TARGETS_RESET),
                         [](const auto& info) {
                             return info.param == SDL_RENDER_DEVICE_RESET ? "Device" : "Targets";
                         });

TEST(StopSignals, EndTheLoopAtTheStartOfTheNextPassBeforeItsFrame) {
    InstallStopHandlers();
    ForgetStopRequest();
    Offscreen program(true);
    EXPECT_EQ(program.Run(4), LoopEnd::PassLimit);
    std::raise(SIGINT);
    EXPECT_EQ(program.Run(10), LoopEnd::StopSignal);
    EXPECT_EQ(program.services.framesPresented, 4);
    ForgetStopRequest();

    InstallStopHandlers();
    std::raise(SIGTERM);
    ScriptedInput input;
    Services services;
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(RunProgram(services, ScreenKind::Offscreen, input, err), 0);
    EXPECT_EQ(std::ftell(err), 0);
    std::fclose(err);
    ForgetStopRequest();
}

}  // namespace

// Start-up, the main loop and the frame timer, through scripted input.

#include <gtest/gtest.h>

#include "shell/offscreen.h"

namespace {

class MainLoop : public ::testing::Test {
   protected:
    Offscreen program{true};
    ScriptedInput& input = program.input;
    World& world = program.app.session.world;

    const Vec2& ParticleFromEnd(int32_t back) {
        int32_t index = world.particles.Size() - 1 - back;
        for (const Particle& p : world.particles) {
            if (index-- == 0) {
                return p.position;
            }
        }
        throw std::out_of_range("no such particle");
    }
};

TEST_F(MainLoop, StartUpMakesTheWorldBodyFourWallsOneLightAndNothingElse) {
    EXPECT_EQ(world.bodies.Size(), 1);
    EXPECT_EQ(world.walls.Size(), 4);
    EXPECT_EQ(world.particles.Size() + world.sticks.Size(), 0);
    EXPECT_EQ(program.app.session.lighting.lights.Size(), 1);
    EXPECT_EQ(Rgb(SpritePixel(program.services, 0, 0, 0)), "1,1,1");  // the shadow texture
}

TEST_F(MainLoop, HoldingSpaceDropsNothingAndItsReleaseDropsOneBoxAtThatSnapshotsMouse) {
    input.MoveMouse(100, 50);
    EXPECT_EQ(program.Run(2), LoopEnd::PassLimit);  // a tap no snapshot saw: nothing
    input.keysDown[kKeySpace] = 1;
    program.Run(3);
    EXPECT_EQ(world.bodies.Size(), 1);
    input.keysDown[kKeySpace] = 0;
    input.MoveMouse(10, 10);
    program.Run(1);
    ASSERT_EQ(world.bodies.Size(), 2);
    EXPECT_EQ(ParticleFromEnd(3).x, 90);  // top-left corner of a box centred on (110, 60)
    EXPECT_EQ(ParticleFromEnd(3).y, 40);
    EXPECT_EQ(ParticleFromEnd(1).x, 130);
    EXPECT_EQ(ParticleFromEnd(1).y, 80);
    program.Run(3);
    EXPECT_EQ(world.bodies.Size(), 2);
}

TEST_F(MainLoop, ACloseRequestEndsThePassBeforeItsFrameAndEscapeAfterItsInput) {
    input.keysDown[kKeySpace] = 1;
    program.Run(2);
    input.windowEvents = {kOtherEvent, kCloseRequest};
    EXPECT_EQ(program.Run(10), LoopEnd::CloseRequest);
    EXPECT_EQ(program.services.framesPresented, 2);

    input.keysDown[kKeySpace] = 0;
    input.keysDown[kKeyEscape] = 1;
    EXPECT_EQ(program.Run(10), LoopEnd::Escape);
    EXPECT_EQ(program.services.framesPresented, 3);
    EXPECT_EQ(world.bodies.Size(), 2);  // the Space release of that pass still dropped its box
}

TEST_F(MainLoop, TheFirstFrameShowsTheGradientCornerTheClippedMarkerAndBothTexts) {
    input.clock = 90000;  // long after system start: the first window closes at once
    program.Run(1);
    Screen frame = program.Read();
    EXPECT_EQ(frame.RgbAt(0, 0), "100,100,250");  // the light's centre, inside the marker
    EXPECT_EQ(frame.RgbAt(250, 0), "50,50,125");
    EXPECT_EQ(frame.RgbAt(499, 300), "0,0,0");  // outside the lit disc
    EXPECT_EQ(frame.RgbAt(2, 2), "255,0,0");    // the marker's visible corner
    EXPECT_EQ(frame.RgbAt(0, 2), "255,0,0");

    // Its fully lit text pixels are exactly those of "fps : 1" and "e : 1".
    Services& services = program.services;
    ClearBackBuffer(services, 0);
    BeginDrawing(services, BackBufferTarget());
    SetDrawingMode(services, kTransparentText);
    DrawString(services, 10, 0, "fps : 1", MakeColour(255, 255, 255), 0);
    DrawString(services, 10, 16, "e : 1", MakeColour(255, 255, 255), 0);
    Screen expected = program.Read();
    int32_t white = 0;
    for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 200; ++x) {
            bool isWhite = expected.RgbAt(x, y) == "255,255,255";
            EXPECT_EQ(frame.RgbAt(x, y) == "255,255,255", isWhite) << x << "," << y;
            white += isWhite;
        }
    }
    EXPECT_GT(white, 20);
}

class FrameTimerTest : public ::testing::Test {
   protected:
    Offscreen screen;
    FrameTimer timer;

    void PassAt(uint32_t clock) {
        screen.input.clock = clock;
        UpdateFrameTimer(timer, screen.services);
    }
};

TEST_F(FrameTimerTest, AWindowClosesOnlyWhenMoreThan1000MillisecondsHavePassed) {
    PassAt(700);  // since system start: not a second yet
    EXPECT_EQ(timer.framesPerSecond, 0);
    PassAt(1001);
    EXPECT_EQ(timer.framesPerSecond, 2);
    PassAt(1500);
    PassAt(2001);  // exactly 1000 ms
    EXPECT_EQ(timer.framesPerSecond, 2);
    PassAt(2002);
    EXPECT_EQ(timer.framesPerSecond, 3);
    EXPECT_EQ(timer.lastMark, 2002);
}

TEST_F(FrameTimerTest, KeepsCountingAcrossTheWrapOfThe32BitClock) {
    PassAt(4294967000u);  // 296 ms before the wrap
    PassAt(100);
    EXPECT_EQ(timer.elapsed, 396);
    PassAt(705);
    EXPECT_EQ(timer.framesPerSecond, 2);
}

}  // namespace

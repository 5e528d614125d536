// Frames with several lights and with soft shadows: each light's gradient
// over the region it reaches, added up in the light map.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "dynamics/body_geometry.h"
#include "lighting/light.h"
#include "lighting/shadows.h"
#include "render/lit_scene.h"
#include "render/light_sprite.h"
#include "render/render_frame.h"
#include "shell/offscreen.h"
#include "tests/world/scene.h"
#include "world/factories.h"

namespace {

class LitScene : public ::testing::Test {
   protected:
    Offscreen screen;
    Services& services = screen.services;
    World world;
    Lighting lighting;

    LitScene() {
        CreateShadowTexture(services);
        StartWorld(world);
        DropBox(world, 320, 240);  // corners (300, 220) to (340, 260)
        UpdateBodyGeometry(world);
    }

    Screen Draw() {
        RenderFrame(world, lighting, 60, services);
        return screen.Read();
    }
    // The colour the light's gradient gives the screen point (x, y).
    uint32_t GradientAt(const Light& light, int32_t x, int32_t y) {
        return GradientColour(light, x - static_cast<int32_t>(light.x) + light.radius,
                              y - static_cast<int32_t>(light.y) + light.radius);
    }
};

// A red light and a green one above the box, 40 pixels apart: below the box
// each light's shadow, and where they overlap, a strip in both.
TEST_F(LitScene, TwoLightsAddUpAndEachLightsShadowKeepsTheOthersLight) {
    const Light& red = *CreateLight(lighting, 300, 100, 500, 200, 0, 0);
    const Light& green = *CreateLight(lighting, 340, 100, 500, 0, 200, 0);
    BuildShadows(world, lighting);
    Screen frame = Draw();

    // Lit by both: the colours add, each exactly its own gradient.
    const uint32_t both = GradientAt(red, 320, 150) + GradientAt(green, 320, 150);
    EXPECT_EQ(frame.RgbAt(320, 150), Rgb(both));
    EXPECT_GT(RedOf(both), 100);
    EXPECT_GT(GreenOf(both), 100);
    // In the red light's shadow only the green light reaches, and the other way round.
    EXPECT_EQ(frame.RgbAt(370, 400), Rgb(GradientAt(green, 370, 400)));
    EXPECT_EQ(frame.RgbAt(270, 400), Rgb(GradientAt(red, 270, 400)));
    EXPECT_GT(GreenOf(frame.At(370, 400)), 0);
    EXPECT_GT(RedOf(frame.At(270, 400)), 0);
    // In both shadows, and on the box itself: black.
    EXPECT_EQ(frame.RgbAt(320, 400), "0,0,0");
    EXPECT_EQ(frame.RgbAt(320, 240), "0,0,0");
    EXPECT_EQ(frame.RgbAt(320, 220), "255,255,255");  // outlines over the light map
}

// The mouse over a box: its light fills the box and nothing else, alone or
// beside another light.
TEST_F(LitScene, ALightInsideABoxLeavesTheScreenOutsideTheBoxDark) {
    const Light& inside = *CreateLight(lighting, 325, 245, 500, 100, 100, 250);
    BuildShadows(world, lighting);
    Screen alone = Draw();
    EXPECT_EQ(alone.RgbAt(310, 230), Rgb(GradientAt(inside, 310, 230)));
    EXPECT_EQ(alone.RgbAt(335, 255), Rgb(GradientAt(inside, 335, 255)));
    for (int32_t y = 60; y < 480; y += 20) {
        for (int32_t x = 0; x < 640; x += 20) {
            if (x < 298 || x > 342 || y < 218 || y > 262) {
                ASSERT_EQ(alone.RgbAt(x, y), "0,0,0") << x << "," << y;
            }
        }
    }
    const Light& outside = *CreateLight(lighting, 320, 100, 500, 200, 0, 0);
    BuildShadows(world, lighting);
    Screen both = Draw();
    EXPECT_EQ(both.RgbAt(320, 400), "0,0,0");  // behind the box from the outside light
    EXPECT_EQ(both.RgbAt(100, 240), Rgb(GradientAt(outside, 100, 240)));
}

TEST_F(LitScene, ALightTheRebuildHasNotSeenShowsWithoutShadowsInsteadOfNotAtAll) {
    CreateLight(lighting, 300, 100, 500, 200, 0, 0);
    BuildShadows(world, lighting);
    const Light& late = *CreateLight(lighting, 340, 100, 500, 0, 200, 0);
    Screen frame = Draw();
    EXPECT_EQ(frame.RgbAt(320, 400), Rgb(GradientAt(late, 320, 400)));
}

// Samples a row below the box lit from straight above it: where the hard
// shadow's edge is sharp, the soft one passes through values between dark
// and lit, over more pixels the further it is from the box.
TEST_F(LitScene, SoftShadowsGradeTheEdgeWiderAwayFromTheBoxAndLeaveTheBoxBlack) {
    CreateLight(lighting, 320, 60, 500, 100, 100, 250);
    BuildShadows(world, lighting);
    Screen hard = Draw();
    lighting.softShadows = true;
    BuildShadows(world, lighting);
    Screen soft = Draw();

    auto graded = [&](int32_t y) {
        int32_t count = 0;
        for (int32_t x = 200; x < 440; ++x) {
            const int32_t lit = BlueOf(hard.At(x, y));
            const int32_t value = BlueOf(soft.At(x, y));
            if (lit > 40 && value > lit / 10 && value < lit * 8 / 10) {
                ++count;
            }
        }
        return count;
    };
    const int32_t near = graded(280);
    const int32_t far = graded(460);
    EXPECT_GE(near, 2);
    EXPECT_GT(far, near);
    for (int32_t y = 222; y <= 258; ++y) {
        for (int32_t x = 302; x <= 338; ++x) {
            ASSERT_EQ(soft.RgbAt(x, y), "0,0,0") << x << "," << y;
        }
    }
    // Well outside the shadow, the average of the penumbra is close to the light.
    EXPECT_NEAR(BlueOf(soft.At(100, 100)), BlueOf(hard.At(100, 100)), 8);
}

// Across the soft edge far behind the box the light comes back smoothly: its
// share of the hard frame's light never falls going outwards, and no
// neighbouring pixels differ by more than 8 levels (the hard edge jumps by
// about 100 there, so eight hard shadows at an eighth each would too).
TEST_F(LitScene, SoftShadowsRiseSmoothlyAcrossTheEdgeWithoutBands) {
    CreateLight(lighting, 320, 60, 700, 100, 100, 250);
    BuildShadows(world, lighting);
    Screen hard = Draw();
    lighting.softShadows = true;
    BuildShadows(world, lighting);
    Screen soft = Draw();
    const int32_t y = 440;
    int32_t hardJump = 0;
    double share = 0;
    for (int32_t x = 330; x < 420; ++x) {
        hardJump = std::max(hardJump, BlueOf(hard.At(x + 1, y)) - BlueOf(hard.At(x, y)));
        ASSERT_LE(std::abs(BlueOf(soft.At(x + 1, y)) - BlueOf(soft.At(x, y))), 8) << x;
        const double next = static_cast<double>(BlueOf(soft.At(x, y))) /
                            std::max(1, BlueOf(GradientAt(*lighting.lights.begin(), x, y)));
        ASSERT_GE(next, share - 0.05) << x;
        share = std::max(share, next);
    }
    EXPECT_GT(hardJump, 80);
    EXPECT_GT(share, 0.95);  // out of the penumbra again
}

// A box turned half a degree at a time: the soft frame behind it changes a
// little each time, also when a side turns edge-on to the light and the
// silhouette passes from one corner to the next; a fin that popped in or out
// there would move a pixel by up to about 65 levels.
TEST_F(LitScene, SoftShadowsOfASpinningBoxMoveWithoutPopping) {
    CreateLight(lighting, 320, 60, 500, 100, 100, 250);
    lighting.softShadows = true;
    BuildShadows(world, lighting);
    Screen before = Draw();
    const double angle = 0.00872665;
    for (int32_t step = 0; step < 120; ++step) {
        TurnBodiesAbout(world, 320, 240, angle);
        UpdateBodyGeometry(world);
        BuildShadows(world, lighting);
        Screen after = Draw();
        for (int32_t x = 200; x < 440; x += 2) {
            ASSERT_LE(std::abs(BlueOf(after.At(x, 420)) - BlueOf(before.At(x, 420))), 12)
                << step << " " << x;
        }
        before = after;
    }
}

TEST_F(LitScene, RemovedLightsLoseTheirSprites) {
    CreateLight(lighting, 0, 0, 500, 100, 100, 250);
    for (int32_t round = 0; round < 5; ++round) {
        DropLight(lighting, 100, 100);
        DropLight(lighting, 500, 100);
        BuildShadows(world, lighting);
        Draw();
        EXPECT_EQ(services.sprites.count(LightSprite(2)), 1u);
        RemoveLastLight(lighting);
        RemoveLastLight(lighting);
        BuildShadows(world, lighting);
        Draw();
        EXPECT_EQ(services.sprites.count(LightSprite(1)), 0u);
        EXPECT_EQ(services.sprites.count(LightSprite(2)), 0u);
    }
    EXPECT_EQ(services.sprites.size(), 2u);  // the shadow fill and the mouse light's gradient
}

TEST_F(LitScene, ANewColourOrRadiusRedrawsTheMouseLightsGradient) {
    Light& light = *CreateLight(lighting, 320, 240, 500, 100, 100, 250);
    Draw();
    SetLightColour(light, kLightPalette[2]);
    light.radius = 150;
    Screen frame = Draw();
    EXPECT_EQ(services.sprites.at(1).width, 300);
    EXPECT_EQ(frame.RgbAt(320, 150), Rgb(GradientAt(light, 320, 150)));
    EXPECT_EQ(frame.RgbAt(320, 50), "0,0,0");  // beyond the smaller disc
}

}  // namespace

// The software renderer's plain-fill quads are gathered and filled row by
// row at EndQuads (shell/sprites.cpp). Whole frames drawn that way must be
// the frames SDL draws triangle by triangle, and gathering must not change
// which quad ends up on top.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "render/lit_scene.h"
#include "render/offscreen_frame.h"
#include "render/render_frame.h"
#include "session/session.h"
#include "shell/offscreen.h"
#include "tools/sim/crowd.h"

namespace {

// How two frames differ: "" when they do not.
std::string Difference(const Screen& gathered, const Screen& sdl) {
    if (gathered.pixels.size() != sdl.pixels.size() || gathered.pixels.empty()) {
        return "frames of " + std::to_string(gathered.pixels.size()) + " and " +
               std::to_string(sdl.pixels.size()) + " pixels";
    }
    int64_t differing = 0;
    std::string first;
    for (size_t i = 0; i < sdl.pixels.size(); ++i) {
        if (gathered.pixels[i] != sdl.pixels[i]) {
            if (differing++ == 0) {
                first = " (first at " + std::to_string(i % sdl.width) + ", " +
                        std::to_string(i / sdl.width) + ": " + Rgb(gathered.pixels[i]) +
                        " instead of " + Rgb(sdl.pixels[i]) + ")";
            }
        }
    }
    return differing == 0 ? "" : std::to_string(differing) + " pixels differ" + first;
}

// The scene's frame drawn twice on the same software renderer: with the
// gathered fill, and with every triangle handed to SDL as other renderers get it.
void ExpectSameFrameEitherWay(const std::string& scene) {
    Session sim;
    StartSession(sim);
    std::istringstream script(scene);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScript(sim, script, out, err, nullptr), 0) << err.str();

    Offscreen screen;
    Services& services = screen.services;
    ASSERT_TRUE(services.softwareRenderer);
    CreateShadowTexture(services);
    DrawSessionFrame(sim, 60, services);
    const Screen gathered = screen.Read();
    services.softwareRenderer = false;
    DrawSessionFrame(sim, 60, services);
    const Screen sdl = screen.Read();

    EXPECT_EQ(Difference(gathered, sdl), "");
    // Guards the comparison: a scene without shadows would prove nothing.
    int64_t shadowed = 0;
    for (uint32_t pixel : sdl.pixels) {
        shadowed += pixel == MakeColour(1, 1, 1) || pixel == 0;
    }
    EXPECT_GT(shadowed, 10000);
}

TEST(GatheredFill, CrowdFramesUnderOneLightAreTheFramesSdlDraws) {
    ExpectSameFrameEitherWay(CrowdScript(200));
    ExpectSameFrameEitherWay(CrowdScript(60, 30, 7) + "mouse 0 0\nstep 1\n");
    ExpectSameFrameEitherWay(CrowdScript(30, 10, 3) + "mouse 639 479\nstep 1\n");
}

// DrawQuad's own quads, four corners each: SDL fills some pairs of triangles
// (rectangles among them) as rectangles, and gathering must agree with that.
TEST(GatheredFill, QuadsAndRectanglesOfEveryShapeAreFilledAsSdlFillsThem) {
    Offscreen screen;
    Services& services = screen.services;
    NewFilledQuad(services, 1, MakeColour(200, 10, 10));
    const auto drawQuads = [&services, &screen](bool gather) {
        services.softwareRenderer = gather;
        std::mt19937 random(7);
        const auto between = [&random](int32_t low, int32_t high) {
            return static_cast<float>(low + static_cast<int32_t>(random() % (high - low + 1)));
        };
        ClearBackBuffer(services, 0);
        BeginQuads(services);
        for (int i = 0; i < 400; ++i) {
            const float x = between(-50, 650);
            const float y = between(-50, 500);
            const float w = between(-60, 60);
            const float h = between(-60, 60);
            if (i % 2 == 0) {  // a rectangle, either winding
                SetQuadCorners(services, 1, x, y, x + w, y, x + w, y + h, x, y + h);
            } else {
                SetQuadCorners(services, 1, x, y, x + w, y + between(-20, 20), x + between(-60, 60),
                               y + h, x + between(-20, 20), y + between(-60, 60));
            }
            DrawQuad(services, 1, between(-2, 2), 0);
        }
        EndQuads(services);
        return screen.Read();
    };
    const Screen gathered = drawQuads(true);
    const Screen sdl = drawQuads(false);
    EXPECT_EQ(Difference(gathered, sdl), "");
    EXPECT_GT(std::count(sdl.pixels.begin(), sdl.pixels.end(), MakeColour(200, 10, 10)), 50000);
}

// Quads drawn one over another between BeginQuads and EndQuads.
class QuadOrder : public ::testing::Test {
   protected:
    Offscreen screen;
    Services& services = screen.services;

    void Square(int32_t quad, float left, float top) {
        SetQuadCorners(services, quad, left, top, left + 40, top, left + 40, top + 40, left,
                       top + 40);
        DrawQuad(services, quad, 0, 0);
    }
};

TEST_F(QuadOrder, ALaterQuadOfAnotherColourOrKindOrBetweenPixelsLiesOnTopOfGatheredOnes) {
    NewFilledQuad(services, 1, MakeColour(255, 0, 0));
    NewFilledQuad(services, 2, MakeColour(0, 0, 255));
    NewSprite(services, 5, 2, 2, kTextureMode);
    BeginDrawing(services, SpriteTarget(5));
    for (int32_t x = 0; x < 2; ++x) {
        for (int32_t y = 0; y < 2; ++y) {
            PutPixel(services, x, y, MakeColour(0, 255, 0));
        }
    }
    EndDrawing(services);
    ASSERT_TRUE(NewTexturedQuad(services, 3, 5));

    ClearBackBuffer(services, 0);
    BeginQuads(services);
    Square(1, 100, 100);
    Square(2, 120, 100);  // another colour
    Square(1, 200, 100);
    Square(3, 220, 100);  // a textured quad
    Square(1, 300, 100);
    Square(2, 320.5f, 100);  // corners between pixels: left to SDL
    Square(1, 330, 120);     // and gathered again over that
    EndQuads(services);
    const Screen s = screen.Read();

    EXPECT_EQ(s.RgbAt(110, 110), "255,0,0");
    EXPECT_EQ(s.RgbAt(130, 110), "0,0,255");
    EXPECT_EQ(s.RgbAt(230, 110), "0,255,0");
    EXPECT_EQ(s.RgbAt(330, 110), "0,0,255");
    EXPECT_EQ(s.RgbAt(335, 130), "255,0,0");
    EXPECT_EQ(s.RgbAt(310, 110), "255,0,0");
}

}  // namespace

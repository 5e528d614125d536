// The light's gradient sprite, the light and shadow layers and the sticks.

#include <gtest/gtest.h>

#include "lighting/light.h"
#include "lighting/shadows.h"
#include "render/lit_scene.h"
#include "render/light_sprite.h"
#include "render/render_frame.h"
#include "render/study_view.h"
#include "shell/offscreen.h"
#include "world/factories.h"

namespace {

class Render : public ::testing::Test {
   protected:
    Offscreen screen;
    Services& services = screen.services;
    World world;
    Lighting lighting;

    Render() {
        CreateShadowTexture(services);
        DrawLightSprite(services, *CreateLight(lighting, 320, 240, 500, 100, 100, 250),
                        LightSprite(0));
    }
    std::string SpriteRgb(int32_t x, int32_t y) { return Rgb(SpritePixel(services, 1, x, y)); }
};

TEST_F(Render, TheGradientIsFullAtItsCentreHalfAtDistance250AndBlackFromItsRimOut) {
    EXPECT_EQ(SpriteRgb(500, 500), "100,100,250");
    EXPECT_EQ(SpriteRgb(750, 500), "50,50,125");
    EXPECT_EQ(SpriteRgb(500, 250), "50,50,125");
    for (auto [x, y] : {std::pair{0, 500}, {500, 0}, {0, 0}, {999, 0}, {0, 999}, {999, 999}}) {
        EXPECT_EQ(SpriteRgb(x, y), "0,0,0") << x << "," << y;
    }
    EXPECT_LE(SpritePixel(services, 1, 999, 500), MakeColour(0, 0, 1));
}

TEST_F(Render, ShadowTrianglesOfEitherWindingCoverTheGradientInNearBlack) {
    AddShadowSegment(lighting, 100, 100, 200, 100, 100, 200);  // clockwise on the screen
    AddShadowSegment(lighting, 400, 300, 400, 400, 500, 300);  // counter-clockwise
    ClearBackBuffer(services, 0);
    DrawLightLayer(lighting, services);
    DrawShadowLayer(lighting, services);
    Screen frame = screen.Read();
    EXPECT_EQ(frame.RgbAt(130, 130), "1,1,1");
    EXPECT_EQ(frame.RgbAt(430, 330), "1,1,1");
    EXPECT_EQ(frame.RgbAt(320, 240), "100,100,250");  // the light in the middle
    EXPECT_EQ(frame.RgbAt(639, 479), "20,20,51");     // fills the screen
}

// A box from (300, 220) to (340, 260); its braces cross at (320, 240).
TEST_F(Render, BoxesShowTheirSidesInWhiteAndTheDiagnosticModeShowsEverySticksRole) {
    StartWorld(world);
    DropBox(world, 320, 240);
    RenderFrame(world, Lighting{}, 0, services);
    Screen outline = screen.Read();
    for (auto [x, y] : {std::pair{320, 220}, {340, 240}, {320, 260}, {300, 240}}) {
        EXPECT_EQ(outline.RgbAt(x, y), "255,255,255") << x << "," << y;
    }
    EXPECT_EQ(outline.RgbAt(310, 230), "0,0,0");  // a brace: hidden

    world.settings.StickDrawMode = 0;
    world.sticks.Reset();
    world.sticks.Next()->collisionCount = 1;  // the bottom side was hit as an edge
    RenderFrame(world, Lighting{}, 0, services);
    Screen roles = screen.Read();
    EXPECT_EQ(roles.RgbAt(310, 230), "0,0,255");
    EXPECT_EQ(roles.RgbAt(320, 260), "255,0,0");
    EXPECT_EQ(roles.RgbAt(320, 220), "255,255,255");
}

// A particle beyond a wall is off the screen: its push is drawn from the
// wall inwards, as long as it was.
TEST_F(Render, TheStudyViewDrawsAWallPushFromTheWallInwardsAndTheStretchedStickWhereItLies) {
    StartWorld(world);
    world.trace.wallPush = {1, 26, {665, 220}, {655, 220}};
    world.trace.stretch = {2, -10, 0.07f, {600, 300}, {640, 300}};
    BeginDrawing(services, BackBufferTarget());
    DrawStudyView(world, Lighting{}, StudyOptions{}, services);
    EndDrawing(services);
    Screen frame = screen.Read();
    const std::string lime = Rgb(kWallPushColour);
    EXPECT_EQ(frame.RgbAt(639, 220), lime);
    EXPECT_EQ(frame.RgbAt(630, 220), lime);
    EXPECT_NE(frame.RgbAt(627, 220), lime);  // ten pixels long, and a dot at its end
    EXPECT_EQ(frame.RgbAt(620, 300), Rgb(kStretchColour));
}

}  // namespace

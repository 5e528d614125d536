// The services, checked by reading the pixels back, and the input snapshots.

#include <gtest/gtest.h>

#include <set>

#include "platform/key_codes.h"
#include "render/lit_scene.h"
#include "shell/offscreen.h"

namespace {

const uint32_t kGreen = MakeColour(0, 120, 0);
const uint32_t kRed = MakeColour(255, 0, 0);
const uint32_t kWhite = MakeColour(255, 255, 255);

class DrawingAndInput : public ::testing::Test {
   protected:
    Offscreen screen;
    Services& services = screen.services;

    // Clears, then submits the triangle (a, b, c) through quad 0 in the
    // orders asked for; returns the colour at its centroid.
    std::string Triangle(const float (&t)[6], bool forward, bool backward) {
        ClearBackBuffer(services, kGreen);
        BeginQuads(services);
        if (forward) {
            SetQuadCorners(services, 0, t[0], t[1], t[2], t[3], t[4], t[5], t[4], t[5]);
            DrawQuad(services, 0, 0, 0);
        }
        if (backward) {
            SetQuadCorners(services, 0, t[4], t[5], t[2], t[3], t[0], t[1], t[0], t[1]);
            DrawQuad(services, 0, 0, 0);
        }
        EndQuads(services);
        return screen.Read().RgbAt(int32_t(t[0] + t[2] + t[4]) / 3,
                                   int32_t(t[1] + t[3] + t[5]) / 3);
    }
};

TEST_F(DrawingAndInput, ATriangleSubmittedInBothOrdersIsDrawnByExactlyOneOfThem) {
    CreateShadowTexture(services);
    const float triangles[2][6] = {{100, 100, 220, 100, 100, 220},   // clockwise
                                   {100, 100, 100, 220, 220, 100}};  // counter-clockwise
    for (const auto& t : triangles) {
        std::string forward = Triangle(t, true, false);
        std::string backward = Triangle(t, false, true);
        EXPECT_NE(forward, backward);
        EXPECT_TRUE(forward == "1,1,1" || backward == "1,1,1");
        EXPECT_EQ(Triangle(t, true, true), "1,1,1");
    }
}

// A 2 × 1 sprite: (1, 1, 1) on the left, black on the right.
TEST_F(DrawingAndInput, BlackIsTransparentInAQuadButABlitCopiesIt) {
    NewSprite(services, 5, 2, 1, kTextureMode);
    BeginDrawing(services, SpriteTarget(5));
    PutPixel(services, 0, 0, MakeColour(1, 1, 1));
    EndDrawing(services);
    ASSERT_TRUE(NewTexturedQuad(services, 3, 5));
    ClearBackBuffer(services, kGreen);
    BeginQuads(services);
    SetQuadCorners(services, 3, 100, 100, 140, 100, 140, 120, 100, 120);
    DrawQuad(services, 3, 0, 0);
    EndQuads(services);
    BlitSprite(services, 5, 300, 300);
    Screen s = screen.Read();
    EXPECT_EQ(s.RgbAt(105, 110), "1,1,1");
    EXPECT_EQ(s.At(135, 110), kGreen);
    EXPECT_EQ(s.RgbAt(300, 300), "1,1,1");
    EXPECT_EQ(s.RgbAt(301, 300), "0,0,0");
    EXPECT_EQ(s.At(302, 300), kGreen);
}

TEST_F(DrawingAndInput, TextWithFlag1LeavesThePixelsAroundItsGlyphsAlone) {
    ASSERT_TRUE(FontLoaded(services));
    Screen drawn[2];
    for (int32_t mode : {0, kTransparentText}) {
        ClearBackBuffer(services, kGreen);
        BeginDrawing(services, BackBufferTarget());
        SetDrawingMode(services, mode);
        DrawString(services, 10, 20, "fps : 60", kWhite, kRed);
        drawn[mode] = screen.Read();
    }
    int background = 0;
    int glyphs = 0;
    for (int32_t y = 0; y < 60; ++y) {
        for (int32_t x = 0; x < 200; ++x) {
            bool inLine = y >= 20 && y < 36;  // lines are 16 apart: the text box is no higher
            EXPECT_TRUE(inLine || drawn[0].At(x, y) == kGreen) << x << "," << y;
            background += drawn[0].At(x, y) == kRed;
            EXPECT_TRUE(drawn[0].At(x, y) != kRed || drawn[1].At(x, y) == kGreen) << x << "," << y;
            glyphs += drawn[1].At(x, y) != kGreen;
        }
    }
    EXPECT_GT(background, 100);
    EXPECT_GT(glyphs, 20);
}

TEST_F(DrawingAndInput, RectanglesAreOutlinedWithFlag4AndEverythingIsClippedAtTheEdges) {
    NewSprite(services, 2, 10, 10, kTextureMode);
    BeginDrawing(services, SpriteTarget(2));
    DrawRect(services, 0, 0, 10, 10, kWhite);
    ClearBackBuffer(services, kGreen);
    BeginDrawing(services, BackBufferTarget());
    SetDrawingMode(services, kOutlineRects);
    DrawRect(services, 10, 10, 5, 5, kRed);
    DrawRect(services, -2, -2, 5, 5, kRed);
    DrawLine(services, -1000000, 240, 1000000, 240, kWhite);
    DrawLine(services, -2000000000, -1999999700, 2000000000, 2000000300, kWhite);  // y = x + 300
    SetDrawingMode(services, 0);
    DrawRect(services, 637, 477, 5, 5, kRed);
    EndDrawing(services);
    BlitSprite(services, 2, 635, -5);
    Screen s = screen.Read();
    for (auto [x, y] :
         {std::pair{10, 10}, {14, 10}, {10, 14}, {14, 14}, {2, 0}, {0, 2}, {639, 479}}) {
        EXPECT_EQ(s.At(x, y), kRed) << x << "," << y;
    }
    EXPECT_EQ(s.At(12, 12), kGreen);  // inside an outline
    EXPECT_EQ(s.At(1, 1), kGreen);
    EXPECT_EQ(s.At(638, 478), kRed);  // inside a filled one
    EXPECT_EQ(s.At(0, 240), kWhite);
    EXPECT_EQ(s.At(639, 240), kWhite);
    EXPECT_EQ(s.At(100, 400), kWhite);
    EXPECT_EQ(s.At(639, 4), kWhite);
    EXPECT_EQ(s.At(634, 4), kGreen);
}

TEST_F(DrawingAndInput, ASpriteTooLargeForMemoryIsLeftEmpty) {
    NewSprite(services, 7, 65534, 65534, kTextureMode);  // a radius near the 16-bit limit
    BeginDrawing(services, SpriteTarget(7));
    PutPixel(services, 1, 1, kWhite);
    BlitSprite(services, 7, 0, 0);
    EXPECT_TRUE(services.sprites[7].pixels.empty());
}

TEST_F(DrawingAndInput, ThePresentIsPacedWhereItDoesNotWaitForTheDisplay) {
    services.paceFrames = true;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 7; ++i) {
        PresentFrame(services);
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, services.framePeriod * 5);
}

TEST_F(DrawingAndInput, AHeldKeyIsReportedReleasedOnceWhenASnapshotSeesItUp) {
    const int expected[] = {0, 0, 0, 1, 0};
    const bool down[] = {false, true, true, false, false};
    for (int pass = 0; pass < 5; ++pass) {
        screen.input.keysDown[kKeySpace] = down[pass];
        PollKeyboard(services);
        EXPECT_EQ(IsKeyDown(services, kKeySpace) != 0, down[pass]) << pass;
        EXPECT_EQ(WasKeyReleased(services, kKeySpace), expected[pass]) << pass;
    }
}

TEST_F(DrawingAndInput, TheMouseStartsAtTheCornerAndIsHeldOnTheScreen) {
    const int32_t moves[][4] = {{0, 0, 0, 0},
                                {-50, -70, 0, 0},
                                {5000, 5000, 639, 479},
                                {-10, -20, 629, 459},
                                {INT32_MAX, INT32_MIN, 639, 0}};
    for (const auto& [dx, dy, x, y] : moves) {
        screen.input.mouseDx = dx;
        screen.input.mouseDy = dy;
        PollMouse(services);
        EXPECT_EQ(GetMouseX(services), x);
        EXPECT_EQ(GetMouseY(services), y);
    }
}

TEST(KeyCodes, EveryScanCodeOfTheMainBlockNamesAKeyOfItsOwn) {
    constexpr int32_t kSdlUnknown = 0;
    EXPECT_EQ(ScancodeOfKey(kKeyEscape), 41);  // SDL_SCANCODE_ESCAPE
    EXPECT_EQ(ScancodeOfKey(kKeySpace), 44);   // SDL_SCANCODE_SPACE
    EXPECT_EQ(ScancodeOfKey(256), kSdlUnknown);
    std::set<int32_t> seen;
    for (int32_t key = 1; key <= 83; ++key) {
        EXPECT_TRUE(seen.insert(ScancodeOfKey(key)).second) << "key " << key;
    }
    EXPECT_EQ(seen.count(kSdlUnknown), 0u);
}

}  // namespace

// AppendTriangleSpans beside SDL's software renderer itself: every triangle
// is drawn by SDL_RenderGeometry into a surface and by the spans into a mask,
// and the two must cover the same pixels. The triangles are random, of every
// kind the shadows make and some they do not: small and large, thin and
// degenerate, partly or wholly off the target, huge, in both windings.

#include "platform/triangle_spans.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Triangle {
    GridPoint a;
    GridPoint b;
    GridPoint c;
};

std::string Describe(const Triangle& t) {
    std::ostringstream text;
    text << "(" << t.a.x << ", " << t.a.y << ") (" << t.b.x << ", " << t.b.y << ") (" << t.c.x
         << ", " << t.c.y << ")";
    return text.str();
}

// A software renderer of its own drawing into a surface, as the program's
// renderer draws into the window's.
class SoftwareTarget {
   public:
    SoftwareTarget(int32_t width, int32_t height) : width_(width), height_(height) {
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
        renderer_ = surface_ != nullptr ? SDL_CreateSoftwareRenderer(surface_) : nullptr;
    }
    ~SoftwareTarget() {
        if (renderer_ != nullptr) {
            SDL_DestroyRenderer(renderer_);
        }
        if (surface_ != nullptr) {
            SDL_FreeSurface(surface_);
        }
    }
    SoftwareTarget(const SoftwareTarget&) = delete;
    SoftwareTarget& operator=(const SoftwareTarget&) = delete;

    bool Ready() const { return renderer_ != nullptr; }

    // 1 for each pixel SDL fills, row by row.
    std::vector<uint8_t> SdlCoverage(const Triangle& t) {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
        const SDL_Color white = {255, 255, 255, 255};
        const SDL_Vertex corners[3] = {
            {{static_cast<float>(t.a.x), static_cast<float>(t.a.y)}, white, {0, 0}},
            {{static_cast<float>(t.b.x), static_cast<float>(t.b.y)}, white, {0, 0}},
            {{static_cast<float>(t.c.x), static_cast<float>(t.c.y)}, white, {0, 0}},
        };
        SDL_RenderGeometry(renderer_, nullptr, corners, 3, nullptr, 0);
        SDL_RenderFlush(renderer_);
        std::vector<uint8_t> covered(static_cast<size_t>(width_) * height_);
        for (int32_t y = 0; y < height_; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                static_cast<const uint8_t*>(surface_->pixels) + y * surface_->pitch);
            for (int32_t x = 0; x < width_; ++x) {
                covered[static_cast<size_t>(y) * width_ + x] = (row[x] & 0xFFFFFFu) != 0;
            }
        }
        return covered;
    }

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

   private:
    int32_t width_;
    int32_t height_;
    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
};

// The spans as a mask like SdlCoverage's. A span outside the target, empty,
// or on a row already given, is a fault of its own.
std::vector<uint8_t> SpanCoverage(const Triangle& t, int32_t width, int32_t height,
                                  std::string& fault) {
    std::vector<Span> spans;
    AppendTriangleSpans(t.a, t.b, t.c, width, height, spans);
    std::vector<uint8_t> covered(static_cast<size_t>(width) * height);
    int32_t lastRow = -1;
    for (const Span& s : spans) {
        if (s.y <= lastRow || s.y >= height || s.left < 0 || s.right > width || s.left >= s.right) {
            fault = "bad span: row " + std::to_string(s.y) + ", " + std::to_string(s.left) +
                    " to " + std::to_string(s.right);
            return covered;
        }
        lastRow = s.y;
        for (int32_t x = s.left; x < s.right; ++x) {
            covered[static_cast<size_t>(s.y) * width + x] = 1;
        }
    }
    return covered;
}

// Both windings of every triangle, each against SDL; stops at the first
// that differs, naming it and its first differing pixel.
void ExpectSameCoverage(SoftwareTarget& target, const std::vector<Triangle>& triangles) {
    ASSERT_TRUE(target.Ready()) << SDL_GetError();
    int64_t filled = 0;
    for (const Triangle& t : triangles) {
        for (const Triangle& wound : {t, Triangle{t.a, t.c, t.b}}) {
            const std::vector<uint8_t> sdl = target.SdlCoverage(wound);
            std::string fault;
            const std::vector<uint8_t> ours =
                SpanCoverage(wound, target.Width(), target.Height(), fault);
            ASSERT_EQ(fault, "") << Describe(wound);
            for (size_t i = 0; i < sdl.size(); ++i) {
                ASSERT_EQ(ours[i], sdl[i]) << Describe(wound) << " at pixel (" << i % target.Width()
                                           << ", " << i / target.Width() << ")";
                filled += sdl[i];
            }
        }
    }
    // Guards the test itself: triangles that all missed would prove nothing.
    EXPECT_GT(filled, 0);
}

class TriangleSpans : public ::testing::Test {
   protected:
    std::mt19937 random{20261209};

    int32_t Between(int32_t low, int32_t high) {
        return low + static_cast<int32_t>(random() % static_cast<uint32_t>(high - low + 1));
    }
    GridPoint PointIn(int32_t low, int32_t high, int32_t lowY, int32_t highY) {
        return {Between(low, high), Between(lowY, highY)};
    }
};

// A small target keeps each comparison cheap, so that many triangles fit;
// corners reach a little past every side of it.
TEST_F(TriangleSpans, SmallTrianglesInAndAroundTheTargetCoverWhatSdlCovers) {
    SoftwareTarget target(48, 40);
    std::vector<Triangle> triangles;
    for (int i = 0; i < 6000; ++i) {
        triangles.push_back(
            {PointIn(-6, 54, -6, 46), PointIn(-6, 54, -6, 46), PointIn(-6, 54, -6, 46)});
    }
    ExpectSameCoverage(target, triangles);
}

// Slivers are where the edge rules decide nearly every pixel: corners one
// step apart, nearly level or upright edges, and three corners in a line or
// on one point, which cover nothing.
TEST_F(TriangleSpans, ThinAndDegenerateTrianglesCoverWhatSdlCovers) {
    SoftwareTarget target(48, 40);
    std::vector<Triangle> triangles;
    for (int i = 0; i < 3000; ++i) {
        const GridPoint a = PointIn(-4, 52, -4, 44);
        const GridPoint far = PointIn(-40, 90, -40, 80);
        const GridPoint near = {a.x + Between(-1, 1), a.y + Between(-1, 1)};
        triangles.push_back({a, near, far});
        const int32_t k = Between(-3, 3);
        const GridPoint inLine = {a.x + k * (far.x - a.x), a.y + k * (far.y - a.y)};
        triangles.push_back({a, far, inLine});
        const GridPoint besideLine = {inLine.x + Between(-1, 1), inLine.y + Between(-1, 1)};
        triangles.push_back({a, far, besideLine});
        triangles.push_back({a, {a.x + Between(-30, 30), a.y}, far});  // a level edge
        triangles.push_back({a, {a.x, a.y + Between(-30, 30)}, far});  // an upright edge
    }
    triangles.push_back({{5, 5}, {5, 5}, {5, 5}});
    ExpectSameCoverage(target, triangles);
}

// The shadows' triangles reach about a thousand pixels past the screen; these
// reach to the limit the spans are made for, and some miss the screen.
TEST_F(TriangleSpans, LargeAndOffScreenTrianglesOnTheWholeScreenCoverWhatSdlCovers) {
    SoftwareTarget target(640, 480);
    const int32_t m = kMaxSpanCorner;
    std::vector<Triangle> triangles;
    for (int i = 0; i < 150; ++i) {
        triangles.push_back({PointIn(-100, 740, -100, 580), PointIn(-100, 740, -100, 580),
                             PointIn(-3000, 3600, -3000, 3500)});
        triangles.push_back({PointIn(-m, m, -m, m), PointIn(-m, m, -m, m), PointIn(-m, m, -m, m)});
        triangles.push_back(
            {PointIn(200, 400, 200, 300), PointIn(-m, m, -m, m), PointIn(-m, m, -m, m)});
        triangles.push_back({PointIn(650, 2000, -500, 1000), PointIn(650, 2000, -500, 1000),
                             PointIn(650, 2000, -500, 1000)});  // wholly right of the screen
    }
    triangles.push_back({{-m, -m}, {m, -m}, {m, m}});
    triangles.push_back({{-m, m}, {m, -m}, {-m, -m}});
    ExpectSameCoverage(target, triangles);
}

}  // namespace

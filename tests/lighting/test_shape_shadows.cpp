#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "dynamics/body_geometry.h"
#include "lighting/light.h"
#include "lighting/shadows.h"
#include "world/shapes.h"

namespace {

// One shape at (320, 240) under one light: its outline, a fan triangle per
// side and the two triangles of the quad behind it, the quad's near corners
// being the two corners the light sees outermost.
struct LitShape {
    World world;
    Lighting lighting;
    const Body* body = nullptr;

    explicit LitShape(Shape shape, float lightX, float lightY) {
        StartWorld(world);
        DropShape(world, shape, 320, 240);
        body = world.bodies.Current();
        UpdateBodyGeometry(world);
        Light* light = CreateStartLight(lighting);
        light->x = lightX;
        light->y = lightY;
        BuildShadows(world, lighting);
    }

    std::vector<ShadowSegment> Segments() const {
        std::vector<ShadowSegment> segments;
        for (const ShadowSegment& s : lighting.shadowSegments) segments.push_back(s);
        return segments;
    }

    // The corner (rounded as a shadow point is) of the given slot.
    std::pair<double, double> Corner(int32_t slot) const {
        const Vec2& p = BodyParticle(*body, slot)->position;
        return {std::round(p.x), std::round(p.y)};
    }
};

std::set<std::pair<double, double>> QuadNearCorners(const std::vector<ShadowSegment>& s) {
    const ShadowSegment& first = s[s.size() - 2];
    return {{first.p2.x, first.p2.y}, {first.p3.x, first.p3.y}};
}

TEST(ShapeShadows, ATriangleLitFromAboveCastsFromItsTwoLowerCornersDownwards) {
    LitShape lit(Shape::Triangle, 320, 40);
    ASSERT_EQ(lit.lighting.outlinePolygons.Size(), 1);
    EXPECT_EQ(lit.lighting.outlinePolygons.begin()->count, 3);
    const std::vector<ShadowSegment> s = lit.Segments();
    ASSERT_EQ(s.size(), 3u + 2u);
    const std::set<std::pair<double, double>> expected = {lit.Corner(2), lit.Corner(3)};
    EXPECT_EQ(QuadNearCorners(s), expected);
    const ShadowSegment& far = s.back();
    EXPECT_GT(far.p2.y, 1000);
    EXPECT_GT(far.p3.y, 1000);
}

TEST(ShapeShadows, AHexagonLitFromTheLeftCastsFromTheCornersOfItsNearerTopAndBottomSides) {
    LitShape lit(Shape::Hexagon, 40, 240);
    EXPECT_EQ(lit.lighting.outlinePolygons.begin()->count, 6);
    const std::vector<ShadowSegment> s = lit.Segments();
    ASSERT_EQ(s.size(), 6u + 2u);
    const std::set<std::pair<double, double>> expected = {lit.Corner(1), lit.Corner(5)};
    EXPECT_EQ(QuadNearCorners(s), expected);
    EXPECT_GT(s.back().p2.x, 1000);
    EXPECT_GT(s.back().p3.x, 1000);
}

}  // namespace

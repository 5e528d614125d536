#include "render/light_map.h"

#include <algorithm>
#include <cmath>

#include "render/light_sprite.h"
#include "world/rounding.h"

namespace {

constexpr uint8_t kFullShare = 255;

void ClearMap(LightMap& map, int32_t width, int32_t height) {
    map.width = width;
    map.height = height;
    map.sums.assign(static_cast<size_t>(width) * height * 3, 0);
    map.image.resize(static_cast<size_t>(width) * height);
}

// Where the polygon's edges cross the middle of row y, left to right.
void RowCrossings(const std::vector<Vec2>& polygon, double y, std::vector<double>& crossings) {
    crossings.clear();
    const std::size_t n = polygon.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const Vec2& p = polygon[j];
        const Vec2& q = polygon[i];
        if ((p.y <= y) != (q.y <= y)) {
            crossings.push_back(p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y));
        }
    }
    std::sort(crossings.begin(), crossings.end());
}

// Calls visit(y, x0, x1) for each run of pixels of the rect whose centres lie
// inside the polygon.
template <typename Visit>
void ForEachSpan(LightMap& map, const std::vector<Vec2>& polygon, Visit visit) {
    if (polygon.size() < 3) {
        return;
    }
    const MapRect& r = map.rect;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        RowCrossings(polygon, y + 0.5, map.crossings);
        for (std::size_t k = 0; k + 1 < map.crossings.size(); k += 2) {
            const double x0 = std::max<double>(r.left, std::ceil(map.crossings[k] - 0.5));
            const double x1 = std::min<double>(r.right, std::ceil(map.crossings[k + 1] - 0.5));
            if (x0 < x1) {
                visit(y, static_cast<int32_t>(x0), static_cast<int32_t>(x1));
            }
        }
    }
}

uint8_t* CoverageAt(LightMap& map, int32_t x, int32_t y) {
    const MapRect& r = map.rect;
    return map.coverage.data() + static_cast<size_t>(y - r.top) * (r.right - r.left) + (x - r.left);
}

// The fin's share, rising from 0 on the hard edge to 255 on its outer edge,
// taken where it is less than what the pixel has (another fin or the hard
// shadow of another box may have taken more).
void ApplyFin(LightMap& map, const PenumbraFin& fin, double reach) {
    const double far = 4 * reach;
    const Vec2 outer = {
        std::cos(fin.spread) * fin.hardEdge.x + std::sin(fin.spread) * fin.litSide.x,
        std::cos(fin.spread) * fin.hardEdge.y + std::sin(fin.spread) * fin.litSide.y};
    map.fin.assign({fin.apex,
                    {fin.apex.x + far * fin.hardEdge.x, fin.apex.y + far * fin.hardEdge.y},
                    {fin.apex.x + far * outer.x, fin.apex.y + far * outer.y}});
    const double slope = std::tan(fin.spread);
    ForEachSpan(map, map.fin, [&](int32_t y, int32_t x0, int32_t x1) {
        uint8_t* share = CoverageAt(map, x0, y);
        for (int32_t x = x0; x < x1; ++x, ++share) {
            const Vec2 w = {x + 0.5 - fin.apex.x, y + 0.5 - fin.apex.y};
            const double along = w.x * fin.hardEdge.x + w.y * fin.hardEdge.y;
            const double across = w.x * fin.litSide.x + w.y * fin.litSide.y;
            if (*share == 0 || along <= 0) {
                continue;
            }
            const double f = std::clamp(across / (along * slope), 0.0, 1.0);
            *share = std::min(*share, static_cast<uint8_t>(std::lround(f * kFullShare)));
        }
    });
}

// The light's gradient, weighted by each pixel's share, added into the sums.
void AddGradient(LightMap& map, const Sprite& gradient, int32_t ox, int32_t oy) {
    const MapRect& r = map.rect;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const uint32_t* from =
            gradient.pixels.data() + static_cast<size_t>(y - oy) * gradient.width;
        const uint8_t* share = CoverageAt(map, r.left, y);
        uint32_t* sum = map.sums.data() + (static_cast<size_t>(y) * map.width + r.left) * 3;
        for (int32_t x = r.left; x < r.right; ++x, ++share, sum += 3) {
            const uint32_t argb = from[x - ox];
            sum[0] += *share * ((argb >> 16) & 0xFF);
            sum[1] += *share * ((argb >> 8) & 0xFF);
            sum[2] += *share * (argb & 0xFF);
        }
    }
}

// The rect: the sprite's pixels on the screen around what the light reaches
// (a light inside a box reaches only the box). False when it is empty.
bool FitRect(LightMap& map, int32_t ox, int32_t oy, const Sprite& gradient) {
    double minX = map.width;
    double maxX = 0;
    double minY = map.height;
    double maxY = 0;
    for (const Vec2& p : map.visibility.polygon) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const auto below = [](double v, int32_t limit) {
        return static_cast<int32_t>(std::max<double>(limit, std::floor(v)));
    };
    const auto above = [](double v, int32_t limit) {
        return static_cast<int32_t>(std::min<double>(limit, std::ceil(v)));
    };
    map.rect = {below(minX, std::max(0, ox)), below(minY, std::max(0, oy)),
                above(maxX, std::min(map.width, ox + gradient.width)),
                above(maxY, std::min(map.height, oy + gradient.height))};
    return map.rect.left < map.rect.right && map.rect.top < map.rect.bottom;
}

void AddLight(LightMap& map, const Services& services, const Lighting& lighting, const Light& light,
              int32_t place, bool withOutlines) {
    auto found = services.sprites.find(LightSprite(place));
    if (found == services.sprites.end() || found->second.pixels.empty()) {
        return;
    }
    const Sprite& gradient = found->second;
    // Where a copy of the sprite centred on the light would put it.
    const int32_t ox = RoundToInt32(light.x - light.radius);
    const int32_t oy = RoundToInt32(light.y - light.radius);
    const Vec2 centre = {light.x, light.y};
    BuildVisibilityPolygon(lighting, centre, light.radius, withOutlines, map.visibility);
    if (!FitRect(map, ox, oy, gradient)) {
        return;
    }
    const MapRect& r = map.rect;
    map.coverage.assign(static_cast<size_t>(r.right - r.left) * (r.bottom - r.top), 0);
    ForEachSpan(map, map.visibility.polygon, [&map](int32_t y, int32_t x0, int32_t x1) {
        std::fill(CoverageAt(map, x0, y), CoverageAt(map, x1, y), kFullShare);
    });
    if (lighting.softShadows && withOutlines) {
        BuildPenumbraFins(map.visibility, centre, kPenumbraRadius, map.fins);
        for (const PenumbraFin& fin : map.fins) {
            ApplyFin(map, fin, light.radius);
        }
    }
    AddGradient(map, gradient, ox, oy);
}

void ShowMap(LightMap& map, Services& services) {
    const std::size_t pixels = map.image.size();
    for (std::size_t i = 0; i < pixels; ++i) {
        const uint32_t* sum = map.sums.data() + i * 3;
        const auto level = [](uint32_t s) {
            return std::min<uint32_t>(255, (s + kFullShare / 2) / kFullShare);
        };
        map.image[i] = level(sum[0]) << 16 | level(sum[1]) << 8 | level(sum[2]);
    }
    DrawScreenImage(services, map.image);
}

// Whether the last rebuild cast shadows from the light at `place`.
bool RebuildSaw(const Lighting& lighting, int32_t place) {
    return std::any_of(lighting.casters.begin(), lighting.casters.end(),
                       [place](const ShadowCaster& caster) { return caster.light == place; });
}

}  // namespace

void DrawLightMap(LightMap& map, const Lighting& lighting, Services& services) {
    ClearMap(map, services.screenWidth, services.screenHeight);
    int32_t place = 0;
    for (const Light& light : lighting.lights) {
        AddLight(map, services, lighting, light, place, RebuildSaw(lighting, place));
        ++place;
    }
    ShowMap(map, services);
}

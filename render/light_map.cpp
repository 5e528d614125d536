#include "render/light_map.h"

#include <algorithm>
#include <cmath>

#include "render/light_sprite.h"
#include "world/rounding.h"

namespace {

void ClearMap(LightMap& map, int32_t width, int32_t height) {
    map.width = width;
    map.height = height;
    map.sums.assign(static_cast<size_t>(width) * height * 3, 0);
    map.image.resize(static_cast<size_t>(width) * height);
}

// The gradient's pixels x0 … x1 − 1 of screen row y added in, from the
// sprite placed at (ox, oy).
void AddSpan(LightMap& map, const Sprite& gradient, int32_t y, int32_t x0, int32_t x1, int32_t ox,
             int32_t oy, uint32_t share) {
    const uint32_t* from = gradient.pixels.data() + static_cast<size_t>(y - oy) * gradient.width;
    uint32_t* sum = map.sums.data() + (static_cast<size_t>(y) * map.width + x0) * 3;
    for (int32_t x = x0; x < x1; ++x, sum += 3) {
        const uint32_t argb = from[x - ox];
        sum[0] += share * ((argb >> 16) & 0xFF);
        sum[1] += share * ((argb >> 8) & 0xFF);
        sum[2] += share * (argb & 0xFF);
    }
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

// The pixels whose centres lie inside the polygon, within the sprite placed
// at (ox, oy) and within the map.
void FillPolygon(LightMap& map, const Sprite& gradient, int32_t ox, int32_t oy, uint32_t share) {
    const std::vector<Vec2>& polygon = map.visibility.polygon;
    if (polygon.size() < 3) {
        return;
    }
    const int32_t top = std::max(0, oy);
    const int32_t bottom = std::min(map.height, oy + gradient.height);
    const int32_t left = std::max(0, ox);
    const int32_t right = std::min(map.width, ox + gradient.width);
    for (int32_t y = top; y < bottom; ++y) {
        RowCrossings(polygon, y + 0.5, map.crossings);
        for (std::size_t k = 0; k + 1 < map.crossings.size(); k += 2) {
            const auto x0 =
                static_cast<int32_t>(std::max<double>(left, std::ceil(map.crossings[k] - 0.5)));
            const auto x1 = static_cast<int32_t>(
                std::min<double>(right, std::ceil(map.crossings[k + 1] - 0.5)));
            if (x0 < x1) {
                AddSpan(map, gradient, y, x0, x1, ox, oy, share);
            }
        }
    }
}

void ShowMap(LightMap& map, Services& services) {
    const std::size_t pixels = map.image.size();
    for (std::size_t i = 0; i < pixels; ++i) {
        const uint32_t* sum = map.sums.data() + i * 3;
        const auto level = [](uint32_t s) {
            return std::min<uint32_t>(255, (s + kShareUnit / 2) / kShareUnit);
        };
        map.image[i] = level(sum[0]) << 16 | level(sum[1]) << 8 | level(sum[2]);
    }
    DrawScreenImage(services, map.image);
}

}  // namespace

void AddLitRegion(LightMap& map, const Services& services, const Lighting& lighting,
                  const Light& light, int32_t place, Vec2 from, bool withOutlines, uint32_t share) {
    auto found = services.sprites.find(LightSprite(place));
    if (found == services.sprites.end() || found->second.pixels.empty()) {
        return;
    }
    // Where a copy of the sprite centred on `from` would put it.
    const int32_t ox = RoundToInt32(static_cast<float>(from.x) - light.radius);
    const int32_t oy = RoundToInt32(static_cast<float>(from.y) - light.radius);
    BuildVisibilityPolygon(lighting, from, light.radius, withOutlines, map.visibility);
    FillPolygon(map, found->second, ox, oy, share);
}

// A light the last rebuild did not see (none before the first, none after a
// restart) reaches its whole square, as it shows no shadows either.
void DrawLightMap(LightMap& map, const Lighting& lighting, Services& services) {
    ClearMap(map, services.screenWidth, services.screenHeight);
    const std::vector<ShadowCaster>& casters = lighting.casters;
    std::size_t next = 0;
    int32_t place = 0;
    for (const Light& light : lighting.lights) {
        const std::size_t first = next;
        while (next < casters.size() && casters[next].light == place) {
            ++next;
        }
        const auto count = static_cast<uint32_t>(next - first);
        if (count == 0) {
            AddLitRegion(map, services, lighting, light, place, {light.x, light.y}, false,
                         kShareUnit);
        }
        for (std::size_t i = first; i < next; ++i) {
            const Vec2 from = {light.x + casters[i].dx, light.y + casters[i].dy};
            AddLitRegion(map, services, lighting, light, place, from, true, kShareUnit / count);
        }
        ++place;
    }
    ShowMap(map, services);
}

#include "lighting/light.h"

#include <cmath>

#include "world/rounding.h"

Light* CreateLight(Lighting& lighting, int32_t x, int32_t y, int32_t radius, int32_t red,
                   int32_t green, int32_t blue) {
    Light* light = lighting.lights.Add();
    light->x = static_cast<float>(x);
    light->y = static_cast<float>(y);
    light->radius = static_cast<int16_t>(radius);
    light->red = static_cast<int16_t>(red);
    light->green = static_cast<int16_t>(green);
    light->blue = static_cast<int16_t>(blue);
    return light;
}

uint32_t GradientColour(const Light& light, int32_t px, int32_t py) {
    const int32_t R = light.radius;
    double dx = px - R;
    double dy = py - R;
    float d = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    float intensity = 1 - d / R;
    if (intensity > 1)
        intensity = 1;
    if (intensity < 0)
        intensity = 0;
    auto component = [&](int16_t full) {
        int32_t value = RoundToInt32(full * intensity);
        return static_cast<uint32_t>(value < 0 ? 0 : value > 255 ? 255 : value);
    };
    return component(light.red) + component(light.green) * 256 + component(light.blue) * 65536;
}

namespace {

// Where the cursor must stand for Add to append: on the last light.
void MoveCursorToLastLight(Lighting& lighting) {
    lighting.lights.Reset();
    while (lighting.lights.Next() != nullptr) {
    }
}

bool SameColour(const Light& light, const LightColour& colour) {
    return light.red == colour.red && light.green == colour.green && light.blue == colour.blue;
}

}  // namespace

Light* CreateStartLight(Lighting& lighting) {
    return CreateLight(lighting, 0, 0, kStartLightRadius, kStartLightColour.red,
                       kStartLightColour.green, kStartLightColour.blue);
}

int32_t DroppedLightCount(const Lighting& lighting) {
    return lighting.lights.Size() > 1 ? lighting.lights.Size() - 1 : 0;
}

Light* DropLight(Lighting& lighting, int32_t x, int32_t y) {
    const int32_t place = DroppedLightCount(lighting);
    if (lighting.lights.Size() == 0 || place >= kMaxDroppedLights) {
        return nullptr;
    }
    const LightColour& colour = kLightPalette[place];
    MoveCursorToLastLight(lighting);
    return CreateLight(lighting, x, y, kDroppedLightRadius, colour.red, colour.green, colour.blue);
}

bool RemoveLastLight(Lighting& lighting) {
    if (DroppedLightCount(lighting) == 0) {
        return false;
    }
    MoveCursorToLastLight(lighting);
    lighting.lights.RemoveCurrent();  // the cursor goes back to the new last light
    return true;
}

LightColour NextLightColour(const Light& light) {
    if (SameColour(light, kStartLightColour)) {
        return kLightPalette[0];
    }
    for (int32_t i = 0; i + 1 < kMaxDroppedLights; ++i) {
        if (SameColour(light, kLightPalette[i])) {
            return kLightPalette[i + 1];
        }
    }
    return kStartLightColour;
}

void SetLightColour(Light& light, const LightColour& colour) {
    light.red = colour.red;
    light.green = colour.green;
    light.blue = colour.blue;
}

int32_t ClampLightRadius(int32_t radius) {
    return radius < kMinLightRadius   ? kMinLightRadius
           : radius > kMaxLightRadius ? kMaxLightRadius
                                      : radius;
}

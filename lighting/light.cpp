#include "lighting/light.h"

#include <cmath>

#include "world/rounding.h"

Light* CreateLight(Lighting& lighting, int32_t x, int32_t y, int32_t radius, int32_t red,
                   int32_t green, int32_t blue, int32_t sprite) {
    Light* light = lighting.lights.Add();
    light->x = static_cast<float>(x);
    light->y = static_cast<float>(y);
    light->radius = static_cast<int16_t>(radius);
    light->red = static_cast<int16_t>(red);
    light->green = static_cast<int16_t>(green);
    light->blue = static_cast<int16_t>(blue);
    light->sprite = static_cast<int16_t>(sprite);
    return light;
}

uint32_t GradientColour(const Light& light, int32_t px, int32_t py) {
    const int32_t R = light.radius;
    double dx = px - R;
    double dy = py - R;
    float d = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    float intensity = 1 - d / R;
    if (intensity > 1) intensity = 1;
    if (intensity < 0) intensity = 0;
    auto component = [&](int16_t full) {
        int32_t value = RoundToInt32(full * intensity);
        return static_cast<uint32_t>(value < 0 ? 0 : value > 255 ? 255 : value);
    };
    return component(light.red) + component(light.green) * 256 + component(light.blue) * 65536;
}

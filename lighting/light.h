#pragma once

#include <cstdint>

#include "lighting/lighting.h"

// Adds a light at (x, y) with its colour at full intensity and the radius of
// its lit disc. The colour and radius keep the low 16 bits of their
// arguments. The new light becomes the registry's current element. How it is
// drawn is the frame's business (render/light_sprite.h), from GradientColour.
Light* CreateLight(Lighting& lighting, int32_t x, int32_t y, int32_t radius, int32_t red,
                   int32_t green, int32_t blue);

// The colour of pixel (px, py) of the light's 2R × 2R gradient image, as
// red + green × 256 + blue × 65536: full colour at (R, R), falling off linearly
// with the distance from it to black at distance R.
uint32_t GradientColour(const Light& light, int32_t px, int32_t py);

// Lights dropped into the scene beside the mouse's light (the registry's
// first): each a fixed light of radius 300, coloured by its place among the
// dropped lights from the palette below, at most kMaxDroppedLights of them.
constexpr int32_t kMaxDroppedLights = 8;
constexpr int32_t kDroppedLightRadius = 300;

struct LightColour {
    int16_t red;
    int16_t green;
    int16_t blue;
};
// The start-up light's blue-white, which the palette follows when C cycles
// the mouse's light.
constexpr LightColour kStartLightColour = {100, 100, 250};
constexpr int32_t kStartLightRadius = 500;

// The mouse's light as start-up makes it: at (0, 0), radius 500, blue-white.
Light* CreateStartLight(Lighting& lighting);
inline constexpr LightColour kLightPalette[kMaxDroppedLights] = {
    {230, 210, 170},  // warm white
    {240, 150, 20},   // amber
    {230, 40, 30},    // red
    {40, 210, 60},    // green
    {20, 200, 220},   // cyan
    {220, 40, 200},   // magenta
    {60, 90, 240},    // blue
    {220, 220, 40},   // yellow
};

// The mouse's light is kept between these radii, changed in steps of this.
constexpr int32_t kMinLightRadius = 100;
constexpr int32_t kMaxLightRadius = 1000;
constexpr int32_t kLightRadiusStep = 50;

// The number of lights besides the mouse's.
int32_t DroppedLightCount(const Lighting& lighting);

// Adds a fixed light at (x, y) at the end of the registry, with the palette
// colour of its place. Null, adding
// nothing, when kMaxDroppedLights are there already or there is no mouse
// light to stand beside.
Light* DropLight(Lighting& lighting, int32_t x, int32_t y);

// Removes the last light dropped; false when there is none. The mouse's
// light is never removed.
bool RemoveLastLight(Lighting& lighting);

// The colour after the light's in the cycle start-up colour → palette →
// start-up colour; a colour outside the cycle is followed by its start.
LightColour NextLightColour(const Light& light);
void SetLightColour(Light& light, const LightColour& colour);

// `radius` brought into kMinLightRadius … kMaxLightRadius.
int32_t ClampLightRadius(int32_t radius);

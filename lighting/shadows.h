#pragma once

// Hard shadows. After every step each body of two or more particles is
// snapshot as an outline; for each light and each outline the rebuild adds a
// fan of triangles from the outline's centre covering the body, and a quad
// (two triangles) covering the region behind it as seen from the light, out to
// a far line about 1120 pixels beyond the body.

#include <cstdint>

#include "lighting/lighting.h"
#include "world/world.h"

// The outlines: one per body of two or more particles, in body order.
void BuildOutlinePolygons(const World& world, Lighting& lighting);

// Soft shadows cast every light's shadows from this many points, spread over
// a disc of radius 12 around it (a sunflower pattern, rounded to whole
// pixels, so that a light at a whole-pixel position casts from whole pixels).
constexpr int32_t kPenumbraSamples = 8;
struct PenumbraOffset {
    float dx;
    float dy;
};
inline constexpr PenumbraOffset kPenumbra[kPenumbraSamples] = {
    {3, 0}, {-4, 4}, {1, -7}, {5, 6}, {-9, -2}, {8, -5}, {-3, 10}, {-5, -10},
};

// Rebuilds the outlines and every shadow triangle from the lights' positions:
// for each light in registry order, from its centre, or with soft shadows
// from each point of its penumbra in turn. Records each caster with the
// number of triangles it made (Lighting::casters).
void BuildShadows(const World& world, Lighting& lighting);

// The two outermost outline points as seen from the light, and where their
// projections meet the far line through P and Q. `found` is false when there
// is no silhouette: the light sits on the outline's first point, or no point
// projects onto the far line.
struct Silhouette {
    bool found;
    int32_t minPoint;
    int32_t maxPoint;
    Vec2 minFar;
    Vec2 maxFar;
};
Silhouette FindSilhouette(const Vec2& P, const Vec2& Q, const OutlinePolygon& polygon,
                          double lightX, double lightY);

// The silhouette that a body's shadow quad is cast from, seen from
// (lightX, lightY): the far line runs through a point about K pixels beyond
// the centre (K the screen's width plus height), perpendicular to the
// direction from the light. Not found when the light is within half a pixel
// of the centre (no direction) or when FindSilhouette finds none.
Silhouette ShadowSilhouette(const World& world, const OutlinePolygon& polygon, float lightX,
                            float lightY);

// Where the lines P1 + s·D1 and P2 + u·D2 meet. False when they are taken as
// parallel, are degenerate, or meet at no finite point.
bool IntersectLines(const Vec2& P1, const Vec2& D1, const Vec2& P2, const Vec2& D2, Vec2& meeting);

void AddShadowSegment(Lighting& lighting, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                      int32_t x3, int32_t y3);

#pragma once

// What a point light reaches: the exact region its hard shadows leave, as one
// polygon around the light. The drawing fills it with the light's gradient
// instead of drawing the gradient and then cutting each shadow out of it.

#include <vector>

#include "lighting/lighting.h"

struct VisibilitySegment {
    Vec2 a;
    Vec2 b;
};

// A point of the polygon and the angle of the ray from the light it lies on.
struct VisibilityHit {
    double angle;
    Vec2 point;
};

// Storage kept from call to call, so that once grown a call allocates nothing.
struct Visibility {
    std::vector<VisibilitySegment> walls;
    std::vector<VisibilityHit> hits;
    std::vector<Vec2> polygon;  // the result, in order of angle around the light
};

// The part of the square of half-side `reach` around `light` that no outline
// hides from it (the outlines left out when `withOutlines` is false). The
// polygon is star-shaped about the light: every ray from the light crosses
// its boundary once. A light inside an outline sees only that outline's
// inside. Found by casting rays at every wall corner and just beside it, each
// ray stopped at the nearest wall.
void BuildVisibilityPolygon(const Lighting& lighting, Vec2 light, double reach, bool withOutlines,
                            Visibility& visibility);

// Whether (x, y) lies inside the outline (crossing count; a point on the
// boundary may count either way).
bool OutlineContains(const OutlinePolygon& polygon, double x, double y);

// Soft shadows: a light is a disc of this radius. Its penumbra lies along the
// hard shadow's edges, zero wide at the corner that casts it and widening
// behind it: 2 · r · s / d at distance s behind a corner d from the light.
constexpr double kPenumbraRadius = 12;

// One penumbra fin: the wedge at a silhouette corner from the hard shadow's
// edge (the ray from the light through the corner) out to the edge of the
// lit side, `spread` radians further on. The light's share rises from none
// on the hard edge to all of it on the outer one, constant along each ray
// from the apex.
struct PenumbraFin {
    Vec2 apex;
    Vec2 hardEdge;  // unit direction, away from the light
    Vec2 litSide;   // unit direction across the hard edge, into the lit side
    double spread;
};

// The fins of every silhouette corner of the outlines within `reach` of the
// light that do not hold the light, for a disc light of radius discRadius.
void BuildPenumbraFins(const Lighting& lighting, Vec2 light, double reach, double discRadius,
                       std::vector<PenumbraFin>& fins);

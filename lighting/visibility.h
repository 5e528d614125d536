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

// A corner rays are cast at. On a box's silhouette (one side facing the
// light, the other not), `side` tells which side of the ray from the light
// through it the box lies on: +1 where Cross(ray, ·) is positive, −1 where it
// is negative, 0 when a side of the box runs along the ray.
struct SilhouetteCorner {
    Vec2 point;
    bool onSilhouette;
    int32_t side;
    const OutlinePolygon* outline;  // the box it belongs to; null for the light's square
};

// Storage kept from call to call, so that once grown a call allocates nothing.
struct Visibility {
    std::vector<VisibilitySegment> walls;
    std::vector<SilhouetteCorner>
        corners;  // every corner a ray is cast at, side 0 if not on a silhouette
    std::vector<VisibilityHit> hits;
    std::vector<Vec2> polygon;  // the result, in order of angle around the light
    std::vector<SilhouetteCorner>
        silhouettes;  // the silhouette corners with a side the light reaches
};

// The part of the square of half-side `reach` around `light` that no outline
// hides from it (the outlines left out when `withOutlines` is false). The
// polygon is star-shaped about the light: every ray from the light crosses
// its boundary once. A light inside an outline sees only that outline's
// inside. Only the sides of an outline that face the light can stop a ray
// first, so only they are walls; a ray is cast at each corner between two of
// them and, just beside it on either side, at each silhouette corner, and
// stopped at the nearest wall.
void BuildVisibilityPolygon(const Lighting& lighting, Vec2 light, double reach, bool withOutlines,
                            Visibility& visibility);

// Whether (x, y) lies inside the outline (crossing count; a point on the
// boundary may count either way).
bool OutlineContains(const OutlinePolygon& polygon, double x, double y);

// Soft shadows: a light is a disc of this radius. Its penumbra lies along the
// hard shadow's edges, zero wide at the corner that casts it and widening
// behind it: 2 · r · s / d at distance s behind a corner d from the light.
constexpr double kPenumbraRadius = 12;

// One penumbra fin: the wedge from the hard shadow's edge (the ray from the
// light through a silhouette corner) out to the tangent from the disc's edge
// on the box's side past the box, which is fully lit beyond; its apex is
// where the two lines meet (the corner itself, unless the box shows the disc
// another corner), `spread` radians wide. The light's share rises from none
// on the hard edge to all of it on the outer one, constant along each ray
// from the apex.
struct PenumbraFin {
    Vec2 apex;
    Vec2 hardEdge;  // unit direction, away from the light
    Vec2 litSide;   // unit direction across the hard edge, into the lit side
    double spread;
};

// The fins of the silhouette corners the last BuildVisibilityPolygon from
// `light` found the light reaching, for a disc light of radius discRadius.
void BuildPenumbraFins(const Visibility& visibility, Vec2 light, double discRadius,
                       std::vector<PenumbraFin>& fins);

#include "collision/narrow_phase.h"

#include <cmath>

#include "collision/contact_registry.h"
#include "world/world.h"

namespace {

// The edge whose ends, moved out by the separation, lie within this of the
// vertex's level is the one the vertex went through.
constexpr float kEdgeLevelTolerance = 0.001f;

// The axis of least overlap and the stick that gave it.
struct Overlap {
    float depth;
    Vec2 axis;
    Stick* stick;
};

// The unit normals of up to four sticks, one per lane: (a.y - b.y, b.x - a.x)
// scaled to length 1, or left as it is when its length is 0. Lanes past
// `count` repeat the last stick.
struct AxisLanes {
    Doubles4 x;
    Doubles4 y;
};

AxisLanes StickNormals(Stick* const sticks[4], int32_t count) {
    double ax[4], ay[4], bx[4], by[4];
    for (int32_t k = 0; k < 4; ++k) {
        const Stick& stick = *sticks[k < count ? k : count - 1];
        ax[k] = stick.particleA->position.x;
        ay[k] = stick.particleA->position.y;
        bx[k] = stick.particleB->position.x;
        by[k] = stick.particleB->position.y;
    }
    Doubles4 x = Lanes(ay[0], ay[1], ay[2], ay[3]) - Lanes(by[0], by[1], by[2], by[3]);
    Doubles4 y = Lanes(bx[0], bx[1], bx[2], bx[3]) - Lanes(ax[0], ax[1], ax[2], ax[3]);
    Doubles4 length = Sqrt(x * x + y * y);
    return {SelectWhereZero(length, x, x / length), SelectWhereZero(length, y, y / length)};
}

// IntervalDistance of the two bodies' intervals on each of the four axes,
// rounded to a float: below 0 where they overlap, 0 where they touch.
Floats4 IntervalDistances(const Projection4& first, const Projection4& second) {
    const Doubles4 minA = ToDoubles(first.min);
    const Doubles4 maxA = ToDoubles(first.max);
    const Doubles4 minB = ToDoubles(second.min);
    const Doubles4 maxB = ToDoubles(second.max);
    return ToFloats(SelectWhereGreater(minB, minA, minB - maxA, minA - maxB));
}

// The positions of a body's particles in slot order, copied once per test so
// that every axis reads them from one small array.
const Vec2* GatherCorners(const Body& body, Vec2* corners) {
    for (int32_t slot = 1; slot <= body.particleCount; ++slot) {
        corners[slot - 1] = BodyParticle(body, slot)->position;
    }
    return corners;
}

// The stick of slot `slot` of the candidates: first's sticks, then second's.
Stick* Candidate(const Body& first, const Body& second, int32_t slot) {
    return slot <= first.stickCount ? BodyStick(first, slot)
                                    : BodyStick(second, slot - first.stickCount);
}

// The candidates are first's sticks, then second's, tried four at a time.
// Returns false as soon as an axis separates the bodies (touching projections
// do not). On a tie the earlier candidate keeps its place.
bool FindLeastOverlap(const Body& first, const Body& second, NarrowPhaseScratch& scratch,
                      Overlap& least) {
    const Vec2* firstCorners = GatherCorners(first, scratch.firstCorners);
    const Vec2* secondCorners = GatherCorners(second, scratch.secondCorners);
    const int32_t candidates = first.stickCount + second.stickCount;
    bool haveOne = false;
    for (int32_t group = 1; group <= candidates; group += 4) {
        const int32_t count = candidates - group + 1 < 4 ? candidates - group + 1 : 4;
        Stick* sticks[4];
        for (int32_t k = 0; k < count; ++k) sticks[k] = Candidate(first, second, group + k);
        const AxisLanes axes = StickNormals(sticks, count);
        const Projection4 f = ProjectBody(axes.x, axes.y, firstCorners, first.particleCount);
        const Projection4 s = ProjectBody(axes.x, axes.y, secondCorners, second.particleCount);
        const Floats4 distances = IntervalDistances(f, s);
        // An axis that separates the bodies ends the search, whichever it is.
        if (AnyAboveZero(distances, count)) {
            return false;
        }
        float dists[4];
        Store(distances, dists);
        double axisX[4], axisY[4];
        Store(axes.x, axisX);
        Store(axes.y, axisY);
        for (int32_t k = 0; k < count; ++k) {
            float dist = dists[k];
            if (!haveOne) {
                least = {std::fabs(dist), {axisX[k], axisY[k]}, sticks[k]};
                haveOne = true;
            }
            if (std::fabs(dist) < least.depth) {
                least = {std::fabs(dist), {axisX[k], axisY[k]}, sticks[k]};
            }
        }
    }
    return haveOne;
}

// The particle of the vertex body lying deepest along N, measured from the
// line through the edge body's centre; on a tie the earlier slot wins.
Particle* DeepestParticle(const Body& vertexBody, const Vec2& normal, float h, float& level) {
    Particle* deepest = nullptr;
    for (int32_t slot = 1; slot <= vertexBody.particleCount; ++slot) {
        Particle* p = BodyParticle(vertexBody, slot);
        float l = static_cast<float>(Dot(normal, p->position) - h);
        if (deepest == nullptr || l < level) {
            deepest = p;
            level = l;
        }
    }
    return deepest;
}

double LevelMovedBy(const Vec2& normal, float h, const Vec2& point, const Vec2& move) {
    Vec2 moved = {point.x + move.x, point.y + move.y};
    return Dot(normal, moved) - h;
}

// The first stick of the edge body whose two ends, moved by the separation,
// lie level with each other and with the vertex; the last one when none does.
Stick* FindContactEdge(const Body& edgeBody, const Vec2& normal, float h, const Vec2& separation,
                       float vertexLevel) {
    for (int32_t slot = 1; slot <= edgeBody.stickCount; ++slot) {
        Stick* stick = BodyStick(edgeBody, slot);
        double e1 = LevelMovedBy(normal, h, stick->particleA->position, separation);
        double e2 = LevelMovedBy(normal, h, stick->particleB->position, separation);
        if (std::fabs(e1 - e2) < kEdgeLevelTolerance &&
            std::fabs((e1 + e2) / 2 - vertexLevel) < kEdgeLevelTolerance) {
            return stick;
        }
    }
    return BodyStick(edgeBody, edgeBody.stickCount);
}

// Pushes the vertex out by the separation T and the edge's ends the other
// way, shared by mass and by where along the edge the vertex lies (t = 0 at
// P1, 1 at P2, not clamped). An edge of zero length gives no place along it
// and moves nothing.
void SeparateVertexFromEdge(const Body& edgeBody, const Body& vertexBody, Particle* p1,
                            Particle* p2, Particle* v, const Vec2& T) {
    Vec2 delta = {p2->position.x - p1->position.x, p2->position.y - p1->position.y};
    Vec2 u = {v->position.x - T.x, v->position.y - T.y};
    float t;
    if (std::fabs(delta.x) > std::fabs(delta.y)) {
        t = static_cast<float>((u.x - p1->position.x) / delta.x);
    } else {
        if (delta.y == 0) {
            return;
        }
        t = static_cast<float>((u.y - p1->position.y) / delta.y);
    }
    if (!std::isfinite(t)) {
        return;
    }

    float mE = p1->body->mass;
    float mW = v->body->mass;
    float s = mE + mW;
    float wE = mW / s;  // the edge's share
    float wW = mE / s;  // the vertex's share

    if (edgeBody.mass != 0) {
        if (vertexBody.mass == 0) {
            p1->position.x += T.x * (1 - t);
            p1->position.y += T.y * (1 - t);
            p2->position.x += T.x * t;
            p2->position.y += T.y * t;
        } else {
            p1->position.x += T.x * (1 - t) * wE;
            p1->position.y += T.y * (1 - t) * wE;
            p2->position.x += T.x * t * wE;
            p2->position.y += T.y * t * wE;
        }
    }
    if (vertexBody.mass != 0) {
        if (edgeBody.mass == 0) {
            v->position.x -= T.x;
            v->position.y -= T.y;
        } else {
            v->position.x -= T.x * wW;
            v->position.y -= T.y * wW;
        }
    }
}

}  // namespace

Projection4 ProjectBody(const Doubles4& axisX, const Doubles4& axisY, const Vec2* corners,
                        int32_t count) {
    auto along = [&](const Vec2& p) {
        return ToFloats(axisX * Broadcast(p.x) + axisY * Broadcast(p.y));
    };
    Floats4 least = along(corners[0]);
    Floats4 most = least;
    for (int32_t i = 1; i < count; ++i) {
        Floats4 value = along(corners[i]);
        least = KeepLess(value, least);
        most = KeepGreater(value, most);
    }
    return {least, most};
}

int Sign(double x) {
    if (x > 0) return 1;
    if (x < 0) return -1;
    return 0;
}

void CollideBodies(World& world, Body* first, Body* second) {
    if (first->particleCount < 1 || second->particleCount < 1) {
        return;
    }
    Overlap least{};
    if (!FindLeastOverlap(*first, *second, world.narrowPhaseScratch, least)) {
        return;
    }

    // The owner of the stick of least overlap is the body that is hit on an edge.
    bool secondIsEdge = least.stick->body->id == second->id;
    Body* edgeBody = secondIsEdge ? second : first;
    Body* vertexBody = secondIsEdge ? first : second;

    // N points from the edge body towards the vertex body; T, the separation,
    // from the vertex body into the edge body.
    const Vec2& n = least.axis;
    double k = Dot(n, vertexBody->centre) - static_cast<float>(Dot(n, edgeBody->centre));
    Vec2 N = Sign(k) == 1 ? n : Vec2{-n.x, -n.y};
    Vec2 T = {-N.x * least.depth, -N.y * least.depth};

    // Levels are signed distances from the line through the edge body's
    // centre, perpendicular to N.
    float h = static_cast<float>(Dot(N, edgeBody->centre));
    float vertexLevel = 0;
    Particle* v = DeepestParticle(*vertexBody, N, h, vertexLevel);

    Stick* edge = FindContactEdge(*edgeBody, N, h, T, vertexLevel);
    if (edge->collisionCount < INT16_MAX) {
        edge->collisionCount = edge->collisionCount + 1;
    }
    Particle* p1 = edge->particleA;
    Particle* p2 = edge->particleB;

    Contact probe{};
    probe.kind = EdgeContact;
    probe.edgeA = p1;
    probe.edgeB = p2;
    probe.particle = v;
    if (!FindContact(world, probe)) {
        CreateContact(world, p1, p2, v, T);
    }
    SeparateVertexFromEdge(*edgeBody, *vertexBody, p1, p2, v, T);
}

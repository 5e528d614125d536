#include "collision/narrow_phase.h"

#include <algorithm>
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

// The unit normals of four sticks, one per lane: (a.y - b.y, b.x - a.x)
// scaled to length 1, or left as it is when its length is 0.
void StickNormals(Stick* const sticks[4], double normalX[4], double normalY[4]) {
    double ax[4], ay[4], bx[4], by[4];
    for (int32_t k = 0; k < 4; ++k) {
        ax[k] = sticks[k]->particleA->position.x;
        ay[k] = sticks[k]->particleA->position.y;
        bx[k] = sticks[k]->particleB->position.x;
        by[k] = sticks[k]->particleB->position.y;
    }
    Doubles4 x = Load(ay) - Load(by);
    Doubles4 y = Load(bx) - Load(ax);
    Doubles4 length = Sqrt(x * x + y * y);
    Store(SelectWhereZero(length, x, x / length), normalX);
    Store(SelectWhereZero(length, y, y / length), normalY);
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

// Lists the candidate sticks, first's then second's, and works out all their
// normals before any is projected on: each group's square roots and
// divisions then run while the groups before it are still being worked out,
// instead of holding up the projections that need them. Returns the number
// of candidates.
int32_t FindCandidateAxes(const Body& first, const Body& second, NarrowPhaseScratch& scratch) {
    Stick** candidates = scratch.candidates;
    int32_t count = 0;
    for (int32_t slot = 1; slot <= first.stickCount; ++slot) {
        candidates[count++] = BodyStick(first, slot);
    }
    for (int32_t slot = 1; slot <= second.stickCount; ++slot) {
        candidates[count++] = BodyStick(second, slot);
    }
    for (int32_t padding = count; padding % 4 != 0; ++padding) {
        candidates[padding] = candidates[count - 1];
    }
    for (int32_t group = 0; group < count; group += 4) {
        StickNormals(candidates + group, scratch.normalX + group, scratch.normalY + group);
    }
    return count;
}

// The candidates are first's sticks, then second's, tried four at a time.
// Returns false as soon as an axis separates the bodies (touching projections
// do not). On a tie the earlier candidate keeps its place.
bool FindLeastOverlap(const Body& first, const Body& second, NarrowPhaseScratch& scratch,
                      Overlap& least) {
    const Vec2* firstCorners = GatherCorners(first, scratch.firstCorners);
    const Vec2* secondCorners = GatherCorners(second, scratch.secondCorners);
    const int32_t candidates = FindCandidateAxes(first, second, scratch);
    bool haveOne = false;
    for (int32_t group = 0; group < candidates; group += 4) {
        const int32_t count = candidates - group < 4 ? candidates - group : 4;
        const double* axisX = scratch.normalX + group;
        const double* axisY = scratch.normalY + group;
        const Doubles4 x = Load(axisX);
        const Doubles4 y = Load(axisY);
        const Projection4 f = ProjectBody(x, y, firstCorners, first.particleCount);
        const Projection4 s = ProjectBody(x, y, secondCorners, second.particleCount);
        const Floats4 distances = IntervalDistances(f, s);
        // An axis that separates the bodies ends the search, whichever it is.
        if (AnyAboveZero(distances, count)) {
            return false;
        }
        float dists[4];
        Store(distances, dists);
        for (int32_t k = 0; k < count; ++k) {
            float dist = dists[k];
            if (!haveOne) {
                least = {std::fabs(dist), {axisX[k], axisY[k]}, scratch.candidates[group + k]};
                haveOne = true;
            }
            if (std::fabs(dist) < least.depth) {
                least = {std::fabs(dist), {axisX[k], axisY[k]}, scratch.candidates[group + k]};
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

// Shorter than this, an edge has collapsed (a body crushed flat in a pile):
// a place along it would be the vertex's distance divided by next to
// nothing, and would throw the edge's ends across the world.
constexpr double kShortestEdge = 1e-3;

// Where along the edge P1-P2 the vertex lies once moved out by the
// separation T: 0 at P1, 1 at P2, not clamped. False for an edge collapsed
// to (next to) zero length, which gives no place along it.
bool PlaceAlongEdge(const Particle& p1, const Particle& p2, const Particle& v, const Vec2& T,
                    float& t) {
    Vec2 delta = {p2.position.x - p1.position.x, p2.position.y - p1.position.y};
    if (std::max(std::fabs(delta.x), std::fabs(delta.y)) < kShortestEdge) {
        return false;
    }
    Vec2 u = {v.position.x - T.x, v.position.y - T.y};
    if (std::fabs(delta.x) > std::fabs(delta.y)) {
        t = static_cast<float>((u.x - p1.position.x) / delta.x);
    } else {
        t = static_cast<float>((u.y - p1.position.y) / delta.y);
    }
    return std::isfinite(t);
}

// Pushes the vertex out by the separation T and the edge's ends the other
// way, shared by mass and by where along the edge the vertex lies (t).
void SeparateVertexFromEdge(const Body& edgeBody, const Body& vertexBody, Particle* p1,
                            Particle* p2, Particle* v, const Vec2& T, float t) {
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

// The study view's record of the separation: the mark taken before it, with
// where the edge's ends and the corner went.
void TraceSeparation(World& world, const StudyTrace::SeparationMark& before, float along,
                     const Particle& p1, const Particle& p2, const Particle& v) {
    StudyTrace::SeparationMark& mark = world.trace.separation;
    mark = before;
    mark.along = along;
    mark.cornerAfter = v.position;
    mark.edgeAAfter = p1.position;
    mark.edgeBAfter = p2.position;
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
    if (x > 0)
        return 1;
    if (x < 0)
        return -1;
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
    const StudyTrace::SeparationMark before = {
        world.trace.pass, least.depth, N, p1->position, p2->position, v->position, v->position};
    float t = 0;
    if (PlaceAlongEdge(*p1, *p2, *v, T, t)) {
        SeparateVertexFromEdge(*edgeBody, *vertexBody, p1, p2, v, T, t);
    }
    if (world.trace.collecting) {
        TraceSeparation(world, before, t, *p1, *p2, *v);
    }
}

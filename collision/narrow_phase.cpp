#include "collision/narrow_phase.h"

#include <cmath>

#include "collision/contact_registry.h"

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

Vec2 StickNormal(const Stick& stick) {
    const Vec2& a = stick.particleA->position;
    const Vec2& b = stick.particleB->position;
    Vec2 axis = {a.y - b.y, b.x - a.x};
    Normalise(axis);
    return axis;
}

// The candidates are first's sticks, then second's. Returns false as soon as
// an axis separates the bodies (touching projections do not). On a tie the
// earlier candidate keeps its place.
bool FindLeastOverlap(const Body& first, const Body& second, Overlap& least) {
    const Body* owners[2] = {&first, &second};
    bool haveOne = false;
    for (const Body* owner : owners) {
        for (int32_t slot = 1; slot <= owner->stickCount; ++slot) {
            Stick* stick = BodyStick(*owner, slot);
            Vec2 axis = StickNormal(*stick);
            Projection f = ProjectBody(axis, first);
            Projection s = ProjectBody(axis, second);
            float dist = static_cast<float>(IntervalDistance(f.min, f.max, s.min, s.max));
            if (!haveOne) {
                least = {std::fabs(dist), axis, stick};
                haveOne = true;
            }
            if (dist > 0) {
                return false;
            }
            if (std::fabs(dist) < least.depth) {
                least = {std::fabs(dist), axis, stick};
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

Projection ProjectBody(const Vec2& axis, const Body& body) {
    float start = static_cast<float>(Dot(axis, BodyParticle(body, 1)->position));
    Projection projection = {start, start};
    for (int32_t slot = 1; slot <= body.particleCount; ++slot) {
        float value = static_cast<float>(Dot(axis, BodyParticle(body, slot)->position));
        if (value < projection.min) projection.min = value;
        if (value > projection.max) projection.max = value;
    }
    return projection;
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
    if (!FindLeastOverlap(*first, *second, least)) {
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

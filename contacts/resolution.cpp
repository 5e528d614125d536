#include "contacts/resolution.h"

#include <cmath>

#include "collision/contact_registry.h"

namespace {

// Motion of the particle so far in this step.
Vec2 Displacement(const Particle& p) {
    return {p.position.x - p.previous.x, p.position.y - p.previous.y};
}

// v itself when its length is 0.
Vec2 Unit(Vec2 v) {
    Normalise(v);
    return v;
}

Vec2 Scaled(const Vec2& v, double factor) { return {v.x * factor, v.y * factor}; }

bool SameStrictSign(double a, double b) { return (a > 0 && b > 0) || (a < 0 && b < 0); }

// Makes the friction step f point against the sliding v, judged on the axis
// of f's larger component (y on a tie); a zero component leaves f alone.
void TurnAgainstSliding(Vec2& f, const Vec2& v) {
    bool alongX = std::fabs(f.y) < std::fabs(f.x);
    bool same = alongX ? SameStrictSign(v.x, f.x) : SameStrictSign(v.y, f.y);
    if (same) {
        f = {-f.x, -f.y};
    }
}

// The edge's motion in this step minus the particle's, along the edge t;
// only B's motion stands for the edge's.
float SlidingAlong(const Particle& b, const Particle& p, const Vec2& t) {
    Vec2 dB = Displacement(b);
    Vec2 dP = Displacement(p);
    Vec2 r = {dB.x - dP.x, dB.y - dP.y};
    return static_cast<float>(Dot(r, t));
}

void Move(Particle& p, const Vec2& by) {
    p.position.x += by.x;
    p.position.y += by.y;
}

}  // namespace

void ResolveEdgeContact(World& world, const Contact& contact) {
    Particle& a = *contact.edgeA;
    Particle& b = *contact.edgeB;
    Particle& p = *contact.particle;
    const int32_t passes = world.settings.IterationCount;

    Vec2 t = Unit({b.position.x - a.position.x, b.position.y - a.position.y});
    float s = SlidingAlong(b, p, t);
    Vec2 v = Scaled(t, s);

    // The deeper the particle went in, the larger the step.
    float depth = static_cast<float>(Length(contact.penetration));
    float muA = a.body->friction;
    float muP = p.body->friction;
    Vec2 f = {t.x * muA * muP * depth / passes, t.y * muA * muP * depth / passes};

    float mA = a.body->mass;
    float mP = p.body->mass;
    if (mA == 0 || mP == 0) {
        if (Length(v) < Length(f)) {
            f = {-v.x, -v.y};
        }
    } else if (Length(v) / 3 < Length(f)) {
        // With equal masses the shares below change r · t by three times |f|,
        // so this stops the relative sliding exactly and never reverses it.
        f = {-v.x / 3, -v.y / 3};
    }
    TurnAgainstSliding(f, v);

    if (mA != 0 && mP != 0) {
        float S = mA + mP;
        float wP = mP / S * 2;
        float wA = mA / S * 2;
        Move(a, Scaled(f, wP));
        Move(b, Scaled(f, wP));
        p.position.x -= f.x * 2 * wA;
        p.position.y -= f.y * 2 * wA;
    } else if (mA != 0) {
        Move(a, f);
        Move(b, f);
    } else if (mP != 0) {
        Move(p, {-f.x, -f.y});
    }
    if (world.trace.collecting) {
        world.trace.friction = {world.trace.pass, s, SlidingAlong(b, p, t), p.position, t};
    }
}

void ResolveWallContact(World& world, const Contact& contact) {
    Particle& p = *contact.particle;
    const Vec2& w = contact.penetration;

    Vec2 t = Unit({w.y, -w.x});  // along the wall
    Vec2 r = {p.previous.x - p.position.x, p.previous.y - p.position.y};
    float s = static_cast<float>(Dot(r, t));
    Vec2 v = Scaled(t, s);

    // A fixed amount of sliding per contact; the depth does not enter.
    float mu = p.body->friction;
    const int32_t passes = world.settings.IterationCount;
    Vec2 f = {t.x * mu / passes, t.y * mu / passes};
    if (Length(v) < Length(f)) {
        f = {-v.x, -v.y};
    }
    TurnAgainstSliding(f, v);
    p.position.x -= f.x;
    p.position.y -= f.y;
}

void ResolveContacts(World& world) {
    world.contacts.Reset();
    while (const Contact* contact = world.contacts.Next()) {
        if (contact->kind == EdgeContact) {
            ResolveEdgeContact(world, *contact);
            world.contacts.RemoveCurrent();
        } else if (contact->kind == WallContact) {
            ResolveWallContact(world, *contact);
        }
    }
    ClearContacts(world);
}

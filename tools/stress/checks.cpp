#include "tools/stress/checks.h"

#include <algorithm>
#include <cmath>

#include "dynamics/gravity.h"

namespace {

// Beyond this many findings of one kind the rest add nothing.
constexpr int32_t kProblemsPerKind = 3;

bool IsFinite(const Vec2& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

bool IsWhole(double value) {
    return std::isfinite(value) && value == std::nearbyint(value);
}

std::string Show(const Vec2& v) {
    return "(" + std::to_string(v.x) + ", " + std::to_string(v.y) + ")";
}

// Collects the findings of one kind, keeping only the first few.
struct Findings {
    std::vector<std::string>& problems;
    int32_t count = 0;

    void Add(const std::string& problem) {
        if (count++ < kProblemsPerKind) {
            problems.push_back(problem);
        }
    }
};

void CheckParticles(const World& world, std::vector<std::string>& problems) {
    Findings findings{problems};
    for (const Particle& p : world.particles) {
        if (!IsFinite(p.position) || !IsFinite(p.previous)) {
            findings.Add("particle " + std::to_string(p.id) + " at " + Show(p.position) +
                         ", previously " + Show(p.previous));
        }
    }
}

void CheckBodies(const World& world, std::vector<std::string>& problems) {
    Findings findings{problems};
    for (const Body& b : world.bodies) {
        if (!IsFinite(b.centre) || !IsFinite(b.boundsMin) || !IsFinite(b.boundsMax)) {
            findings.Add("body " + std::to_string(b.id) + " centred at " + Show(b.centre) +
                         ", bounds " + Show(b.boundsMin) + " to " + Show(b.boundsMax));
        }
    }
}

void CheckRegistriesBetweenSteps(const World& world, std::vector<std::string>& problems) {
    if (world.contacts.Size() != 0) {
        problems.push_back(std::to_string(world.contacts.Size()) + " contacts left after the step");
    }
    if (world.bodyPairs.Size() != 0) {
        problems.push_back(std::to_string(world.bodyPairs.Size()) +
                           " candidate pairs left after the step");
    }
}

void CheckShadowCorners(const Lighting& lighting, std::vector<std::string>& problems) {
    Findings findings{problems};
    int32_t index = 0;
    for (const ShadowSegment& s : lighting.shadowSegments) {
        for (const Vec2* corner : {&s.p1, &s.p2, &s.p3}) {
            if (!IsWhole(corner->x) || !IsWhole(corner->y)) {
                findings.Add("shadow triangle " + std::to_string(index) + " has the corner " +
                             Show(*corner));
            }
        }
        ++index;
    }
}

// Per light and outline: as many fan triangles as outline points, then 0 or 2.
struct ShadowCount {
    int64_t fans = 0;
    int64_t outlines = 0;
    int64_t triangles = 0;
};

ShadowCount CountShadows(const World& world, const Lighting& lighting) {
    ShadowCount count;
    // Every caster (a light, or one point of a soft light's penumbra) casts
    // a fan per outline corner and at most one quad per outline.
    for (const ShadowCaster& caster [[maybe_unused]] : lighting.casters) {
        for (const Body& b : world.bodies) {
            if (b.particleCount > 1) {
                count.fans += b.particleCount;
                count.outlines += 1;
            }
        }
    }
    count.triangles = lighting.shadowSegments.Size();
    return count;
}

void CheckShadowCount(const World& world, const Lighting& lighting,
                      std::vector<std::string>& problems) {
    ShadowCount c = CountShadows(world, lighting);
    const int64_t quadTriangles = c.triangles - c.fans;
    if (quadTriangles < 0 || quadTriangles % 2 != 0 || quadTriangles > 2 * c.outlines) {
        problems.push_back(std::to_string(c.triangles) + " shadow triangles for " +
                           std::to_string(c.outlines) + " outlines of " + std::to_string(c.fans) +
                           " points in all");
    }
}

// Without gravity, by the share of the room the bodies would cover side by side.
double SharedWallTolerance(double share) {
    if (share <= 0.5) {
        return 1.0;
    }
    if (share <= 1.0) {
        return 1.0 + 8.0 * (share - 0.5);  // 5 pixels when the boxes would fill the room
    }
    return 5.0 + 60.0 * (share - 1.0);  // 6 pixels more for every tenth of the room too many
}

}  // namespace

bool CheckPass(const World& world, const Lighting& lighting, std::vector<std::string>& problems) {
    const size_t before = problems.size();
    CheckParticles(world, problems);
    CheckBodies(world, problems);
    CheckRegistriesBetweenSteps(world, problems);
    CheckShadowCorners(lighting, problems);
    CheckShadowCount(world, lighting, problems);
    return problems.size() == before;
}

double OutlineArea(const Body& body) {
    double twiceArea = 0;
    for (int32_t i = 1; i <= body.particleCount; ++i) {
        const Vec2& p = BodyParticle(body, i)->position;
        const Vec2& q = BodyParticle(body, i % body.particleCount + 1)->position;
        twiceArea += p.x * q.y - q.x * p.y;
    }
    return twiceArea / 2;
}

double WallExcursion(const World& world) {
    double worst = 0;
    for (const Wall& wall : world.walls) {
        for (const Particle& p : world.particles) {
            if (p.body->mass == 0) {
                continue;  // the walls leave immovable bodies where they are
            }
            const Vec2 offset = {p.position.x - wall.point.x, p.position.y - wall.point.y};
            // A NaN position lies nowhere: as far out as can be.
            const double inside = Dot(offset, wall.normal);
            worst = std::isnan(inside) ? INFINITY : std::max(worst, -inside);
        }
    }
    return worst;
}

double WallTolerance(const World& world, bool pressedByGravity) {
    double covered = 0;
    bool pinned = false;
    for (const Body& b : world.bodies) {
        if (b.particleCount > 1) {
            // A 40 × 40 box as Space drops it at start-up; a bigger shape as big as it is.
            covered += std::max(40.0 * 40.0, std::abs(OutlineArea(b)));
        }
        pinned = pinned || b.pinned;
    }
    const Vec2& screen = world.settings.ScreenSize;
    const double room = (screen.x - 2) * (screen.y - 2);  // between the walls at 1 and size − 1
    const double share = covered / room;
    // Once gravity has pressed an over-full room's pile into the floor, or
    // while pinned bodies hold part of it still, what the room cannot hold is
    // not shared out among the walls: no bound.
    if ((pressedByGravity || pinned) && share > 1.0) {
        return INFINITY;
    }
    // The pile's weight rests on the floor alone, not on four walls.
    return (GravityIsOn(world) ? 2.0 : 1.0) * SharedWallTolerance(share);
}

int32_t MissingShadowQuads(const World& world, const Lighting& lighting) {
    ShadowCount c = CountShadows(world, lighting);
    return static_cast<int32_t>(c.outlines - (c.triangles - c.fans) / 2);
}

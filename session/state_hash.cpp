#include "session/state_hash.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "dynamics/gravity.h"

namespace {

constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

void Mix(uint64_t& hash, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);  // std::bit_cast, which the browser build lacks
    for (int32_t byte = 0; byte < 8; ++byte) {
        hash ^= (bits >> (8 * byte)) & 0xFF;
        hash *= kFnvPrime;
    }
}

void Mix(uint64_t& hash, const Vec2& v) {
    Mix(hash, v.x);
    Mix(hash, v.y);
}

// The sandbox's pins and switches count only where they differ from the
// start, so that the hash of a world that never used them stays as it was.
void MixSandbox(uint64_t& hash, const World& world) {
    for (const Body& b : world.bodies) {
        if (b.pinned) {
            Mix(hash, static_cast<double>(b.id));
        }
    }
    if (GravityIsOn(world)) {
        Mix(hash, world.settings.Gravity);
    }
    if (world.settings.Rest == 0) {
        Mix(hash, 0.0);
    }
}

}  // namespace

uint64_t HashState(const World& world, const Lighting& lighting) {
    uint64_t hash = kFnvOffset;
    for (const Particle& p : world.particles) {
        Mix(hash, p.position);
        Mix(hash, p.previous);
    }
    for (const Body& b : world.bodies) {
        Mix(hash, b.centre);
        Mix(hash, b.boundsMin);
        Mix(hash, b.boundsMax);
    }
    for (const ShadowSegment& s : lighting.shadowSegments) {
        Mix(hash, s.p1);
        Mix(hash, s.p2);
        Mix(hash, s.p3);
    }
    // The dropped lights, as the dump lists them; none leaves the hash as it was.
    bool mouseLight = true;
    for (const Light& l : lighting.lights) {
        if (!mouseLight) {
            for (double value : {static_cast<double>(l.x), static_cast<double>(l.y),
                                 static_cast<double>(l.radius), static_cast<double>(l.red),
                                 static_cast<double>(l.green), static_cast<double>(l.blue)}) {
                Mix(hash, value);
            }
        }
        mouseLight = false;
    }
    MixSandbox(hash, world);
    return hash;
}

std::string HashText(uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

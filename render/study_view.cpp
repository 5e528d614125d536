#include "render/study_view.h"

#include <cstdio>
#include <string>

#include "world/rounding.h"

namespace {

constexpr uint32_t kTextColour = MakeColour(255, 255, 0);
constexpr uint32_t kBlack = MakeColour(0, 0, 0);

// Where the pixel holding a position lies: the nearest whole number, and
// nothing for a position no pixel holds.
bool Pixel(const Vec2& p, int32_t& x, int32_t& y) {
    if (!(p.x > -1e6 && p.x < 1e6 && p.y > -1e6 && p.y < 1e6)) {
        return false;
    }
    x = RoundToInt32(p.x);
    y = RoundToInt32(p.y);
    return true;
}

void DrawSegment(Services& services, const Vec2& a, const Vec2& b, uint32_t colour) {
    int32_t x1, y1, x2, y2;
    if (Pixel(a, x1, y1) && Pixel(b, x2, y2)) {
        DrawLine(services, x1, y1, x2, y2, colour);
    }
}

void DrawDot(Services& services, const Vec2& at, uint32_t colour) {
    int32_t x, y;
    if (Pixel(at, x, y)) {
        DrawLine(services, x - 1, y, x + 1, y, colour);
        DrawLine(services, x, y - 1, x, y + 1, colour);
    }
}

void DrawBodies(const World& world, Services& services) {
    for (const Body& body : world.bodies) {
        if (&body == world.worldBody || body.particleCount == 0) {
            continue;
        }
        const Vec2 corners[4] = {body.boundsMin,
                                 {body.boundsMax.x, body.boundsMin.y},
                                 body.boundsMax,
                                 {body.boundsMin.x, body.boundsMax.y}};
        for (int32_t i = 0; i < 4; ++i) {
            DrawSegment(services, corners[i], corners[(i + 1) % 4], kBoundsColour);
        }
        DrawDot(services, body.centre, kCentreColour);
    }
}

void DrawTrace(const StudyTrace& trace, Services& services) {
    for (const StudyTrace::PairLine& pair : trace.pairs) {
        DrawSegment(services, pair.first, pair.second, kPairColour);
    }
    for (const StudyTrace::ContactMark& contact : trace.contacts) {
        const Vec2 tip = {contact.particle.x + contact.penetration.x * kPenetrationScale,
                          contact.particle.y + contact.penetration.y * kPenetrationScale};
        DrawSegment(services, contact.particle, tip, kPenetrationColour);
        DrawDot(services, contact.particle, kContactColour);
    }
}

std::string Milliseconds(const char* label, double ms) {
    char text[48];
    std::snprintf(text, sizeof text, "%s : %.2f ms", label, ms);
    return text;
}

void DrawNumbers(const World& world, double frameMilliseconds, Services& services) {
    const StudyTrace& trace = world.trace;
    const std::string lines[] = {
        "boxes : " + std::to_string(world.bodies.Size() - 1),
        "pairs : " + std::to_string(trace.pairs.size()),
        "contacts : " + std::to_string(trace.contacts.size()),
        Milliseconds("step", trace.stepMilliseconds),
        Milliseconds("shadows", trace.shadowMilliseconds),
        Milliseconds("frame", frameMilliseconds),
    };
    int32_t y = 0;
    for (const std::string& line : lines) {
        DrawString(services, 470, y, line, kTextColour, kBlack);
        y += 16;
    }
}

}  // namespace

void DrawStudyView(const World& world, double frameMilliseconds, Services& services) {
    DrawBodies(world, services);
    DrawTrace(world.trace, services);
    DrawNumbers(world, frameMilliseconds, services);
}

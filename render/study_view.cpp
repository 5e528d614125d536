#include "render/study_view.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "lighting/shadows.h"
#include "session/play.h"
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

// The last separating-axis test that found an overlap: the edge it hit, the
// chosen axis as an arrow kAxisLength long from the edge's middle, and the
// corner's move out of the edge body (a line from where it was to where it
// went, magnified as the penetrations are).
void DrawSeparation(const StudyTrace::SeparationMark& mark, Services& services) {
    if (mark.pass == 0) {
        return;
    }
    DrawSegment(services, mark.edgeA, mark.edgeB, kEdgeColour);
    const Vec2 middle = {(mark.edgeA.x + mark.edgeB.x) / 2, (mark.edgeA.y + mark.edgeB.y) / 2};
    const Vec2 tip = {middle.x + mark.axis.x * kAxisLength, middle.y + mark.axis.y * kAxisLength};
    DrawSegment(services, middle, tip, kAxisColour);
    DrawDot(services, tip, kAxisColour);
    const Vec2 moved = {mark.corner.x + (mark.cornerAfter.x - mark.corner.x) * kPenetrationScale,
                        mark.corner.y + (mark.cornerAfter.y - mark.corner.y) * kPenetrationScale};
    DrawSegment(services, mark.corner, moved, kAxisColour);
}

// A particle beyond a wall is off the screen, and so is a push of the full 10
// pixels: the push is drawn as long as it was (not magnified) from the wall
// inwards, level with the particle, with a dot where it ends.
void DrawWallPush(const StudyTrace::WallPushMark& push, Services& services) {
    Vec2 inwards = {push.to.x - push.from.x, push.to.y - push.from.y};
    Normalise(inwards);
    const Vec2 start = {push.from.x + inwards.x * push.depth,
                        push.from.y + inwards.y * push.depth};
    const Vec2 end = {start.x + push.to.x - push.from.x, start.y + push.to.y - push.from.y};
    DrawSegment(services, start, end, kWallPushColour);
    DrawDot(services, end, kWallPushColour);
}

// The moments of the step's relaxation, wall pass and friction: the stick
// furthest from its rest length where relaxation left it, the deepest wall
// push, and the sliding along the last edge contact before friction,
// magnified as the penetrations are.
void DrawPassMoments(const StudyTrace& trace, Services& services) {
    if (trace.stretch.pass != 0) {
        DrawSegment(services, trace.stretch.a, trace.stretch.b, kStretchColour);
    }
    if (trace.wallPush.pass != 0) {
        DrawWallPush(trace.wallPush, services);
    }
    const StudyTrace::FrictionMark& friction = trace.friction;
    if (friction.pass != 0) {
        const double length = friction.before * kPenetrationScale;
        const Vec2 tip = {friction.particle.x + friction.tangent.x * length,
                          friction.particle.y + friction.tangent.y * length};
        DrawSegment(services, friction.particle, tip, kFrictionColour);
    }
}

// The two corners of every outline that the mouse's light's shadow is cast
// from, each on a line from the light.
void DrawSilhouettes(const World& world, const Lighting& lighting, Services& services) {
    const Light* light = MouseLight(lighting);
    if (light == nullptr) {
        return;
    }
    const Vec2 from = {light->x, light->y};
    for (const OutlinePolygon& polygon : lighting.outlinePolygons) {
        const Silhouette s = ShadowSilhouette(world, polygon, light->x, light->y);
        if (!s.found) {
            continue;
        }
        for (int32_t point : {s.minPoint, s.maxPoint}) {
            DrawSegment(services, from, polygon.points[point], kSilhouetteColour);
            DrawDot(services, polygon.points[point], kSilhouetteColour);
        }
    }
}

std::string Milliseconds(const char* label, double ms) {
    char text[48];
    std::snprintf(text, sizeof text, "%s : %.2f ms", label, ms);
    return text;
}

std::string Overlap(const StudyTrace::SeparationMark& mark) {
    char text[48];
    std::snprintf(text, sizeof text, "overlap : %.3f, pass %d", mark.depth,
                  static_cast<int>(mark.pass));
    return text;
}

void DrawNumbers(const World& world, const StudyOptions& options, Services& services) {
    const StudyTrace& trace = world.trace;
    std::vector<std::string> lines = {
        "boxes : " + std::to_string(world.bodies.Size() - 1),
        "pairs : " + std::to_string(trace.pairs.size()),
        "contacts : " + std::to_string(trace.contacts.size()),
    };
    if (trace.separation.pass != 0) {
        lines.push_back(Overlap(trace.separation));
    }
    if (options.showTimes) {
        lines.push_back(Milliseconds("step", trace.stepMilliseconds));
        lines.push_back(Milliseconds("shadows", trace.shadowMilliseconds));
        lines.push_back(Milliseconds("frame", options.frameMilliseconds));
    }
    int32_t y = 0;
    for (const std::string& line : lines) {
        DrawString(services, 470, y, line, kTextColour, kBlack);
        y += 16;
    }
}

// A strip chart: the name and the newest value on a line, below it the
// values of the last kPlotSteps steps as a line from oldest (left) to newest
// (right), scaled so that the largest fills the chart's height.
struct Chart {
    const char* name;
    const char* format;  // the newest value's printf format
    float (*value)(const StudyTrace::PlotSample&);
};

constexpr int32_t kChartWidth = 145;
constexpr int32_t kChartHeight = 32;
constexpr int32_t kChartGap = 10;
constexpr int32_t kChartBottom = 444;  // above the timeline and its pass line
constexpr uint32_t kChartFrameColour = MakeColour(64, 64, 64);
constexpr uint32_t kChartColour = MakeColour(0, 255, 255);

int32_t ChartY(float value, float largest) {
    const float share = largest > 0 ? value / largest : 0;
    return kChartBottom - 1 - static_cast<int32_t>(share * (kChartHeight - 2));
}

void DrawChart(const Chart& chart, const std::vector<StudyTrace::PlotSample>& plots, int32_t left,
               Services& services) {
    const int32_t top = kChartBottom - kChartHeight;
    DrawRect(services, left, top, kChartWidth, kChartHeight, kChartFrameColour);
    char text[48];
    std::snprintf(text, sizeof text, chart.format, chart.name,
                  plots.empty() ? 0.0 : static_cast<double>(chart.value(plots.back())));
    DrawString(services, left, top - 18, text, kTextColour, kBlack);
    float largest = 0;
    for (const StudyTrace::PlotSample& sample : plots) {
        largest = std::max(largest, chart.value(sample));
    }
    for (std::size_t i = 1; i < plots.size(); ++i) {
        const int32_t x1 = left + static_cast<int32_t>((i - 1) * (kChartWidth - 1) / kPlotSteps);
        const int32_t x2 = left + static_cast<int32_t>(i * (kChartWidth - 1) / kPlotSteps);
        DrawLine(services, x1, ChartY(chart.value(plots[i - 1]), largest), x2,
                 ChartY(chart.value(plots[i]), largest), kChartColour);
    }
}

// The plots along the bottom: kinetic energy, contacts, the largest stick
// error and, unless times are left out, the step's milliseconds.
void DrawPlots(const StudyTrace& trace, bool showTimes, Services& services) {
    static constexpr Chart kCharts[] = {
        {"energy", "%s %.4g", [](const StudyTrace::PlotSample& s) { return s.kineticEnergy; }},
        {"contacts", "%s %.0f",
         [](const StudyTrace::PlotSample& s) { return static_cast<float>(s.contacts); }},
        {"stick error", "%s %.3g",
         [](const StudyTrace::PlotSample& s) { return s.largestStickError; }},
        {"step ms", "%s %.2f", [](const StudyTrace::PlotSample& s) { return s.stepMilliseconds; }},
    };
    const int32_t charts = showTimes ? 4 : 3;
    for (int32_t i = 0; i < charts; ++i) {
        DrawChart(kCharts[i], trace.plots, 10 + i * (kChartWidth + kChartGap), services);
    }
}

}  // namespace

void DrawStudyView(const World& world, const Lighting& lighting, const StudyOptions& options,
                   Services& services) {
    DrawSilhouettes(world, lighting, services);
    DrawBodies(world, services);
    DrawTrace(world.trace, services);
    DrawPassMoments(world.trace, services);
    DrawSeparation(world.trace.separation, services);
    DrawNumbers(world, options, services);
    DrawPlots(world.trace, options.showTimes, services);
}

#include "session/state_dump.h"

#include <cmath>
#include <initializer_list>

#include "lighting/light.h"
#include "lighting/shadows.h"
#include "session/number_text.h"
#include "session/play.h"

namespace {

// The shortest form that reads back to the same double; JSON has no NaN or
// infinity, which the world never holds, so they would show as null.
void AppendNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    out += ShortestNumberText(value);
}

void AppendArray(std::string& out, std::initializer_list<double> values) {
    out += '[';
    const char* separator = "";
    for (double value : values) {
        out += separator;
        AppendNumber(out, value);
        separator = ", ";
    }
    out += ']';
}

// Appends `"name": [` to a dump; the items follow, then `]`.
void BeginList(std::string& out, const char* name) {
    out += ", \"";
    out += name;
    out += "\": [";
}

void AppendItem(std::string& out, bool& first, std::initializer_list<double> values) {
    if (!first) {
        out += ", ";
    }
    first = false;
    AppendArray(out, values);
}

}  // namespace

std::string DumpState(const World& world, const Lighting& lighting, int64_t passes) {
    std::string out = "{\"pass\": " + std::to_string(passes) + ", \"light\": ";
    const Light* light = MouseLight(lighting);
    if (light != nullptr) {
        AppendArray(out, {light->x, light->y});
    } else {
        out += "null";
    }
    bool first = true;
    if (DroppedLightCount(lighting) > 0) {
        BeginList(out, "lights");
        bool mouseLight = true;
        for (const Light& l : lighting.lights) {
            if (!mouseLight) {
                AppendItem(out, first,
                           {l.x, l.y, static_cast<double>(l.radius), static_cast<double>(l.red),
                            static_cast<double>(l.green), static_cast<double>(l.blue)});
            }
            mouseLight = false;
        }
        out += ']';
    }
    BeginList(out, "particles");
    first = true;
    for (const Particle& p : world.particles) {
        AppendItem(out, first, {p.position.x, p.position.y});
    }
    out += ']';

    BeginList(out, "bodies");
    first = true;
    for (const Body& b : world.bodies) {
        if (b.id != kWorldBodyId) {
            AppendItem(out, first,
                       {b.centre.x, b.centre.y, b.boundsMin.x, b.boundsMin.y, b.boundsMax.x,
                        b.boundsMax.y});
        }
    }
    out += ']';

    BeginList(out, "shadows");
    first = true;
    for (const ShadowSegment& s : lighting.shadowSegments) {
        AppendItem(out, first, {s.p1.x, s.p1.y, s.p2.x, s.p2.y, s.p3.x, s.p3.y});
    }
    out += ']';
    out += '}';
    return out;
}

std::string DumpTrace(const World& world, const Lighting& lighting) {
    const StudyTrace& trace = world.trace;
    std::string out = "{\"collecting\": ";
    out += trace.collecting ? "true" : "false";
    const StudyTrace::SeparationMark& mark = trace.separation;
    if (mark.pass != 0) {
        out += ", \"separation\": {\"pass\": " + std::to_string(mark.pass) + ", \"depth\": ";
        AppendNumber(out, mark.depth);
        out += ", \"axis\": ";
        AppendArray(out, {mark.axis.x, mark.axis.y});
        out += ", \"edge\": [";
        AppendArray(out, {mark.edgeA.x, mark.edgeA.y});
        out += ", ";
        AppendArray(out, {mark.edgeB.x, mark.edgeB.y});
        out += "], \"corner\": ";
        AppendArray(out, {mark.corner.x, mark.corner.y});
        out += ", \"cornerAfter\": ";
        AppendArray(out, {mark.cornerAfter.x, mark.cornerAfter.y});
        out += '}';
    }
    out += ", \"pairs\": " + std::to_string(trace.pairs.size());
    bool first = true;
    BeginList(out, "contacts");
    for (const StudyTrace::ContactMark& contact : trace.contacts) {
        AppendItem(
            out, first,
            {contact.particle.x, contact.particle.y, contact.penetration.x, contact.penetration.y});
    }
    out += ']';
    first = true;
    BeginList(out, "silhouettes");
    const Light* light = MouseLight(lighting);
    for (const OutlinePolygon& polygon : lighting.outlinePolygons) {
        const Silhouette s =
            light == nullptr ? Silhouette{} : ShadowSilhouette(world, polygon, light->x, light->y);
        if (s.found) {
            const Vec2& a = polygon.points[s.minPoint];
            const Vec2& b = polygon.points[s.maxPoint];
            AppendItem(out, first, {a.x, a.y, b.x, b.y});
        }
    }
    return out + "]}";
}

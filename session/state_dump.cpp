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

namespace {

void AppendPoint(std::string& out, const char* name, const Vec2& p) {
    out += ", \"";
    out += name;
    out += "\": ";
    AppendArray(out, {p.x, p.y});
}

void AppendSegment(std::string& out, const char* name, const Vec2& a, const Vec2& b) {
    out += ", \"";
    out += name;
    out += "\": [";
    AppendArray(out, {a.x, a.y});
    out += ", ";
    AppendArray(out, {b.x, b.y});
    out += ']';
}

// `"name": {"pass": N, "key": value` for a mark of the trace; its points
// follow, then `}`.
void BeginMark(std::string& out, const char* name, int32_t pass, const char* key, double value) {
    out += ", \"";
    out += name;
    out += "\": {\"pass\": " + std::to_string(pass) + ", \"" + key + "\": ";
    AppendNumber(out, value);
}

void AppendSeparation(std::string& out, const StudyTrace::SeparationMark& mark) {
    if (mark.pass == 0) {
        return;
    }
    BeginMark(out, "separation", mark.pass, "depth", mark.depth);
    AppendPoint(out, "axis", mark.axis);
    AppendSegment(out, "edge", mark.edgeA, mark.edgeB);
    AppendPoint(out, "corner", mark.corner);
    AppendPoint(out, "cornerAfter", mark.cornerAfter);
    out += ", \"along\": ";
    AppendNumber(out, mark.along);
    AppendSegment(out, "edgeAfter", mark.edgeAAfter, mark.edgeBAfter);
    out += '}';
}

void AppendStretch(std::string& out, const StudyTrace::StretchMark& mark) {
    if (mark.pass == 0) {
        return;
    }
    BeginMark(out, "stretch", mark.pass, "before", mark.before);
    out += ", \"after\": ";
    AppendNumber(out, mark.after);
    AppendSegment(out, "stick", mark.a, mark.b);
    out += '}';
}

void AppendWallPush(std::string& out, const StudyTrace::WallPushMark& mark) {
    if (mark.pass == 0) {
        return;
    }
    BeginMark(out, "wall", mark.pass, "depth", mark.depth);
    AppendPoint(out, "from", mark.from);
    AppendPoint(out, "to", mark.to);
    out += '}';
}

void AppendFriction(std::string& out, const StudyTrace::FrictionMark& mark) {
    if (mark.pass == 0) {
        return;
    }
    BeginMark(out, "friction", mark.pass, "before", mark.before);
    out += ", \"after\": ";
    AppendNumber(out, mark.after);
    AppendPoint(out, "at", mark.particle);
    AppendPoint(out, "tangent", mark.tangent);
    out += '}';
}

}  // namespace

std::string DumpTrace(const World& world, const Lighting& lighting) {
    const StudyTrace& trace = world.trace;
    std::string out = "{\"collecting\": ";
    out += trace.collecting ? "true" : "false";
    bool first = true;
    BeginList(out, "motion");
    for (const Particle& p : world.particles) {
        AppendItem(out, first, {p.previous.x, p.previous.y, p.velocity.x, p.velocity.y});
    }
    out += ']';
    AppendStretch(out, trace.stretch);
    AppendWallPush(out, trace.wallPush);
    AppendSeparation(out, trace.separation);
    AppendFriction(out, trace.friction);
    out += ", \"pairs\": " + std::to_string(trace.pairs.size());
    first = true;
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

#include "lighting/lighting_snapshot.h"

#include "world/rounding.h"

namespace {

// The place of the registry's current element, found by walking it.
template <typename T>
int32_t CursorPlace(const OrderedList<T>& list) {
    const T* current = list.Current();
    int32_t place = 0;
    for (const T& record : list) {
        if (&record == current) {
            return place;
        }
        ++place;
    }
    return -1;
}

// After a refill the cursor rests on the last record; it goes back to its place.
template <typename T>
void PutCursor(OrderedList<T>& list, int32_t cursor) {
    list.Reset();
    for (int32_t place = 0; place <= cursor; ++place) {
        list.Next();
    }
}

}  // namespace

void TakeLightingSnapshot(const Lighting& lighting, LightingSnapshot& snapshot) {
    snapshot.lights.clear();
    for (const Light& light : lighting.lights) {
        snapshot.lights.push_back(light);
    }
    snapshot.lightCursor = CursorPlace(lighting.lights);
    snapshot.shadows.clear();
    for (const ShadowSegment& s : lighting.shadowSegments) {
        snapshot.shadows.push_back({RoundToInt32(s.p1.x), RoundToInt32(s.p1.y),
                                    RoundToInt32(s.p2.x), RoundToInt32(s.p2.y),
                                    RoundToInt32(s.p3.x), RoundToInt32(s.p3.y)});
    }
    snapshot.shadowCursor = CursorPlace(lighting.shadowSegments);
    snapshot.casters = lighting.casters;
    snapshot.softShadows = lighting.softShadows;
}

void RestoreLightingSnapshot(Lighting& lighting, const LightingSnapshot& snapshot) {
    lighting.lights.Clear();
    for (const Light& light : snapshot.lights) {
        *lighting.lights.Append() = light;
    }
    PutCursor(lighting.lights, snapshot.lightCursor);
    lighting.shadowSegments.Clear();
    for (const ShadowState& s : snapshot.shadows) {
        ShadowSegment* segment = lighting.shadowSegments.Append();
        SetVec2(segment->p1, s.x1, s.y1);
        SetVec2(segment->p2, s.x2, s.y2);
        SetVec2(segment->p3, s.x3, s.y3);
    }
    PutCursor(lighting.shadowSegments, snapshot.shadowCursor);
    lighting.outlinePolygons.Clear();
    lighting.casters = snapshot.casters;
    lighting.softShadows = snapshot.softShadows;
}

std::size_t LightingSnapshotBytes(const LightingSnapshot& snapshot) {
    return sizeof snapshot + snapshot.lights.size() * sizeof(Light) +
           snapshot.shadows.size() * sizeof(ShadowState) +
           snapshot.casters.size() * sizeof(ShadowCaster);
}

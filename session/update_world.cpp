#include "session/update_world.h"

#include <chrono>

#include "dynamics/drag.h"
#include "dynamics/measures.h"
#include "dynamics/step.h"
#include "lighting/shadows.h"
#include "session/play.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The plots' figures of the step just taken, the oldest dropped beyond kPlotSteps.
void KeepPlotSample(World& world) {
    std::vector<StudyTrace::PlotSample>& plots = world.trace.plots;
    if (plots.size() == static_cast<std::size_t>(kPlotSteps)) {
        plots.erase(plots.begin());
    }
    const PassFigures figures = MeasureWorld(world);
    plots.push_back({static_cast<float>(figures.kineticEnergy), figures.contacts,
                     static_cast<float>(figures.largestStickError),
                     static_cast<float>(world.trace.stepMilliseconds)});
}

}  // namespace

void UpdateWorld(World& world, Lighting& lighting, int32_t mouseX, int32_t mouseY,
                 const PassControls& controls) {
    const bool timed = world.trace.collecting;
    Clock::time_point start = timed ? Clock::now() : Clock::time_point{};
    if (controls.step) {
        if (IsGrabbing(world)) {
            AimGrab(world, mouseX, mouseY);
        }
        StepWorld(world);
    }
    if (timed) {
        if (controls.step) {
            world.trace.stepMilliseconds = MillisecondsSince(start);  // else the last step's stays
            KeepPlotSample(world);
        }
        start = Clock::now();
    }
    BuildShadows(world, lighting);
    if (timed) {
        world.trace.shadowMilliseconds = MillisecondsSince(start);
    }
    if (!controls.lightFollows || IsGrabbing(world)) {
        return;
    }
    // Only the mouse's light follows; dropped lights stay where they were put.
    if (Light* light = MouseLight(lighting)) {
        light->x = static_cast<float>(mouseX);
        light->y = static_cast<float>(mouseY);
    }
}

#include "dynamics/body_geometry.h"

void UpdateBodyGeometry(World& world) {
    world.bodies.Reset();
    while (Body* body = world.bodies.Next()) {
        if (body != world.worldBody) {
            MeasureBody(*body);
        }
    }
}

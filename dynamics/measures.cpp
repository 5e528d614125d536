#include "dynamics/measures.h"

#include <algorithm>
#include <cmath>

double KineticEnergy(const World& world) {
    double energy = 0;
    for (const Particle& p : world.particles) {
        const double mass = p.body->mass;
        if (mass == 0) {
            continue;
        }
        const double dx = p.position.x - p.previous.x;
        const double dy = p.position.y - p.previous.y;
        energy += 0.5 * mass * (dx * dx + dy * dy);
    }
    return energy;
}

double LargestStickError(const World& world) {
    double largest = 0;
    for (const Stick& s : world.sticks) {
        const double dx = s.particleB->position.x - s.particleA->position.x;
        const double dy = s.particleB->position.y - s.particleA->position.y;
        largest = std::max(largest, std::fabs(std::sqrt(dx * dx + dy * dy) - s.restLength));
    }
    return largest;
}

PassFigures MeasureWorld(const World& world) {
    return {KineticEnergy(world), world.lastPassContacts, LargestStickError(world)};
}

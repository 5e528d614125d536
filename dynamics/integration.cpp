#include "dynamics/integration.h"

namespace {

bool IsMovable(const Particle& particle) { return particle.body->mass != 0.0f; }

}  // namespace

void IntegrateParticles(World& world) {
    const Settings& settings = world.settings;
    world.particles.Reset();
    while (Particle* p = world.particles.Next()) {
        if (!IsMovable(*p)) {
            continue;
        }
        Vec2 start = p->position;
        p->velocity.x = (p->position.x - p->previous.x) +
                        p->acceleration.x * settings.TimeStep * settings.TimeStep;
        p->velocity.y = (p->position.y - p->previous.y) +
                        p->acceleration.y * settings.TimeStep * settings.TimeStep;
        p->previous = start;
        p->velocity.x = p->velocity.x * (1 - settings.Damping);
        p->velocity.y = p->velocity.y * (1 - settings.Damping);

        // Beyond the limit the velocity keeps only its overshoot: 60 becomes 10.
        float speed = static_cast<float>(Length(p->velocity));
        if (speed > settings.SpeedLimit) {
            p->velocity.x = (p->velocity.x / speed) * (speed - settings.SpeedLimit);
            p->velocity.y = (p->velocity.y / speed) * (speed - settings.SpeedLimit);
        }
    }
}

void AdvanceParticles(World& world) {
    const int32_t passes = world.settings.IterationCount;
    world.particles.Reset();
    while (Particle* p = world.particles.Next()) {
        if (!IsMovable(*p)) {
            continue;
        }
        p->position.x = p->position.x + p->velocity.x / passes;
        p->position.y = p->position.y + p->velocity.y / passes;
    }
}

void SettleImmovable(World& world) {
    world.particles.Reset();
    while (Particle* p = world.particles.Next()) {
        if (!IsMovable(*p)) {
            p->previous = p->position;
        }
    }
}

// The same crowd in two engines a user might pick instead: N dynamic 40 × 40
// boxes of mass 1 and friction 1, no gravity, inside four static walls round
// the 640 × 480 screen, started from the same drop positions, settled for
// the same 120 frames, then one step per frame is timed.

#include <benchmark/benchmark.h>
#include <box2d/box2d.h>
#include <chipmunk/chipmunk.h>

#include <vector>

#include "bench/crowd_scene.h"
#include "tools/sim/crowd.h"

namespace {

constexpr float kFrame = 1.0f / 60.0f;

// Box2D is tuned for bodies of about a metre: one metre is one box side here,
// so a box is 1 × 1 m of density 1 (mass 1) and the screen 16 × 12 m.
constexpr float kPixelsPerMetre = 40.0f;

void AddBox2DWall(b2World& world, float x1, float y1, float x2, float y2) {
    b2BodyDef def;
    b2Body* body = world.CreateBody(&def);
    b2EdgeShape edge;
    edge.SetTwoSided(b2Vec2(x1 / kPixelsPerMetre, y1 / kPixelsPerMetre),
                     b2Vec2(x2 / kPixelsPerMetre, y2 / kPixelsPerMetre));
    b2FixtureDef fixture;
    fixture.shape = &edge;
    fixture.friction = 1.0f;
    body->CreateFixture(&fixture);
}

// Box2D puts bodies at rest to sleep by default, and a settled crowd of 50
// then costs almost nothing; tumble's bodies never sleep. Both are timed.
void Box2DStepBenchmark(benchmark::State& state, bool allowSleep) {
    b2World world(b2Vec2(0.0f, 0.0f));
    world.SetAllowSleeping(allowSleep);
    AddBox2DWall(world, 1, 1, 639, 1);
    AddBox2DWall(world, 1, 1, 1, 479);
    AddBox2DWall(world, 639, 1, 639, 479);
    AddBox2DWall(world, 1, 479, 639, 479);
    b2PolygonShape square;
    square.SetAsBox(0.5f, 0.5f);
    for (auto [x, y] : CrowdDrops(static_cast<int32_t>(state.range(0)))) {
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(x / kPixelsPerMetre, y / kPixelsPerMetre);
        b2Body* body = world.CreateBody(&def);
        b2FixtureDef fixture;
        fixture.shape = &square;
        fixture.density = 1.0f;
        fixture.friction = 1.0f;
        body->CreateFixture(&fixture);
    }
    for (int32_t i = 0; i < kSettlePasses; ++i) {
        world.Step(kFrame, 8, 3);
    }
    for (auto _ : state) {
        world.Step(kFrame, 8, 3);
    }
}

// The space does not free what was added to it: these are freed after it.
struct ChipmunkParts {
    std::vector<cpShape*> shapes;
    std::vector<cpBody*> bodies;
};

void AddChipmunkWall(cpSpace* space, ChipmunkParts& parts, cpFloat x1, cpFloat y1, cpFloat x2,
                     cpFloat y2) {
    cpShape* wall = cpSegmentShapeNew(cpSpaceGetStaticBody(space), cpv(x1, y1), cpv(x2, y2), 0);
    cpShapeSetFriction(wall, 1.0);
    parts.shapes.push_back(cpSpaceAddShape(space, wall));
}

void ChipmunkStepBenchmark(benchmark::State& state) {
    cpSpace* space = cpSpaceNew();
    cpSpaceSetIterations(space, 10);
    cpSpaceSetGravity(space, cpv(0, 0));
    ChipmunkParts parts;
    AddChipmunkWall(space, parts, 1, 1, 639, 1);
    AddChipmunkWall(space, parts, 1, 1, 1, 479);
    AddChipmunkWall(space, parts, 639, 1, 639, 479);
    AddChipmunkWall(space, parts, 1, 479, 639, 479);
    for (auto [x, y] : CrowdDrops(static_cast<int32_t>(state.range(0)))) {
        cpBody* body = cpSpaceAddBody(space, cpBodyNew(1.0, cpMomentForBox(1.0, 40, 40)));
        cpBodySetPosition(body, cpv(x, y));
        cpShape* box = cpSpaceAddShape(space, cpBoxShapeNew(body, 40, 40, 0));
        cpShapeSetFriction(box, 1.0);
        parts.bodies.push_back(body);
        parts.shapes.push_back(box);
    }
    for (int32_t i = 0; i < kSettlePasses; ++i) {
        cpSpaceStep(space, kFrame);
    }
    for (auto _ : state) {
        cpSpaceStep(space, kFrame);
    }
    cpSpaceFree(space);
    for (cpShape* shape : parts.shapes) {
        cpShapeFree(shape);
    }
    for (cpBody* body : parts.bodies) {
        cpBodyFree(body);
    }
}

}  // namespace

BENCHMARK_CAPTURE(Box2DStepBenchmark, sleeping, true)->Name("box2d/Step")->Arg(50)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Box2DStepBenchmark, awake, false)->Name("box2d-awake/Step")->Arg(50)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ChipmunkStepBenchmark)->Name("chipmunk/Step")->Arg(50)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);

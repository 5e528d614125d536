#include "tools/stress/stress.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <utility>

#include "dynamics/drag.h"
#include "dynamics/gravity.h"
#include "lighting/light.h"
#include "session/commands.h"
#include "session/play.h"
#include "session/session.h"
#include "session/update_world.h"
#include "tools/stress/checks.h"
#include "world/factories.h"
#include "world/rounding.h"

namespace {

// The mouse, and so every drop and the light, stays on the screen.
constexpr int32_t kRight = 639;
constexpr int32_t kBottom = 479;
constexpr int32_t kHalfBox = 20;

// Every run ends with this many passes without a drop, so that the walls are
// checked at least once.
constexpr int64_t kClosingQuiet = 150;

class StressRun {
   public:
    explicit StressRun(const StressOptions& options) : options_(options), random_(options.seed) {
        StartSession(sim_);
        // A third of the runs go up to the most boxes, the others stop short.
        boxLimit_ = OneIn(3) ? options.maxBoxes : Uniform(0, options.maxBoxes);
        result_.script = "# tumble-stress seed " + std::to_string(options.seed) + ", up to " +
                         std::to_string(boxLimit_) + " boxes\n";
    }

    StressResult Run() {
        while (result_.passed && result_.passes < options_.passes) {
            RunEpisode();
        }
        Flush();
        result_.script += "dump\n";
        result_.dump = DumpSession(sim_);
        return result_;
    }

   private:
    // A whole number from lo to hi. mt19937's sequence is fixed by the
    // language standard and the distributions are not, so the modulo keeps
    // every run the same on every machine.
    int32_t Uniform(int32_t lo, int32_t hi) {
        return lo + static_cast<int32_t>(random_() % static_cast<uint32_t>(hi - lo + 1));
    }
    bool OneIn(int32_t n) { return Uniform(1, n) == 1; }

    int64_t PassesLeft() const { return options_.passes - result_.passes; }
    bool MayDrop() const {
        return result_.counts.boxes < boxLimit_ && PassesLeft() > kClosingQuiet;
    }

    // Once no more boxes may be dropped, the light moves and passes run.
    // Before that, an episode of each kind comes about as often as its weight.
    void RunEpisode() {
        if (options_.backEvery > 0 && OneIn(options_.backEvery)) {
            return GoBack();
        }
        if (!MayDrop()) {
            if (OneIn(4)) {
                Drag();
            } else if (OneIn(3)) {
                MoveLightOntoABox();
            } else if (OneIn(4)) {
                Sandbox();  // its drops wait for room
            } else {
                ShortSteps();
            }
            return;
        }
        using Episode = void (StressRun::*)();
        static constexpr std::pair<int32_t, Episode> kEpisodes[] = {
            {3, &StressRun::Scatter},
            {3, &StressRun::DropOnEdges},
            {2, &StressRun::Stack},
            {1, &StressRun::Pile},
            {3, &StressRun::DropUnderTheLight},
            {1, &StressRun::MoveLightOntoABox},
            {3, &StressRun::ShortSteps},
            {1, &StressRun::QuietSteps},
            {3, &StressRun::Drag},
            {1, &StressRun::IdleSteps},
            {1, &StressRun::MaybeRestart},
            {2, &StressRun::PlayWithLights},
            {3, &StressRun::Sandbox},
        };
        int32_t roll = Uniform(1, 27);  // the sum of the weights
        for (const auto& [weight, episode] : kEpisodes) {
            roll -= weight;
            if (roll <= 0) {
                (this->*episode)();
                return;
            }
        }
    }

    // --- Episodes.

    void Scatter() {
        for (int32_t n = Uniform(1, 8); n > 0 && MayDrop(); --n) {
            Drop(Uniform(0, kRight), Uniform(0, kBottom));
            Steps(Uniform(0, 3));
        }
    }

    // A coordinate on the screen's edge, a little inside it, or anywhere.
    int32_t EdgeCoordinate(int32_t last) {
        switch (Uniform(1, 4)) {
            case 1:
                return 0;
            case 2:
                return last;
            case 3:
                return OneIn(2) ? Uniform(0, kHalfBox) : last - Uniform(0, kHalfBox);
            default:
                return Uniform(0, last);
        }
    }

    void DropOnEdges() {
        for (int32_t n = Uniform(1, 6); n > 0 && MayDrop(); --n) {
            int32_t x = EdgeCoordinate(kRight);
            int32_t y = EdgeCoordinate(kBottom);
            // At least one coordinate on the edge itself.
            if (x != 0 && x != kRight && y != 0 && y != kBottom) {
                if (OneIn(2)) {
                    x = OneIn(2) ? 0 : kRight;
                } else {
                    y = OneIn(2) ? 0 : kBottom;
                }
            }
            Drop(x, y);
            Steps(Uniform(0, 3));
        }
    }

    // Boxes on one spot: all in one pass, or one every other pass (the
    // fastest a key can be pressed and released).
    void Stack() {
        const int32_t x = OneIn(3) ? EdgeCoordinate(kRight) : Uniform(0, kRight);
        const int32_t y = OneIn(3) ? EdgeCoordinate(kBottom) : Uniform(0, kBottom);
        const int32_t gap = OneIn(2) ? 0 : 2;
        for (int32_t n = Uniform(2, 40); n > 0 && MayDrop(); --n) {
            Drop(x, y);
            Steps(gap);
        }
    }

    // Many boxes within a box's width of one spot, often all that are left.
    void Pile() {
        const int32_t x = Uniform(0, kRight);
        const int32_t y = Uniform(0, kBottom);
        const int32_t gap = OneIn(2) ? 0 : 2;
        const int32_t left = boxLimit_ - result_.counts.boxes;
        for (int32_t n = OneIn(2) ? left : Uniform(1, left); n > 0 && MayDrop(); --n) {
            Drop(std::clamp(x + Uniform(-kHalfBox, kHalfBox), 0, kRight),
                 std::clamp(y + Uniform(-kHalfBox, kHalfBox), 0, kBottom));
            Steps(gap);
        }
    }

    // A new box, and the light straight onto one of its corners, its centre
    // or a point inside it, where a fresh box still stands exactly.
    void DropUnderTheLight() {
        const int32_t x = Uniform(kHalfBox, kRight - kHalfBox);
        const int32_t y = Uniform(kHalfBox, kBottom - kHalfBox);
        Drop(x, y);
        switch (Uniform(1, 4)) {
            case 1:
            case 2:
                MoveMouse(x + (OneIn(2) ? -kHalfBox : kHalfBox),
                          y + (OneIn(2) ? -kHalfBox : kHalfBox));
                break;
            case 3:
                MoveMouse(x, y);
                break;
            default:
                MoveMouse(x + Uniform(-kHalfBox + 1, kHalfBox - 1),
                          y + Uniform(-kHalfBox + 1, kHalfBox - 1));
                break;
        }
        Steps(Uniform(2, 5));  // the light arrives after one pass
    }

    // The light onto the pixel nearest a corner or the centre of a box that
    // is there already, onto a corner of the screen, or anywhere.
    void MoveLightOntoABox() {
        const int32_t count = sim_.world.particles.Size();
        if (count == 0 || OneIn(4)) {
            OneIn(2) ? MoveMouse(OneIn(2) ? 0 : kRight, OneIn(2) ? 0 : kBottom)
                     : MoveMouse(Uniform(0, kRight), Uniform(0, kBottom));
        } else {
            const Particle& p = SomeParticle();
            const Vec2 at = OneIn(3) ? p.body->centre : p.position;
            MoveMouse(ScreenX(at.x), ScreenY(at.y));
        }
        Steps(Uniform(2, 5));
    }

    void ShortSteps() { Steps(Uniform(1, 40)); }

    // A box grabbed at a corner or its centre and dragged about: across the
    // screen in one jump, into a corner of the screen, onto another box, far
    // beyond an edge; sometimes with a paused pass or two on the way. Then it
    // is let go, flying with whatever motion it has.
    void Drag() {
        const Vec2 start = SomeBoxPoint();
        MoveMouse(ScreenX(start.x), ScreenY(start.y));
        Grab();
        for (int32_t n = Uniform(1, 6); n > 0; --n) {
            switch (Uniform(1, 5)) {
                case 1:
                    MoveMouse(OneIn(2) ? 0 : kRight, OneIn(2) ? 0 : kBottom);
                    result_.counts.cornerDrags += 1;
                    break;
                case 2: {
                    const Vec2 onto = SomeBoxPoint();
                    MoveMouse(ScreenX(onto.x), ScreenY(onto.y));
                    result_.counts.pileDrags += 1;
                    break;
                }
                case 3:
                    MoveMouse(Uniform(-2000, 2000), Uniform(-2000, 2000));  // as a script may
                    break;
                default:
                    MoveMouse(Uniform(0, kRight), Uniform(0, kBottom));
                    break;
            }
            OneIn(4) ? IdlePasses(Uniform(1, 3)) : Steps(Uniform(1, 30));
        }
        Release();
        Steps(Uniform(0, 20));
    }

    void IdleSteps() { IdlePasses(Uniform(1, 10)); }

    // Lights dropped at the mouse or anywhere (a ninth is refused, as a script's
    // is), the last one taken away, soft shadows switched, the mouse's light
    // grown or shrunk; passes between.
    void PlayWithLights() {
        for (int32_t n = Uniform(1, 4); n > 0; --n) {
            ScriptCommand command;
            switch (Uniform(1, 5)) {
                case 1:
                case 2:
                    command.kind = CommandKind::Light;
                    command.x = OneIn(2) ? sim_.mouseX : Uniform(-50, kRight + 50);
                    command.y = OneIn(2) ? sim_.mouseY : Uniform(-50, kBottom + 50);
                    result_.counts.lightsDropped += Run(command);
                    break;
                case 3: {
                    const int32_t before = DroppedLightCount(sim_.lighting);
                    command.kind = CommandKind::Unlight;
                    Run(command);
                    result_.counts.lightsRemoved += before - DroppedLightCount(sim_.lighting);
                    break;
                }
                case 4:
                    command.kind = CommandKind::Soft;
                    command.on = !sim_.lighting.softShadows;
                    result_.counts.softSwitches += Run(command);
                    break;
                default:
                    command.kind = CommandKind::Radius;
                    command.count = Uniform(kMinLightRadius, kMaxLightRadius);
                    Run(command);
                    break;
            }
            Steps(Uniform(0, 10));
        }
    }

    // Back in time by up to 300 passes, past restarts and drags, sometimes
    // right after a box was dropped; then the run goes on from there.
    void GoBack() {
        if (OneIn(2) && MayDrop()) {
            Drop(Uniform(0, kRight), Uniform(0, kBottom));
        }
        const int64_t reachable = sim_.passes - FirstSessionPass(sim_);
        if (reachable == 0) {
            return Steps(1);
        }
        const int64_t back = Uniform(1, static_cast<int32_t>(std::min<int64_t>(reachable, 300)));
        Flush();
        ReturnSessionTo(sim_, sim_.passes - back);
        result_.counts.backs += 1;
        result_.script += "back " + std::to_string(back) + "\n";
        passesSinceDrop_ = 0;  // the world gone back to may be on the move
        heldUpright_ = false;  // and may hold another box, or none
        Check();
        Steps(Uniform(1, 20));
    }

    // Now and then the world starts again, empty, while boxes are still to come.
    void MaybeRestart() {
        if (OneIn(2)) {
            Flush();
            RestartScene(sim_.world, sim_.lighting, sim_.play, sim_.mouseX, sim_.mouseY);
            Note("reset");
            result_.counts.restarts += 1;
            result_.script += "reset\n";
        }
        Steps(Uniform(1, 10));
    }

    // The sandbox: gravity switched, every kind of shape dropped, bodies
    // pinned and unpinned, the rest rule switched; passes between.
    void Sandbox() {
        for (int32_t n = Uniform(1, 6); n > 0; --n) {
            switch (Uniform(1, 8)) {
                case 1:
                    Switch(CommandKind::Gravity, !GravityIsOn(sim_.world));
                    break;
                case 2:
                    Switch(CommandKind::Rest, sim_.world.settings.Rest == 0);
                    break;
                case 3:
                case 4: {
                    const Vec2 at = SomeBoxPoint();
                    MoveMouse(ScreenX(at.x), ScreenY(at.y));
                    Run(CommandKind::Pin);
                    break;
                }
                default:
                    if (MayDrop()) {
                        // Every shape in turn from one the seed picks, so that a few short runs
                        // meet them all.
                        DropShapeAt(
                            static_cast<Shape>((options_.seed + sandboxDrops_++) % kShapeCount),
                            Uniform(0, kRight), Uniform(0, kBottom));
                    }
                    break;
            }
            Steps(Uniform(0, 20));
        }
    }

    // A corner or the centre of a box chosen at random; the screen's centre
    // when there is none.
    Vec2 SomeBoxPoint() {
        if (sim_.world.particles.Size() == 0) {
            return {320, 240};
        }
        const Particle& p = SomeParticle();
        return OneIn(2) ? p.body->centre : p.position;
    }

    // A particle chosen at random; there must be one.
    const Particle& SomeParticle() {
        int32_t index = Uniform(0, sim_.world.particles.Size() - 1);
        auto p = sim_.world.particles.begin();
        while (index-- > 0) {
            ++p;
        }
        return *p;
    }

    static int32_t ScreenX(double x) { return std::clamp(RoundToInt32(x), 0, kRight); }
    static int32_t ScreenY(double y) { return std::clamp(RoundToInt32(y), 0, kBottom); }

    // Long enough for the walls to be checked.
    void QuietSteps() { Steps(options_.quietPasses + Uniform(0, 60)); }

    // --- Actions, each written to the script.

    void Drop(int32_t x, int32_t y) {
        Flush();
        StressCounts& c = result_.counts;
        const bool onEdgeX = x == 0 || x == kRight;
        const bool onEdgeY = y == 0 || y == kBottom;
        c.cornerDrops += onEdgeX && onEdgeY;
        c.edgeDrops += onEdgeX != onEdgeY;
        c.stackedDrops += c.boxes > 0 && x == lastDropX_ && y == lastDropY_;
        lastDropX_ = x;
        lastDropY_ = y;
        DropBox(sim_.world, x, y);
        Note("box " + std::to_string(x) + " " + std::to_string(y));
        c.boxes += 1;
        c.shapes[static_cast<int32_t>(Shape::Box40)] += 1;
        passesSinceDrop_ = 0;
        result_.script += "box " + std::to_string(x) + " " + std::to_string(y) + "\n";
    }

    void DropShapeAt(Shape shape, int32_t x, int32_t y) {
        ScriptCommand command = Command(CommandKind::Shape);
        command.shape = shape;
        command.x = x;
        command.y = y;
        Run(command);
        result_.counts.boxes += 1;
        result_.counts.shapes[static_cast<int32_t>(shape)] += 1;
        passesSinceDrop_ = 0;
    }

    void Switch(CommandKind kind, bool on) {
        ScriptCommand command = Command(kind);
        command.on = on;
        Run(command);
        result_.counts.gravitySwitches += kind == CommandKind::Gravity;
        gravityHasPressed_ = gravityHasPressed_ || GravityIsOn(sim_.world);
        passesSinceDrop_ = 0;  // everything wakes and may move again
    }

    static ScriptCommand Command(CommandKind kind) {
        ScriptCommand command;
        command.kind = kind;
        return command;
    }

    // A command run as tumble-sim runs it, and written as a recording writes
    // it; false, leaving the script without it, when the session refuses it
    // (a ninth light), as a script's line would be.
    bool Run(const ScriptCommand& command) {
        std::string error;
        if (!CommandAllowed(sim_, command, error)) {
            return false;
        }
        Flush();
        std::ostringstream out;
        RunCommand(sim_, command, SessionOutput{out, nullptr}, error);
        result_.script += FormatScriptLine(command) + "\n";
        if (command.kind == CommandKind::Pin) {
            result_.counts.pinChanges += 1;
            passesSinceDrop_ = 0;  // an unpinned body may fall
        }
        return true;
    }
    void Run(CommandKind kind) { Run(Command(kind)); }

    void MoveMouse(int32_t x, int32_t y) {
        Flush();
        sim_.mouseX = x;
        sim_.mouseY = y;
        Note("mouse " + std::to_string(x) + " " + std::to_string(y));
        result_.script += "mouse " + std::to_string(x) + " " + std::to_string(y) + "\n";
    }

    void Grab() {
        Flush();
        result_.counts.grabs += GrabAt(sim_.world, sim_.mouseX, sim_.mouseY);
        Note("grab");
        heldUpright_ = IsGrabbing(sim_.world) &&
                       OutlineArea(*sim_.world.grab.particle->body) > 800 &&
                       !DroppedOnAnother(*sim_.world.grab.particle->body);
        result_.script += "grab\n";
    }

    void Release() {
        Flush();
        ReleaseGrab(sim_.world);
        Note("release");
        result_.script += "release\n";
        passesSinceDrop_ = 0;  // a box let go is on the move, as a new one is
    }

    void Steps(int64_t n) {
        for (; n > 0 && result_.passed && result_.passes < options_.passes; --n) {
            Pass(false);
        }
    }

    void IdlePasses(int64_t n) {
        for (; n > 0 && result_.passed && result_.passes < options_.passes; --n) {
            Pass(true);
        }
    }

    // The session's history learns of what the run did to the world itself.
    void Note(const std::string& line) {
        ScriptCommand command;
        std::string error;
        ParseScriptLine(line, command, error);
        NoteSessionInput(sim_, command);
    }

    // Consecutive passes of one kind go into the script as one step or idle line.
    void Flush() {
        if (unwrittenPasses_ > 0) {
            result_.script +=
                (unwrittenIdle_ ? "idle " : "step ") + std::to_string(unwrittenPasses_) + "\n";
            unwrittenPasses_ = 0;
        }
    }

    void Pass(bool idle) {
        if (unwrittenIdle_ != idle) {
            Flush();
            unwrittenIdle_ = idle;
        }
        const Light* light = sim_.lighting.lights.Current();
        const Vec2 shadowLight = light != nullptr ? Vec2{light->x, light->y} : Vec2{NAN, NAN};
        const PassControls controls = ScriptPassControls(sim_, idle);
        PrepareSessionPass(sim_);
        UpdateWorld(sim_.world, sim_.lighting, sim_.mouseX, sim_.mouseY, controls);
        CountLightPlacement(shadowLight);
        sim_.passes += 1;
        RecordSessionPass(sim_, controls);
        result_.passes += 1;
        unwrittenPasses_ += 1;
        // A paused pass brings nothing closer to rest, and a held box is not at rest.
        passesSinceDrop_ = IsGrabbing(sim_.world) ? 0 : passesSinceDrop_ + (idle ? 0 : 1);
        Check();
    }

    void Check() {
        std::vector<std::string> problems;
        CheckPass(sim_.world, sim_.lighting, problems);
        CheckHeldBox(problems);
        const double excursion = WallExcursion(sim_.world);
        result_.worstExcursion = std::max(result_.worstExcursion, excursion);
        if (passesSinceDrop_ >= options_.quietPasses) {
            CheckWalls(excursion, problems);
        }
        result_.counts.missingQuads += MissingShadowQuads(sim_.world, sim_.lighting);
        if (!problems.empty()) {
            result_.passed = false;
            for (const std::string& problem : problems) {
                result_.problems.push_back("pass " + std::to_string(result_.passes) + ": " +
                                           problem);
            }
        }
    }

    // Whether another box's centre lies within half a box of this one's: boxes
    // dropped onto each other fly apart hard enough to crush or turn over any
    // of them, held or not.
    bool DroppedOnAnother(const Body& body) const {
        for (const Body& other : sim_.world.bodies) {
            if (&other != &body && other.particleCount > 0 &&
                std::abs(other.centre.x - body.centre.x) < kHalfBox &&
                std::abs(other.centre.y - body.centre.y) < kHalfBox) {
                return true;
            }
        }
        return false;
    }

    // The box on the mouse keeps its shape, however it is dragged: a box that
    // was upright and clear of a fresh stack when grabbed is never turned
    // inside out while it is held.
    void CheckHeldBox(std::vector<std::string>& problems) {
        if (!IsGrabbing(sim_.world) || !heldUpright_) {
            return;
        }
        const Body& held = *sim_.world.grab.particle->body;
        const double area = OutlineArea(held);
        result_.counts.smallestHeldArea = std::min(result_.counts.smallestHeldArea, area);
        if (!(area > 0)) {
            problems.push_back("the held box " + std::to_string(held.id) + " has the area " +
                               std::to_string(area) + " : turned inside out");
        }
    }

    void CheckWalls(double excursion, std::vector<std::string>& problems) {
        const double tolerance = options_.wallTolerance >= 0
                                     ? options_.wallTolerance
                                     : WallTolerance(sim_.world, gravityHasPressed_);
        StressResult& r = result_;
        r.counts.quietPassesChecked += 1;
        r.worstQuietExcursion = std::max(r.worstQuietExcursion, excursion);
        if (excursion * r.closestTolerance >= r.closestExcursion * tolerance) {
            r.closestExcursion = excursion;
            r.closestTolerance = tolerance;
            r.closestBoxes = r.counts.boxes;
        }
        if (!(excursion <= tolerance)) {
            problems.push_back(
                "a particle lies " + std::to_string(excursion) + " pixels outside the walls with " +
                std::to_string(result_.counts.boxes) + " boxes, " +
                std::to_string(passesSinceDrop_) + " passes after the last drop (tolerance " +
                std::to_string(tolerance) + ")");
        }
    }

    // Where the light stood, against the world its shadows were built from.
    void CountLightPlacement(const Vec2& light) {
        const double lx = light.x;
        const double ly = light.y;
        bool corner = false;
        bool centre = false;
        bool inside = false;
        for (const Body& b : sim_.world.bodies) {
            if (b.particleCount < 2) {
                continue;
            }
            for (int32_t i = 1; i <= b.particleCount; ++i) {
                corner = corner || (BodyParticle(b, i)->position.x == lx &&
                                    BodyParticle(b, i)->position.y == ly);
            }
            centre = centre || (b.centre.x == lx && b.centre.y == ly);
            inside = inside || (b.boundsMin.x < lx && lx < b.boundsMax.x && b.boundsMin.y < ly &&
                                ly < b.boundsMax.y);
        }
        StressCounts& c = result_.counts;
        c.lightOnCorner += corner;
        c.lightOnCentre += centre;
        c.lightInsideBox += inside;
    }

    const StressOptions options_;
    std::mt19937 random_;
    Session sim_;
    StressResult result_;
    int32_t boxLimit_ = 0;
    int64_t unwrittenPasses_ = 0;
    bool unwrittenIdle_ = false;
    bool heldUpright_ = false;  // the held box was upright when grabbed
    int64_t passesSinceDrop_ = 0;
    bool gravityHasPressed_ = false;  // gravity was on at some time in the run
    int32_t lastDropX_ = 0;
    int32_t lastDropY_ = 0;
    int32_t sandboxDrops_ = 0;  // shapes dropped by the sandbox episodes
};

}  // namespace

StressResult RunStress(const StressOptions& options) {
    StressRun run(options);
    return run.Run();
}

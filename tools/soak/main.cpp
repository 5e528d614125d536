// tumble-soak: the crowd scene stepped for a long time, with the checks of
// the stress tester after every pass and the resident memory watched: once
// the first second is over it must stay flat.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "dynamics/gravity.h"
#include "session/session.h"
#include "session/update_world.h"
#include "tools/sim/crowd.h"
#include "tools/stress/checks.h"

namespace {

constexpr const char* kUsage =
    "usage: tumble-soak [--boxes N] [--passes N] [--seed S] [--growth KIB] [--tolerance PIXELS]\n"
    "Drops the crowd of N boxes (default 200, seed 1) and runs N passes (default\n"
    "100000), checking the world after every pass. Fails when the resident memory\n"
    "grows by more than KIB kibibytes (default 1024) after the first second, or\n"
    "when a particle lies further outside the walls than the stress tester allows\n"
    "(or than --tolerance pixels) once 100 passes have run.\n";

constexpr int64_t kQuietPasses = 100;
constexpr int64_t kSampleEvery = 100;  // passes between two readings of the memory
constexpr int32_t kReportLines = 10;

struct Arguments {
    int32_t boxes = 200;
    int64_t passes = 100000;
    uint32_t seed = 1;
    int64_t growthKib = 1024;
    double tolerance = -1;  // below 0: WallTolerance
};

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

bool ParseArguments(int argc, char** argv, Arguments& args) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const std::string_view value = argv[i + 1];
        bool ok = name == "--boxes"       ? ParseNumber(value, args.boxes)
                  : name == "--passes"    ? ParseNumber(value, args.passes)
                  : name == "--seed"      ? ParseNumber(value, args.seed)
                  : name == "--growth"    ? ParseNumber(value, args.growthKib)
                  : name == "--tolerance" ? ParseNumber(value, args.tolerance)
                                          : false;
        if (!ok) {
            return false;
        }
    }
    return argc % 2 == 1;
}

// The resident set of this process, in kibibytes; -1 when it cannot be
// read. It allocates nothing: under AddressSanitizer every freed block waits
// in a quarantine of up to 256 MiB, so a reading that allocated would make
// the memory it reads grow.
int64_t ResidentKib() {
    char text[4096];
    const int fd = open("/proc/self/status", O_RDONLY);
    if (fd < 0) {
        return -1;
    }
    const ssize_t size = read(fd, text, sizeof text - 1);
    close(fd);
    if (size <= 0) {
        return -1;
    }
    text[size] = '\0';
    const char* field = std::strstr(text, "\nVmRSS:");
    if (field == nullptr) {
        return -1;
    }
    return std::strtoll(field + 7, nullptr, 10);
}

struct Sample {
    int64_t pass;
    double seconds;
    int64_t kib;
};

bool DropCrowd(Session& sim, const Arguments& args) {
    std::istringstream script(CrowdScript(args.boxes, 0, args.seed));
    std::ostringstream out;
    std::ostringstream err;
    if (RunScript(sim, script, out, err, nullptr) != 0) {
        std::fprintf(stderr, "tumble-soak: the crowd script failed: %s", err.str().c_str());
        return false;
    }
    return true;
}

// Runs the passes; false at the first pass that fails a check.
bool RunPasses(Session& sim, const Arguments& args, std::vector<Sample>& samples) {
    const auto start = std::chrono::steady_clock::now();
    // A line every tenth of the run, on a reading of the memory.
    const int64_t reportEvery =
        std::max<int64_t>(1, args.passes / kReportLines / kSampleEvery) * kSampleEvery;
    std::vector<std::string> problems;
    for (int64_t pass = 1; pass <= args.passes; ++pass) {
        UpdateWorld(sim.world, sim.lighting, sim.mouseX, sim.mouseY);
        sim.passes += 1;
        CheckPass(sim.world, sim.lighting, problems);
        const double excursion = WallExcursion(sim.world);
        const double tolerance =
            args.tolerance >= 0 ? args.tolerance : WallTolerance(sim.world, GravityIsOn(sim.world));
        if (pass >= kQuietPasses && !(excursion <= tolerance)) {
            problems.push_back("a particle lies " + std::to_string(excursion) +
                               " pixels outside the walls");
        }
        if (!problems.empty()) {
            for (const std::string& problem : problems) {
                std::printf("pass %lld: %s\n", static_cast<long long>(pass), problem.c_str());
            }
            return false;
        }
        if (pass % kSampleEvery == 0 || pass == args.passes) {
            std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            samples.push_back({pass, elapsed.count(), ResidentKib()});
        }
        if (pass % reportEvery == 0 || pass == args.passes) {
            const Sample& s = samples.back();
            std::printf("pass %8lld  %8.1f s  %8lld KiB\n", static_cast<long long>(s.pass),
                        s.seconds, static_cast<long long>(s.kib));
            std::fflush(stdout);
        }
    }
    return true;
}

// The reading at the end of the first second, and the highest one after it.
bool CheckMemory(const std::vector<Sample>& samples, const Arguments& args) {
    const Sample* baseline = nullptr;
    const Sample* highest = nullptr;
    for (const Sample& s : samples) {
        if (baseline == nullptr) {
            if (s.seconds >= 1.0) {
                baseline = &s;
                highest = &s;
            }
        } else if (s.kib > highest->kib) {
            highest = &s;
        }
    }
    if (baseline == nullptr || baseline == &samples.back()) {
        std::printf("the run was too short to watch the memory after its first second\n");
        return false;
    }
    const int64_t growth = highest->kib - baseline->kib;
    std::printf(
        "resident after the first second (pass %lld): %lld KiB; highest after it: %lld KiB "
        "(pass %lld); growth %lld KiB, allowed %lld KiB\n",
        static_cast<long long>(baseline->pass), static_cast<long long>(baseline->kib),
        static_cast<long long>(highest->kib), static_cast<long long>(highest->pass),
        static_cast<long long>(growth), static_cast<long long>(args.growthKib));
    return baseline->kib >= 0 && growth <= args.growthKib;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, args)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    Session sim;
    StartSession(sim);
    if (!DropCrowd(sim, args)) {
        return 1;
    }
    std::vector<Sample> samples;
    samples.reserve(static_cast<size_t>(args.passes / kSampleEvery + 2));
    const bool checked = RunPasses(sim, args, samples);
    const bool flat = checked && CheckMemory(samples, args);
    std::printf("crowd of %d, %lld passes: %s\n", args.boxes, static_cast<long long>(sim.passes),
                checked && flat ? "ok" : "FAILED");
    return checked && flat ? 0 : 1;
}

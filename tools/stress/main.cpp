// tumble-stress: randomised scenes against the world, one per seed, with the
// checks of checks.h after every pass. A failing seed's scene is written as a
// tumble-sim script that replays it.

#include <charconv>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "tools/stress/stress.h"

namespace {

constexpr const char* kUsage =
    "usage: tumble-stress [--seeds FIRST-LAST] [--passes N] [--max-boxes N]\n"
    "                     [--tolerance PIXELS] [--back N] [--save DIR]\n"
    "Runs one random scene per seed (default 1-8) of N passes (default 2000) with\n"
    "up to --max-boxes boxes (default 300), checking the world after every pass.\n"
    "Once no box has been dropped for 100 passes, every particle must lie within\n"
    "a tolerance of the walls: from 1 pixel for a few boxes up to 39 for 300\n"
    "(docs/RELIABILITY.md), or --tolerance pixels. The scene of a failing seed is\n"
    "written to DIR/stress-seed-S.script (default DIR: .) for tumble-sim to replay.\n"
    "With --back N, one episode in N goes back in time a few passes (back N).\n";

struct Arguments {
    uint32_t firstSeed = 1;
    uint32_t lastSeed = 8;
    StressOptions options;
    std::string saveDir = ".";
};

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseSeeds(std::string_view text, Arguments& args) {
    const size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        return ParseNumber(text, args.firstSeed) && ParseNumber(text, args.lastSeed);
    }
    return ParseNumber(text.substr(0, dash), args.firstSeed) &&
           ParseNumber(text.substr(dash + 1), args.lastSeed) && args.firstSeed <= args.lastSeed;
}

bool ParseOption(std::string_view name, std::string_view value, Arguments& args) {
    StressOptions& options = args.options;
    if (name == "--seeds") {
        return ParseSeeds(value, args);
    }
    if (name == "--passes") {
        return ParseNumber(value, options.passes) && options.passes > 0;
    }
    if (name == "--max-boxes") {
        return ParseNumber(value, options.maxBoxes) && options.maxBoxes >= 0;
    }
    if (name == "--tolerance") {
        return ParseNumber(value, options.wallTolerance) && options.wallTolerance >= 0;
    }
    if (name == "--back") {
        return ParseNumber(value, options.backEvery) && options.backEvery >= 0;
    }
    if (name == "--save") {
        args.saveDir = value;
        return true;
    }
    return false;
}

bool ParseArguments(int argc, char** argv, Arguments& args) {
    if (argc % 2 != 1) {
        return false;  // every option takes a value
    }
    for (int i = 1; i < argc; i += 2) {
        if (!ParseOption(argv[i], argv[i + 1], args)) {
            return false;
        }
    }
    return true;
}

void Report(uint32_t seed, const StressResult& r) {
    const StressCounts& c = r.counts;
    std::printf(
        "seed %u: %lld passes, %d boxes (%d on an edge, %d on a corner, %d stacked); "
        "light on a corner %lld, on a centre %lld, inside a box %lld passes; "
        "%lld shadow quads left out; %lld quiet passes, furthest outside the walls %.3f px, "
        "closest to the tolerance %.3f of %.3f px with %d boxes (at any pass %.3f px); "
        "gravity switched %d times, %d pin commands: %s\n",
        seed, static_cast<long long>(r.passes), c.boxes, c.edgeDrops, c.cornerDrops, c.stackedDrops,
        static_cast<long long>(c.lightOnCorner), static_cast<long long>(c.lightOnCentre),
        static_cast<long long>(c.lightInsideBox), static_cast<long long>(c.missingQuads),
        static_cast<long long>(c.quietPassesChecked), r.worstQuietExcursion, r.closestExcursion,
        r.closestTolerance, r.closestBoxes, r.worstExcursion, c.gravitySwitches, c.pinChanges,
        r.passed ? "ok" : "FAILED");
    if (c.backs > 0) {
        std::printf("seed %u: went back %d times\n", seed, c.backs);
    }
    for (const std::string& problem : r.problems) {
        std::printf("  %s\n", problem.c_str());
    }
    std::fflush(stdout);
}

void SaveScript(uint32_t seed, const StressResult& r, const std::string& dir) {
    const std::string path = dir + "/stress-seed-" + std::to_string(seed) + ".script";
    std::ofstream file(path);
    file << r.script;
    if (file.flush()) {
        std::printf("  the scene is in %s (tumble-sim %s replays it)\n", path.c_str(),
                    path.c_str());
    } else {
        std::printf("  cannot write %s\n", path.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, args)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    int32_t failed = 0;
    for (uint32_t seed = args.firstSeed;; ++seed) {
        args.options.seed = seed;
        StressResult result = RunStress(args.options);
        Report(seed, result);
        if (!result.passed) {
            failed += 1;
            SaveScript(seed, result, args.saveDir);
        }
        if (seed == args.lastSeed) {
            break;
        }
    }
    const uint32_t seeds = args.lastSeed - args.firstSeed + 1;
    std::printf("%u seeds: %u passed, %d failed\n", seeds, seeds - failed, failed);
    return failed == 0 ? 0 : 1;
}

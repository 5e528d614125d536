// tumble-sim [SCRIPT]: runs a script of box drops, mouse moves, steps and
// dumps against the world of tumble, without a window. The script comes from
// the file SCRIPT, or from standard input without one.

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "session/commands.h"
#include "session/session.h"

#ifdef TUMBLE_SIM_SHOT
#include "tools/sim/shot.h"
#endif

namespace {

// The usage, with every command of the script language from its table.
std::string Usage() {
    std::string usage =
        "usage: tumble-sim [--time] [--no-times] [SCRIPT]\n"
        "       tumble-sim --help | --version\n"
        "Runs SCRIPT (standard input without one), one command a line:\n";
    for (const CommandRow& row : CommandTable()) {
        std::string command = CommandUsage(row);
        command.resize(std::max<size_t>(command.size() + 1, 13), ' ');
        usage += "  " + command + row.help + "\n";
    }
    return usage +
           "Blank lines and lines starting with # are ignored. tumble --record FILE\n"
           "writes a session in the window as such a script.\n"
           "--time prints the passes run and the median and 99th-percentile time\n"
           "of one world update on standard error at the end.\n"
           "--no-times leaves the milliseconds out of the study view's pictures,\n"
           "so that they come out the same on every run.\n";
}

int Run(std::istream& script, bool timing, bool showTimes) {
    Session sim;
    StartSession(sim);
    sim.timing = timing;
#ifdef TUMBLE_SIM_SHOT
    ShotCamera camera;
    camera.showTimes = showTimes;
    ShotWriter writeShot = [&camera](const Session& s, const std::string& file,
                                     std::string& error) { return camera.Write(s, file, error); };
#else
    (void)showTimes;
    ShotWriter writeShot = nullptr;
#endif
    int status = RunScript(sim, script, std::cout, std::cerr, writeShot);
    std::cout.flush();
    if (timing) {
        std::cerr << "tumble-sim: " << TimingSummary(sim) << '\n';
    }
    if (status == 0 && sim.figures && !sim.figures->flush()) {
        std::cerr << "tumble-sim: cannot write the figures: " << std::strerror(errno) << '\n';
        return 1;
    }
    if (status == 0 && !std::cout) {
        std::cerr << "tumble-sim: cannot write the output: " << std::strerror(errno) << '\n';
        return 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    bool timing = false;
    bool showTimes = true;
    std::string path = "-";
    int paths = 0;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << Usage();
            return 0;
        }
        if (arg == "--version") {
            std::cout << "tumble-sim " TUMBLE_VERSION "\n" << std::flush;
            if (!std::cout) {
                std::cerr << "tumble-sim: cannot write the version\n";
                return 1;
            }
            return 0;
        }
        if (arg == "--time") {
            timing = true;
        } else if (arg == "--no-times") {
            showTimes = false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "tumble-sim: unknown option '" << arg << "'\n" << Usage();
            return 2;
        } else {
            path = arg;
            ++paths;
        }
    }
    if (paths > 1) {
        std::cerr << Usage();
        return 2;
    }
    if (path == "-") {
        return Run(std::cin, timing, showTimes);
    }
    std::ifstream file;
    std::string reason;
    if (!OpenScriptFile(file, path, reason)) {
        std::cerr << "tumble-sim: cannot read the script '" << path << "': " << reason << '\n';
        return 2;
    }
    return Run(file, timing, showTimes);
}

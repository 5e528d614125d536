// tumble-sim [SCRIPT]: runs a script of box drops, mouse moves, steps and
// dumps against the world of tumble, without a window. The script comes from
// the file SCRIPT, or from standard input without one.

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "session/sim.h"

#ifdef TUMBLE_SIM_SHOT
#include "tools/sim/shot.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: tumble-sim [--time] [SCRIPT]\n"
    "       tumble-sim --help | --version\n"
    "Runs SCRIPT (standard input without one), one command a line:\n"
    "  box X Y      drop a 40 x 40 box centred on (X, Y), as Space does\n"
    "  mouse X Y    move the mouse; the light follows after each pass\n"
    "  step N       run N passes of the world\n"
    "  idle N       run N passes as a paused window does: no step\n"
    "  reset        the world as at start-up, the light at the mouse\n"
    "  grab         press the left button at the mouse: grab the box there\n"
    "  release      release the left button\n"
    "  freeze       the light stays where it is\n"
    "  follow       the light follows the mouse again\n"
    "  view V       the view shot draws: outlines, roles or study\n"
    "  light X Y    drop a fixed light at (X, Y), as L does (up to 8)\n"
    "  unlight      remove the last light dropped, as Backspace does\n"
    "  colour       the mouse's light takes the next colour, as C does\n"
    "  radius R     the mouse's light's radius becomes R (100 to 1000)\n"
    "  soft on|off  soft or hard shadows, as S switches them\n"
    "  dump         print the state of the world as one line of JSON\n"
    "  hash         print a 64-bit hash of the state of the world\n"
    "  shot FILE    write the frame the window would show as a PNG\n"
    "Blank lines and lines starting with # are ignored. tumble --record FILE\n"
    "writes a session in the window as such a script.\n"
    "--time prints the passes run and the median and 99th-percentile time\n"
    "of one world update on standard error at the end.\n";

int Run(std::istream& script, bool timing) {
    Sim sim;
    StartSim(sim);
    sim.timing = timing;
#ifdef TUMBLE_SIM_SHOT
    ShotCamera camera;
    ShotWriter writeShot = [&camera](const Sim& s, const std::string& file, std::string& error) {
        return camera.Write(s, file, error);
    };
#else
    ShotWriter writeShot = nullptr;
#endif
    int status = RunScript(sim, script, std::cout, std::cerr, writeShot);
    std::cout.flush();
    if (timing) {
        std::cerr << "tumble-sim: " << TimingSummary(sim) << '\n';
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
    std::string path = "-";
    int paths = 0;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
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
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "tumble-sim: unknown option '" << arg << "'\n" << kUsage;
            return 2;
        } else {
            path = arg;
            ++paths;
        }
    }
    if (paths > 1) {
        std::cerr << kUsage;
        return 2;
    }
    if (path == "-") {
        return Run(std::cin, timing);
    }
    std::ifstream file(path);
    if (!file) {
        std::cerr << "tumble-sim: cannot read the script '" << path << "': " << std::strerror(errno)
                  << '\n';
        return 2;
    }
    return Run(file, timing);
}

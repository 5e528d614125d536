// docs/TOUR.md cannot drift from the code: every tour script is run again as
// tools/tour.sh runs it (tumble-sim --no-times), its pictures must match the
// kept ones pixel for pixel, its output must match the block the tour shows
// after `<!-- output NN -->`, and every number the step's text quotes in
// backticks must be one the script printed. A failure names the step.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "session/session.h"
#include "tests/tools/read_png.h"
#include "tools/sim/shot.h"

namespace {

namespace fs = std::filesystem;

const fs::path kRoot = TUMBLE_SOURCE_DIR;

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Step {
    std::string number;  // "03"
    fs::path script;
};

std::vector<Step> TourSteps() {
    std::vector<Step> steps;
    for (const auto& entry : fs::directory_iterator(kRoot / "docs/tour")) {
        if (entry.path().extension() == ".script") {
            steps.push_back({entry.path().stem().string(), entry.path()});
        }
    }
    std::sort(steps.begin(), steps.end(),
              [](const Step& a, const Step& b) { return a.number < b.number; });
    return steps;
}

// The script's text with every `shot docs/tour/X.png` sent to `folder/X.png`
// instead; the kept pictures it names are returned in `kept`.
std::string RedirectShots(const std::string& script, const fs::path& folder,
                          std::vector<std::pair<fs::path, fs::path>>& shots) {
    std::istringstream lines(script);
    std::string out, line;
    while (std::getline(lines, line)) {
        if (line.rfind("shot ", 0) == 0) {
            const fs::path kept = line.substr(5);
            const fs::path fresh = folder / kept.filename();
            shots.push_back({kRoot / kept, fresh});
            line = "shot " + fresh.string();
        }
        out += line + "\n";
    }
    return out;
}

// The lines after `<!-- output NN -->` inside the fenced block that follows it.
std::string QuotedOutput(const std::string& tour, const std::string& number) {
    const std::string marker = "<!-- output " + number + " -->";
    size_t at = tour.find(marker);
    if (at == std::string::npos) {
        return "(no " + marker + " in docs/TOUR.md)";
    }
    size_t open = tour.find("```", at);
    size_t begin = tour.find('\n', open) + 1;
    size_t close = tour.find("```", begin);
    return tour.substr(begin, close - begin);
}

// The text of step NN: from `<!-- step NN -->` to the next step's marker.
std::string StepText(const std::string& tour, const std::string& number) {
    size_t at = tour.find("<!-- step " + number + " -->");
    if (at == std::string::npos) {
        return "";
    }
    size_t end = tour.find("<!-- step ", at + 1);
    return tour.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// Every number the output holds, as it is written.
std::set<std::string> NumbersIn(const std::string& text) {
    static const std::regex number(R"(-?[0-9]+(\.[0-9]+)?(e-?[0-9]+)?)");
    std::set<std::string> numbers;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
         it != std::sregex_iterator(); ++it) {
        numbers.insert(it->str());
    }
    return numbers;
}

TEST(Tour, EveryStepStillShowsWhatTheProgramDoes) {
    const std::string tour = ReadText(kRoot / "docs/TOUR.md");
    const std::vector<Step> steps = TourSteps();
    ASSERT_FALSE(steps.empty());
    const fs::path folder = fs::temp_directory_path() / ("tumble-tour-" + std::to_string(getpid()));
    fs::create_directories(folder);
    for (const Step& step : steps) {
        SCOPED_TRACE("tour step " + step.number + " (docs/tour/" + step.number + ".script)");
        std::vector<std::pair<fs::path, fs::path>> shots;
        std::istringstream script(RedirectShots(ReadText(step.script), folder, shots));
        Session session;
        StartSession(session);
        ShotCamera camera;
        camera.showTimes = false;
        std::ostringstream out, err;
        const ShotWriter write = [&camera](const Session& s, const std::string& file,
                                           std::string& error) {
            return camera.Write(s, file, error);
        };
        ASSERT_EQ(RunScript(session, script, out, err, write), 0) << err.str();

        EXPECT_EQ(out.str(), QuotedOutput(tour, step.number))
            << "step " << step.number << ": its output moved; run tools/tour.sh";
        const std::set<std::string> printed = NumbersIn(out.str());
        static const std::regex quoted("`(-?[0-9]+(\\.[0-9]+)?(e-?[0-9]+)?)`");
        const std::string text = StepText(tour, step.number);
        EXPECT_FALSE(text.empty()) << "no <!-- step " << step.number << " --> in docs/TOUR.md";
        for (auto it = std::sregex_iterator(text.begin(), text.end(), quoted);
             it != std::sregex_iterator(); ++it) {
            EXPECT_TRUE(printed.count((*it)[1].str()))
                << "step " << step.number << " quotes " << (*it)[0] << ", which its script no "
                << "longer prints";
        }
        for (const auto& [kept, fresh] : shots) {
            const Picture want = ReadPng(kept.string());
            const Picture got = ReadPng(fresh.string());
            ASSERT_FALSE(got.pixels.empty()) << fresh;
            EXPECT_TRUE(want.width == got.width && want.height == got.height &&
                        want.pixels == got.pixels)
                << "step " << step.number << ": " << kept.filename().string()
                << " differs from a fresh rendering; run tools/tour.sh";
        }
    }
    fs::remove_all(folder);
}

}  // namespace

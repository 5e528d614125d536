// The real programs as processes: stopped by SIGINT or SIGTERM. tumble runs
// on SDL's dummy video driver, asked for with SDL_VIDEODRIVER, so that it
// needs no display; under the sanitize preset LeakSanitizer checks its exit.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

struct Child {
    pid_t pid = -1;
    std::string errPath;
};

// Starts `program` with one argument (or none), standard error into a file.
Child Start(const char* program, const std::string& argument, const char* videoDriver) {
    static int runs = 0;
    Child child;
    child.errPath = ::testing::TempDir() + "tumble_process_" + std::to_string(getpid()) + "_" +
                    std::to_string(++runs) + ".err";
    child.pid = fork();
    if (child.pid == 0) {
        if (videoDriver != nullptr) {
            setenv("SDL_VIDEODRIVER", videoDriver, 1);
        }
        std::freopen("/dev/null", "r", stdin);
        std::freopen("/dev/null", "w", stdout);
        std::freopen(child.errPath.c_str(), "w", stderr);
        if (argument.empty()) {
            execl(program, program, static_cast<char*>(nullptr));
        } else {
            execl(program, program, argument.c_str(), static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    return child;
}

// The wait status once the child has ended, or -1 when it has not ended
// within the time (it is killed then).
int WaitFor(const Child& child, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(child.pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child.pid, SIGKILL);
            waitpid(child.pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(20ms);
    }
    return status;
}

std::string ReadAll(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    std::remove(path.c_str());
    return text.str();
}

class StopSignal : public ::testing::TestWithParam<int> {};

TEST_P(StopSignal, EndsTheRunningProgramCleanlyWithStatus0) {
    Child tumble = Start(TUMBLE_BINARY, "", "dummy");
    ASSERT_GT(tumble.pid, 0);
    std::this_thread::sleep_for(1500ms);  // well into the main loop
    ASSERT_EQ(waitpid(tumble.pid, nullptr, WNOHANG), 0)
        << "tumble ended by itself: " << ReadAll(tumble.errPath);
    kill(tumble.pid, GetParam());
    int status = WaitFor(tumble, 20s);
    std::string err = ReadAll(tumble.errPath);
    ASSERT_NE(status, -1) << "tumble did not end after the signal";
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << err;
    EXPECT_EQ(WEXITSTATUS(status), 0) << err;
    EXPECT_EQ(err, "");  // nothing to say, and no leak report
}

TEST_P(StopSignal, EndsTumbleSimEvenAfterItHasTakenAPicture) {
    // Named by the signal: the two cases may run side by side.
    const std::string name =
        ::testing::TempDir() + "tumble_process_long" + std::to_string(GetParam());
    const std::string script = name + ".script";
    const std::string picture = name + ".png";
    std::ofstream(script) << "box 100 100\nshot " << picture << "\nstep 2000000000\n";
    Child sim = Start(TUMBLE_SIM_BINARY, script, nullptr);
    ASSERT_GT(sim.pid, 0);
    // The picture is written once the offscreen renderer is up; then the steps run.
    for (int i = 0; i < 500 && !std::ifstream(picture); ++i) {
        std::this_thread::sleep_for(20ms);
    }
    std::this_thread::sleep_for(200ms);
    kill(sim.pid, GetParam());
    int status = WaitFor(sim, 10s);
    std::string err = ReadAll(sim.errPath);
    std::remove(script.c_str());
    std::remove(picture.c_str());
    ASSERT_NE(status, -1) << "tumble-sim went on after the signal";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam()) << err;
}

INSTANTIATE_TEST_SUITE_P(IntAndTerm, StopSignal, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& info) { return info.param == SIGINT ? "Int" : "Term"; });

}  // namespace

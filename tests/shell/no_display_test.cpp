// The real program, started where there is no display at all.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

TEST(NoDisplay, TumbleSaysItCannotOpenAWindowAndExitsWithStatus1) {
    const char* command =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 60 '" TUMBLE_BINARY
        "' 2>&1 >/dev/null </dev/null";
    FILE* pipe = popen(command, "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, n);
    }
    int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;
    EXPECT_NE(output.find("tumble: cannot open a window: no display found"), std::string::npos)
        << output;
    EXPECT_NE(output.find("xvfb-run"), std::string::npos);
}

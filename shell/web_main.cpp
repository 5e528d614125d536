// tumble in a web page: the same program on the same services (SDL2 built
// for the browser), its passes run one per animation frame by the browser
// instead of by a loop of its own. The page (shell/web/index.html) passes
// the command line, puts a replay's script into the in-memory file system
// first, and offers the files the program writes as downloads.

#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <string>

#include "session/session.h"
#include "shell/command_line.h"
#include "shell/main_loop.h"
#include "shell/program.h"

namespace {

// Everything the page's program keeps between animation frames.
struct WebProgram {
    DesktopInput input;
    Services services;
    std::unique_ptr<App> app = std::make_unique<App>();
    bool replayed = false;  // a replay was given and has not yet been reported finished
};

WebProgram* thePage = nullptr;

}  // namespace

// The page shows the hash where the replay ended (shell/web/index.html).
EM_JS(void, ShowReplayHash, (const char* hash), {
    if (Module.onReplayEnd)
        Module.onReplayEnd(UTF8ToString(hash));
});

namespace {

// The hash of the world where the replay ends, taken in the pass it ends in,
// before the pointer takes the mouse back: the hash tumble-sim prints for
// the same script. On standard output (the console) and to the page.
void ReportReplayEnd(WebProgram& page) {
    if (!page.replayed || IsReplaying(page.app->replay)) {
        return;
    }
    page.replayed = false;
    const std::string hash = HashSession(page.app->session);
    std::printf("replay ended: hash %s\n", hash.c_str());
    std::fflush(stdout);
    ShowReplayHash(hash.c_str());
}

// One pass per frame. The page has no end of its own: Escape, which frees
// the mouse in a browser, leaves the program running, and the page closing
// ends it with the page.
void RunFrame(void* argument) {
    WebProgram& page = *static_cast<WebProgram*>(argument);
    RunLoopPass(*page.app, page.services);
    ReportReplayEnd(page);
}

}  // namespace

// Writes everything recorded so far to the recording's file and names it,
// for the page to offer as a download; empty when nothing is recorded.
extern "C" EMSCRIPTEN_KEEPALIVE const char* tumble_flush_session() {
    static std::string path;
    path.clear();
    if (thePage == nullptr || !IsRecording(thePage->app->recording)) {
        return path.c_str();
    }
    std::string error;
    if (FlushRecording(thePage->app->recording, error)) {
        path = thePage->app->recording.path;
    } else {
        std::fprintf(stderr, "tumble: cannot write the recording: %s\n", error.c_str());
    }
    return path.c_str();
}

// The hash of the world as it stands, as the script command `hash` prints it.
extern "C" EMSCRIPTEN_KEEPALIVE const char* tumble_hash() {
    static std::string hash;
    hash = thePage != nullptr ? HashSession(thePage->app->session) : std::string();
    return hash.c_str();
}

int main(int argc, char** argv) {
    const CommandLine line = ParseCommandLine(argc, argv);
    if (line.action != CommandLine::Action::Run) {
        return AnswerCommandLine(line, stdout, stderr);
    }
    static WebProgram page;
    const int opened = OpenProgram(*page.app, page.services, ScreenKind::Desktop, page.input,
                                   stderr, SessionFiles{line.replay, line.record});
    if (opened != kProgramOpen) {
        return opened;
    }
    // The browser calls each frame at the display's refresh: no pacing of
    // our own, whose wait would stop the page.
    page.services.paceFrames = false;
    page.replayed = !line.replay.empty();
    thePage = &page;
    ReportReplayEnd(page);  // a script without passes has ended already
    emscripten_set_main_loop_arg(RunFrame, &page, 0, false);
    return 0;
}

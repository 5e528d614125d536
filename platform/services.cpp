#include "platform/services.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/embedded_font.h"
#include "platform/services_internal.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFontPoints = 12;  // DejaVu Sans Mono 12: 14 pixels from line to line
constexpr int kUnknownRefreshRate = 60;
const char* const kDisplayHint = "run it on a desktop, or under xvfb-run";

// SDL falls back to these without a word when it finds no display.
bool IsHeadlessDriver(const char* name) {
    return name != nullptr &&
           (std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0);
}

bool VideoDriverRequested() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return driver != nullptr && *driver != '\0';
}

// Without a font the program runs on and leaves its text out.
void LoadFont(Services& services) {
    if (TTF_Init() != 0) {
        return;
    }
    services.ttfStarted = true;
    if (services.refuse.font) {
        return;
    }
    SDL_RWops* data = SDL_RWFromConstMem(kEmbeddedFont, static_cast<int>(kEmbeddedFontSize));
    services.sdl->font = TTF_OpenFontRW(data, 1, kFontPoints);
}

int RefreshRate(SDL_Window* window) {
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(window);
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0 || mode.refresh_rate <= 0) {
        return kUnknownRefreshRate;
    }
    return mode.refresh_rate;
}

void SetUpPacing(Services& services) {
    services.paceFrames = services.kind == ScreenKind::Desktop;
    std::chrono::duration<double> period(1.0 / RefreshRate(services.sdl->window));
    services.framePeriod = std::chrono::duration_cast<Clock::duration>(period);
    services.nextFrame = Clock::time_point{};
}

// A present that took a good part of a frame waited for the display, which
// paces the loop by itself. One that returned at once (offscreen, dummy and
// some software drivers) leaves it to a deadline one refresh after the last,
// so the loop never spins.
void PaceFrame(Services& services, Clock::time_point presentStart) {
    Clock::time_point now = Clock::now();
    if (now - presentStart >= services.framePeriod / 4) {
        services.nextFrame = now + services.framePeriod;
        return;
    }
    if (now - services.nextFrame > services.framePeriod) {
        services.nextFrame = now;  // far behind: start the schedule again from now
    }
    std::this_thread::sleep_until(services.nextFrame);
    services.nextFrame += services.framePeriod;
}

}  // namespace

Services::Services() : sdl(std::make_unique<SdlObjects>()) {}
Services::~Services() = default;
Services::Services(Services&&) noexcept = default;
Services& Services::operator=(Services&&) noexcept = default;

bool StartServices(Services& services, ScreenKind kind, InputSource& input, std::string& error) {
    services.kind = kind;
    services.input = &input;
    if (kind == ScreenKind::Offscreen) {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
    }
    // SDL would turn SIGINT and SIGTERM into a quit event, which a program
    // that reads no events (tumble-sim taking pictures) never sees: the
    // signals keep their own handling (shell/stop_request.h for tumble).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        error = std::string(SDL_GetError()) + " (" + kDisplayHint + ")";
        return false;
    }
    services.sdlStarted = true;
    if (kind == ScreenKind::Desktop && !VideoDriverRequested() &&
        IsHeadlessDriver(SDL_GetCurrentVideoDriver())) {
        error = std::string("no display found (") + kDisplayHint + ")";
        return false;
    }
    LoadFont(services);
    return true;
}

bool StartOffscreenServices(Services& services, InputSource& input, int32_t width,
                            int32_t height, std::string& error) {
    return StartServices(services, ScreenKind::Offscreen, input, error) &&
           OpenMainWindow(services, "tumble", width, height, error) &&
           OpenScreenInWindow(services, width, height, error);
}

bool OpenMainWindow(Services& services, const char* title, int32_t width, int32_t height,
                    std::string& error) {
    if (!services.sdlStarted) {
        error = "the services have not started";
        return false;
    }
    Uint32 flags = services.kind == ScreenKind::Desktop ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_HIDDEN;
    if (services.refuse.window) {
        SDL_SetError("the display refused the window");
    } else {
        services.sdl->window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED,
                                                SDL_WINDOWPOS_CENTERED, width, height, flags);
    }
    if (services.sdl->window == nullptr) {
        error = SDL_GetError();
        return false;
    }
    return true;
}

bool OpenScreenInWindow(Services& services, int32_t width, int32_t height, std::string& error) {
    if (services.sdl->window == nullptr) {
        error = "there is no window";
        return false;
    }
    bool desktop = services.kind == ScreenKind::Desktop;
    Uint32 flags = desktop ? SDL_RENDERER_PRESENTVSYNC : SDL_RENDERER_SOFTWARE;
    if (services.refuse.screen) {
        SDL_SetError("the display refused a renderer");
    } else {
        services.sdl->renderer = SDL_CreateRenderer(services.sdl->window, -1, flags);
        if (services.sdl->renderer == nullptr && desktop) {
            services.sdl->renderer = SDL_CreateRenderer(services.sdl->window, -1, 0);
        }
    }
    if (services.sdl->renderer == nullptr) {
        error = std::string("no renderer for the window: ") + SDL_GetError();
        return false;
    }
    SDL_RendererInfo info;
    services.softwareRenderer = SDL_GetRendererInfo(services.sdl->renderer, &info) == 0 &&
                                (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    // A resized window shows the same screen, scaled with its aspect kept.
    SDL_RenderSetLogicalSize(services.sdl->renderer, width, height);
    services.screenWidth = width;
    services.screenHeight = height;
    SetUpPacing(services);
    return true;
}

void StartDevices(Services& services) {
    services.keys = {};
    services.releaseFlags = {};
    services.mouseX = 0;
    services.mouseY = 0;
    if (services.kind != ScreenKind::Desktop) {
        return;
    }
    // Relative mode hides the pointer and keeps it in the window. Where it is
    // refused, grab and hide it as far as that goes, and go on.
    if (SDL_SetRelativeMouseMode(SDL_TRUE) != 0) {
        SDL_SetWindowGrab(services.sdl->window, SDL_TRUE);
        SDL_ShowCursor(SDL_DISABLE);
    }
    int dx = 0;
    int dy = 0;
    SDL_GetRelativeMouseState(&dx, &dy);  // motion from before start-up does not count
}

void StopServices(Services& services) {
    ForgetTextures(services);
    if (services.sdl->font != nullptr) {
        TTF_CloseFont(services.sdl->font);
    }
    if (services.ttfStarted) {
        TTF_Quit();
    }
    if (services.sdl->renderer != nullptr) {
        SDL_DestroyRenderer(services.sdl->renderer);
    }
    if (services.sdl->window != nullptr) {
        SDL_DestroyWindow(services.sdl->window);
    }
    if (services.sdlStarted) {
        SDL_Quit();
    }
    services = Services{};
}

bool FontLoaded(const Services& services) {
    return services.sdl->font != nullptr;
}

int32_t CachedTextLineCount(const Services& services) {
    int32_t count = 0;
    for (const TextLine& line : services.sdl->textLines) {
        count += line.texture != nullptr;
    }
    return count;
}

int32_t PollWindowEvent(Services& services) {
    if (services.input == nullptr) {
        return kNoEvent;
    }
    int32_t event = services.input->NextWindowEvent();
    if (event == kDisplayReset) {
        ForgetTextures(services);
        return kOtherEvent;
    }
    return event;
}

void ClearBackBuffer(Services& services, uint32_t colour) {
    if (services.sdl->renderer == nullptr) {
        return;
    }
    SetRenderColour(services.sdl->renderer, colour);
    SDL_RenderClear(services.sdl->renderer);
}

void PresentFrame(Services& services) {
    if (services.sdl->renderer == nullptr) {
        return;
    }
    Clock::time_point start = Clock::now();
    SDL_RenderPresent(services.sdl->renderer);
    services.framesPresented = services.framesPresented + 1;
    if (services.paceFrames) {
        PaceFrame(services, start);
    }
}

DrawingTarget BackBufferTarget() {
    return {kBackBuffer};
}

std::vector<uint32_t> ReadBackBuffer(Services& services) {
    const int32_t w = services.screenWidth;
    const int32_t h = services.screenHeight;
    int outputW = 0;
    int outputH = 0;
    // A scaled window holds more or fewer pixels than the screen: not read.
    if (services.sdl->renderer == nullptr ||
        SDL_GetRendererOutputSize(services.sdl->renderer, &outputW, &outputH) != 0 ||
        outputW != w || outputH != h) {
        return {};
    }
    std::vector<uint32_t> argb(static_cast<size_t>(w) * h);
    if (SDL_RenderReadPixels(services.sdl->renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, argb.data(),
                             w * 4) != 0) {
        return {};
    }
    for (uint32_t& pixel : argb) {
        pixel = MakeColour((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    return argb;
}

#include <SDL.h>

#include <chrono>

#include "platform/input_source.h"
#include "platform/key_codes.h"

int32_t DesktopInput::NextWindowEvent() {
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return kNoEvent;
    }
    switch (event.type) {
        case SDL_QUIT:
            return kCloseRequest;
        case SDL_WINDOWEVENT:
            return event.window.event == SDL_WINDOWEVENT_CLOSE ? kCloseRequest : kOtherEvent;
        case SDL_RENDER_DEVICE_RESET:
        case SDL_RENDER_TARGETS_RESET:
            return kDisplayReset;
        default:
            return kOtherEvent;
    }
}

void DesktopInput::ReadKeys(KeyStates& down) {
    SDL_PumpEvents();  // the state of this moment, not of the last event drain
    const Uint8* state = SDL_GetKeyboardState(nullptr);
    for (int32_t key = 0; key < 256; ++key) {
        const int32_t scancode = ScancodeOfKey(key);
        down[key] = scancode != SDL_SCANCODE_UNKNOWN ? state[scancode] : 0;
    }
}

void DesktopInput::ReadMouseMotion(int32_t& dx, int32_t& dy, bool& leftButton) {
    SDL_PumpEvents();
    int x = 0;
    int y = 0;
    const Uint32 buttons = SDL_GetRelativeMouseState(&x, &y);
    leftButton = (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
    dx = x;
    dy = y;
}

// The buttons as the last pump left them; the relative motion stays untouched.
bool DesktopInput::ReadRightButton() {
    return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_RMASK) != 0;
}

// Milliseconds since the system started (the monotonic clock's epoch on
// Linux), cut to 32 bits like any millisecond tick count.
uint32_t DesktopInput::Milliseconds() {
    auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
    return static_cast<uint32_t>(ms);
}

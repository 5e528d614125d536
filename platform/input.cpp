#include <algorithm>

#include "platform/services.h"

namespace {

bool IsKeyCode(int32_t key) {
    return key >= 0 && key < 256;
}

int32_t Clamp(int64_t value, int32_t size) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, std::max(size - 1, 0)));
}

}  // namespace

void PollKeyboard(Services& services) {
    if (services.input != nullptr) {
        services.input->ReadKeys(services.keys);
    }
}

int32_t IsKeyDown(const Services& services, int32_t key) {
    return IsKeyCode(key) ? services.keys[key] : 0;
}

// A release is reported once, and only if a snapshot saw the key down before
// this one saw it up.
int32_t WasKeyReleased(Services& services, int32_t key) {
    if (!IsKeyCode(key)) {
        return 0;
    }
    if (services.keys[key] != 0) {
        services.releaseFlags[key] = 1;
        return 0;
    }
    if (services.releaseFlags[key] != 0) {
        services.releaseFlags[key] = 0;
        return 1;
    }
    return 0;
}

// The motion is not clamped on its way in; the position is, so moving back
// from far beyond an edge starts at once.
void PollMouse(Services& services) {
    if (services.input == nullptr) {
        return;
    }
    int32_t dx = 0;
    int32_t dy = 0;
    services.input->ReadMouseMotion(dx, dy, services.leftButton);
    services.rightButton = services.input->ReadRightButton();
    services.mouseX = Clamp(int64_t{services.mouseX} + dx, services.screenWidth);
    services.mouseY = Clamp(int64_t{services.mouseY} + dy, services.screenHeight);
}

bool IsLeftButtonDown(const Services& services) {
    return services.leftButton;
}

bool IsRightButtonDown(const Services& services) {
    return services.rightButton;
}

int32_t GetMouseX(const Services& services) {
    return services.mouseX;
}

int32_t GetMouseY(const Services& services) {
    return services.mouseY;
}

void PlaceMouse(Services& services, int32_t x, int32_t y) {
    services.mouseX = x;
    services.mouseY = y;
}

uint32_t TickCount(Services& services) {
    return services.input != nullptr ? services.input->Milliseconds() : 0;
}

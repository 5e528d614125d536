#include "platform/input_source.h"

int32_t ScriptedInput::NextWindowEvent() {
    if (windowEvents.empty()) {
        return kNoEvent;
    }
    int32_t event = windowEvents.front();
    windowEvents.pop_front();
    return event;
}

void ScriptedInput::ReadKeys(KeyStates& down) {
    down = keysDown;
}

void ScriptedInput::ReadMouseMotion(int32_t& dx, int32_t& dy, bool& left) {
    left = leftButton;
    dx = mouseDx;
    dy = mouseDy;
    mouseDx = 0;
    mouseDy = 0;
}

bool ScriptedInput::ReadRightButton() {
    return rightButton;
}

uint32_t ScriptedInput::Milliseconds() {
    return clock;
}

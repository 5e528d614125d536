#pragma once

// Every key of the window and what it does, in the order the help lists
// them: the help overlay and `tumble --help` show this table, and the main
// loop acts on it. Every key acts when it is released, but for those that
// act while held (ActsWhileHeld).

#include <cstdint>
#include <span>

#include "lighting/light.h"
#include "platform/key_codes.h"
#include "render/help_overlay.h"

// What a key does. The loop runs the actions of a pass in this order, so
// that a restart comes before a drop of the same pass and the new box stays;
// a shape chosen comes before a drop, so Space drops what Tab chose in the
// same pass; the actions up to SoftOrHard change the scene and are recorded,
// and while a replay plays they are the script's, not the user's.
enum class KeyAction {
    Restart,
    ChooseShape,
    Drop,
    Drag,  // the left button, looked at every pass
    Pin,   // the right button, looked at every pass
    Gravity,
    Rest,
    FreezeOrFollow,
    DropLight,
    RemoveLight,
    NextColour,
    Resize,  // by the sum of the amounts of the keys released
    SoftOrHard,
    Pause,
    StepOnce,
    NextView,
    Help,
    Screenshot,
    Slower,
    Faster,
    StepBack,     // held: one pass a frame
    StepForward,  // held: one pass a frame
    None,         // a line of the help only
};
constexpr int32_t kKeyActions = static_cast<int32_t>(KeyAction::None);

constexpr int32_t kNoKey = -1;

struct KeyBinding {
    int32_t key;       // a scan code of set 1, or kNoKey
    const char* name;  // as the help shows it; null: the line above speaks for it
    const char* help;
    KeyAction action;
    int32_t amount = 0;  // Resize: how much the radius changes
};

inline constexpr KeyBinding kKeyTable[] = {
    {kKeySpace, "Space", "drop the shape chosen at the mouse", KeyAction::Drop},
    {kKeyTab, "Tab", "next shape: box, small, big, plank ...", KeyAction::ChooseShape},
    {kNoKey, "mouse", "move the mouse's light and the marker", KeyAction::None},
    {kNoKey, "left button", "drag a box", KeyAction::Drag},
    {kNoKey, "right button", "pin or unpin the body at the mouse", KeyAction::Pin},
    {kKeyG, "G", "gravity on or off", KeyAction::Gravity},
    {kKeyK, "K", "resting under gravity on or off", KeyAction::Rest},
    {kKeyP, "P", "pause and resume", KeyAction::Pause},
    {kKeyO, "O", "one step, while paused", KeyAction::StepOnce},
    {kKeyR, "R", "restart with an empty world", KeyAction::Restart},
    {kKeyD, "D", "view: outlines, roles, study", KeyAction::NextView},
    {kKeyF, "F", "freeze the light, or let it follow", KeyAction::FreezeOrFollow},
    {kKeyL, "L", "drop a coloured light at the mouse", KeyAction::DropLight},
    {kKeyBackspace, "Backspace", "remove the last light dropped", KeyAction::RemoveLight},
    {kKeyC, "C", "next colour for the mouse's light", KeyAction::NextColour},
    {kKeyMinus, "- and =", "shrink or grow the mouse's light", KeyAction::Resize,
     -kLightRadiusStep},
    {kKeyEquals, nullptr, nullptr, KeyAction::Resize, kLightRadiusStep},
    {kKeyS, "S", "soft shadows on or off", KeyAction::SoftOrHard},
    {kKeyH, "H or F1", "show or hide the key help", KeyAction::Help},
    {kKeyF1, nullptr, nullptr, KeyAction::Help},
    {kKeyF12, "F12", "save the frame as a PNG", KeyAction::Screenshot},
    {kKeyLeftBracket, "[ and ]", "half or twice the speed, from 1 down to 1/8", KeyAction::Slower},
    {kKeyRightBracket, nullptr, nullptr, KeyAction::Faster},
    {kKeyLeft, "Left", "back one step, while paused (hold: play backwards)", KeyAction::StepBack},
    {kKeyRight, "Right", "forward one step, while paused (hold: play on)", KeyAction::StepForward},
    {kKeyEscape, "Escape", "quit (so does the close box)", KeyAction::None},
};

// Whether the action repeats every frame while its key is held, rather than
// once on the release.
constexpr bool ActsWhileHeld(KeyAction action) {
    return action == KeyAction::StepBack || action == KeyAction::StepForward;
}

// The table's lines of help, one per named key.
std::span<const HelpLine> KeyHelpLines();

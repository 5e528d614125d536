#pragma once

// Where the services take window events, key states, mouse motion and the
// time from: the desktop (SDL and the system clock) or a test script.

#include <array>
#include <cstdint>
#include <deque>

// Window events as PollWindowEvent reports them.
constexpr int32_t kNoEvent = 0;
constexpr int32_t kOtherEvent = 1;
constexpr int32_t kCloseRequest = 16;
// Internal: the display device was reset and every texture must be made again.
// PollWindowEvent handles it and reports kOtherEvent.
constexpr int32_t kDisplayReset = -1;

// Key states by PC scan code of set 1, non-zero for a key that is down.
using KeyStates = std::array<uint8_t, 256>;

class InputSource {
   public:
    virtual ~InputSource() = default;
    // The next pending window event, or kNoEvent; never waits.
    virtual int32_t NextWindowEvent() = 0;
    virtual void ReadKeys(KeyStates& down) = 0;
    // Mouse motion since the last call, and whether the left button is down.
    virtual void ReadMouseMotion(int32_t& dx, int32_t& dy, bool& leftButton) = 0;
    // Whether the right button is down; read just after the motion.
    virtual bool ReadRightButton() = 0;
    // Milliseconds since system start, wrapping at 2^32.
    virtual uint32_t Milliseconds() = 0;
};

// The real keyboard, mouse and window events through SDL, and the monotonic
// system clock.
class DesktopInput final : public InputSource {
   public:
    int32_t NextWindowEvent() override;
    void ReadKeys(KeyStates& down) override;
    void ReadMouseMotion(int32_t& dx, int32_t& dy, bool& leftButton) override;
    bool ReadRightButton() override;
    uint32_t Milliseconds() override;
};

// A script that a test sets between passes: every keyboard snapshot sees
// `keysDown`, the next mouse poll takes the pending motion and sees the left
// button as `leftButton` says (the right as `rightButton`), and the clock
// stands still at `clock` until the test moves it.
class ScriptedInput final : public InputSource {
   public:
    std::deque<int32_t> windowEvents;  // handed out one per call, then kNoEvent
    KeyStates keysDown{};
    int32_t mouseDx = 0;
    int32_t mouseDy = 0;
    bool leftButton = false;
    bool rightButton = false;
    uint32_t clock = 0;

    void MoveMouse(int32_t dx, int32_t dy) {
        mouseDx += dx;
        mouseDy += dy;
    }

    int32_t NextWindowEvent() override;
    void ReadKeys(KeyStates& down) override;
    void ReadMouseMotion(int32_t& dx, int32_t& dy, bool& leftButton) override;
    bool ReadRightButton() override;
    uint32_t Milliseconds() override;
};

#pragma once

#include <cstdint>

// The SDL scan code (a USB usage number: Escape 41, Space 44) behind a PC
// scan code of set 1: the main keyboard block, the function keys and the
// keypad, and the extended keys (arrows, Home, the right-hand Ctrl and Alt …)
// at their code plus 128. 0, SDL's unknown key, for a code no key has.
int32_t ScancodeOfKey(int32_t key);

// Scan codes of set 1 used by the program.
constexpr int32_t kKeyEscape = 1;
constexpr int32_t kKeySpace = 57;
constexpr int32_t kKeyR = 19;
constexpr int32_t kKeyO = 24;
constexpr int32_t kKeyP = 25;
constexpr int32_t kKeyD = 32;
constexpr int32_t kKeyF = 33;
constexpr int32_t kKeyH = 35;
constexpr int32_t kKeyF1 = 59;
constexpr int32_t kKeyF12 = 88;
constexpr int32_t kKeyL = 38;
constexpr int32_t kKeyBackspace = 14;
constexpr int32_t kKeyC = 46;
constexpr int32_t kKeyMinus = 12;
constexpr int32_t kKeyEquals = 13;
constexpr int32_t kKeyS = 31;
constexpr int32_t kKeyLeft = 128 + 75;
constexpr int32_t kKeyRight = 128 + 77;
constexpr int32_t kKeyG = 34;
constexpr int32_t kKeyK = 37;
constexpr int32_t kKeyTab = 15;
constexpr int32_t kKeyLeftBracket = 26;
constexpr int32_t kKeyRightBracket = 27;

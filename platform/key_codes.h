#pragma once

#include <cstdint>

// The SDL scan code (a USB usage number: Escape 41, Space 44) behind a PC
// scan code of set 1: the main keyboard block, the function keys and the
// keypad, and the extended keys (arrows, Home, the right-hand Ctrl and Alt …)
// at their code plus 128. 0, SDL's unknown key, for a code no key has.
int32_t ScancodeOfKey(int32_t key);

#pragma once

#include <SDL_scancode.h>

#include <cstdint>

// The SDL key behind a PC scan code of set 1: the main keyboard block, the
// function keys and the keypad, and the extended keys (arrows, Home, the
// right-hand Ctrl and Alt …) at their code plus 128. SDL_SCANCODE_UNKNOWN
// for a code no key has.
SDL_Scancode ScancodeOfKey(int32_t key);
